#include "orv/db/recordset.h"

#include "orv/db/read_mode.h"
#include "orv/db/record.h"
#include "orv/db/unit.h"
#include "test_support.h"

namespace orv::db::testing {
namespace {

using RecordsetTest = YearDatabaseTest;

constexpr const char* kVouchers = "Select * from VOUCHERS_2008_2009";

void AddVoucherRow(const Variant& cn, int16_t id, int16_t entry, const Variant& remarks) {
  Recordset rs;
  rs.Open(kVouchers, cn);
  rs.AddNew();
  rs.SetField("V_Id", Variant(id));
  rs.SetField("V_AccId", Variant(int16_t{14}));
  rs.SetField("V_Date", Variant(MakeDate({2008, 10, 27, 16, 45, 30})));
  rs.SetField("V_Amt", Variant(0.01));
  rs.SetField("V_AmtSign", Variant("Dr"));
  rs.SetField("V_EntryNo", Variant(entry));
  rs.SetField("V_Remarks", remarks);
  rs.SetField("V_VchFlag", Variant(true));
  rs.Update();
}

TEST_F(RecordsetTest, AddedRowReadsBackWithItsTypes) {
  static constexpr char kRemarks[] = "O'Brien; -- \"x\"\r\n\0end \xe0\xa4\xac";
  const std::string remarks(kRemarks, sizeof kRemarks - 1);  // the NUL inside is kept
  AddVoucherRow(cn_, 22, 1, Variant(remarks));
  Recordset rs;
  rs.Open("Select * from vouchers_2008_2009 where V_Id=22 and V_EntryNo=1", cn_);
  ASSERT_FALSE(rs.Eof());
  EXPECT_EQ(rs.Field("V_Id"), Variant(int16_t{22}));
  EXPECT_EQ(rs.Field("v_amt"), Variant(0.01));
  EXPECT_EQ(rs.Field("V_Remarks").text(), remarks);
  EXPECT_EQ(rs.Field("V_Date").type(), VarType::Date);
  EXPECT_EQ(FormatDate(rs.Field("V_Date").ToDate()), "2008-10-27 16:45:30");
  EXPECT_EQ(rs.Field("V_VchFlag"), Variant(true));
  // Flags left out of the insert hold false, never Null; texts left out are Null.
  EXPECT_EQ(rs.Field("V_Cleared"), Variant(false));
  EXPECT_TRUE(rs.Field("V_VchSuffix2").IsNull());
  EXPECT_EQ(Scalar("Select V_VchFlag from VOUCHERS_2008_2009").ToInt32(), -1);
  EXPECT_EQ(Scalar("Select V_Date from VOUCHERS_2008_2009 where V_Id=22").ToText(),
            "2008-10-27 16:45:30");
}

TEST_F(RecordsetTest, KeyedEditChangesOnlyTheRowRead) {
  AddVoucherRow(cn_, 1, 1, Variant("a"));
  AddVoucherRow(cn_, 1, 2, Variant("b"));
  {
    Recordset rs;
    rs.Open("Select * from VOUCHERS_2008_2009 where V_Id=1 and V_EntryNo=2", cn_);
    rs.SetField("V_Remarks", Variant("changed"));
    EXPECT_EQ(rs.Field("V_Remarks"), Variant("changed"));
    rs.Update();
  }
  EXPECT_EQ(Scalar("Select V_Remarks from VOUCHERS_2008_2009 where V_EntryNo=1"), Variant("a"));
  EXPECT_EQ(Scalar("Select V_Remarks from VOUCHERS_2008_2009 where V_EntryNo=2"),
            Variant("changed"));
}

TEST_F(RecordsetTest, NoCurrentRowAndUnknownColumnsAreErrors) {
  Recordset rs;
  rs.Open("Select * from ACC_MASTER_2008_2009 where AM_AccId=5", cn_);
  EXPECT_TRUE(rs.Eof());
  EXPECT_EQ(ErrorNumberOf([&] { rs.SetField("AM_AccId", Variant(int16_t{5})); }),
            err::kNoCurrentRecord);
  EXPECT_EQ(ErrorNumberOf([&] { rs.Field("AM_AccName"); }), err::kNoCurrentRecord);
  EXPECT_EQ(ErrorNumberOf([&] { rs.MoveNext(); }), err::kNoCurrentRecord);
  EXPECT_EQ(ErrorNumberOf([&] { rs.Field("AM_Nope"); }), err::kItemNotFound);
  Recordset empty;
  EXPECT_EQ(ErrorNumberOf([&] { empty.Open("", cn_); }), err::kInvalidArgument);
  EXPECT_EQ(ErrorNumberOf([&] { empty.RecordCount(); }), err::kObjectClosed);
  EXPECT_EQ(ErrorNumberOf([&] { empty.Open("Select * from NOPE_2008_2009", cn_); }),
            err::kDatabaseError);
}

TEST_F(RecordsetTest, CountsScalarsAndSums) {
  for (int16_t i = 1; i <= 3; ++i) AddVoucherRow(cn_, i, 1, Variant("x"));
  Recordset rs;
  rs.Open("Select * from VOUCHERS_2008_2009 where V_Id>=2", cn_);
  EXPECT_EQ(rs.RecordCount(), 2);
  int seen = 0;
  while (!rs.Eof()) {
    ++seen;
    rs.MoveNext();
  }
  EXPECT_EQ(seen, 2);
  EXPECT_EQ(Scalar("Select count(*) from VOUCHERS_2008_2009"), Variant(int32_t{3}));
  EXPECT_DOUBLE_EQ(Scalar("Select SUM(V_Amt) from VOUCHERS_2008_2009").ToDouble(), 0.03);
  EXPECT_TRUE(Scalar("Select SUM(V_Amt) from VOUCHERS_2008_2009 where V_Id>9").IsNull());
}

TEST_F(RecordsetTest, TypesAreCheckedWhenWritten) {
  Recordset rs;
  rs.Open(kVouchers, cn_);
  rs.AddNew();
  EXPECT_EQ(ErrorNumberOf([&] {
              rs.SetField("V_Id", Variant(int32_t{40000}));
              rs.Update();
            }),
            err::kOverflow);
  EXPECT_EQ(Scalar("Select count(*) from VOUCHERS_2008_2009").ToInt32(), 0);
}

TEST_F(RecordsetTest, DuplicateKeyIsRefusedAndAUnitLeavesNothing) {
  AddVoucherRow(cn_, 7, 1, Variant("first"));
  EXPECT_EQ(ErrorNumberOf([&] {
              WriteUnit unit(cn_);
              conn_->Execute("Delete from VOUCHERS_2008_2009 where V_Id=7");
              AddVoucherRow(cn_, 8, 1, Variant("other"));
              AddVoucherRow(cn_, 8, 1, Variant("duplicate"));
              unit.Commit();
            }),
            3022);
  EXPECT_EQ(Scalar("Select V_Remarks from VOUCHERS_2008_2009"), Variant("first"));
  EXPECT_EQ(Scalar("Select count(*) from VOUCHERS_2008_2009").ToInt32(), 1);
}

TEST_F(RecordsetTest, StatementsDifferingOnlyInKeysShareACachedPreparation) {
  for (int16_t i = 1; i <= 50; ++i) AddVoucherRow(cn_, i, 1, Variant(std::to_string(i)));
  for (int16_t i = 1; i <= 50; ++i) {
    Recordset rs;
    rs.Open("Select * from VOUCHERS_2008_2009 where V_Id=" + std::to_string(i) +
                " and V_Remarks='" + std::to_string(i) + "'",
            cn_);
    ASSERT_FALSE(rs.Eof());
    EXPECT_EQ(rs.Field("V_Id").ToInt16(), i);
  }
}

TEST(ReadModes, ConvertColumnValues) {
  struct Case {
    Variant in;
    ReadMode mode;
    VarType type;
    Variant out;
    int error;
  };
  const Case cases[] = {
      {Variant(int16_t{5}), ReadMode::kStrict, VarType::Text, Variant("5"), 0},
      {Variant(2.5), ReadMode::kStrict, VarType::Int16, Variant(int16_t{2}), 0},
      {Variant(int32_t{2}), ReadMode::kStrict, VarType::Bool, Variant(true), 0},
      {Variant::MakeNull(), ReadMode::kStrict, VarType::Text, Variant(), err::kInvalidUseOfNull},
      {Variant(int32_t{32768}), ReadMode::kStrict, VarType::Int16, Variant(), err::kOverflow},
      {Variant::MakeNull(), ReadMode::kNullTolerant, VarType::Text, Variant(""), 0},
      {Variant(1.5), ReadMode::kNullTolerant, VarType::Text, Variant("1.5"), 0},
      {Variant::MakeNull(), ReadMode::kNumeric, VarType::Double, Variant(0.0), 0},
      {Variant("12abc"), ReadMode::kNumeric, VarType::Double, Variant(12.0), 0},
      {Variant("3.5"), ReadMode::kNumeric, VarType::Int16, Variant(int16_t{4}), 0},
      {Variant("40000"), ReadMode::kNumeric, VarType::Int16, Variant(), err::kOverflow},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in.JoinText());
    if (c.error)
      EXPECT_EQ(ErrorNumberOf([&] { ReadAs(c.in, c.mode, c.type); }), c.error);
    else
      EXPECT_EQ(ReadAs(c.in, c.mode, c.type), c.out);
  }
}

}  // namespace
}  // namespace orv::db::testing
