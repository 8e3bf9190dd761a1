// clsVoucher driven as a front-end drives it: created through the registry and called by late
// binding on a fresh year database. Read asks the account master (ORVMasters, loaded by the
// registry on demand) for the account's name.
#include <unistd.h>

#include <fstream>

#include "fixture.h"
#include "orv/db/recordset.h"
#include "orv/registry.h"

namespace orv::vouchers::testing {
namespace {

// Values for every stored property of a row, each different from its default.
struct PropertyValue {
  const char* name;
  Variant value;
};
std::vector<PropertyValue> SampleRow(int16_t id, int16_t entry) {
  return {
      {"V_Id", Variant(id)},
      {"V_AccId", Variant(int16_t{101})},
      {"V_Date", Variant(MakeDate({2008, 6, 15}))},
      {"V_Amt", Variant(1234.56)},
      {"V_AmtSign", Variant("Dr")},
      {"V_VoucherType", Variant("Receipt")},
      {"V_EntryNo", Variant(entry)},
      {"V_Remarks", Variant("cheque 'A-17'")},
      {"V_PVoucherNo", Variant(int16_t{-12})},
      {"V_PVoucherType", Variant("Sales")},
      {"V_VchPrefix", Variant("R/")},
      {"V_VchPrefix2", Variant("08")},
      {"V_VchSuffix", Variant("/A")},
      {"V_VchNo", Variant(int16_t{317})},
      {"V_StrVchNo", Variant("R/08/317/A")},
      {"V_VchType1", Variant("t1")},
      {"V_VchType2", Variant("t2")},
      {"V_VchType3", Variant("t3")},
      {"V_VchFlag", Variant(true)},
      {"V_Extra1", Variant("e1")},
      {"V_Extra2", Variant("e2")},
      {"V_Extra3", Variant("e3")},
      {"V_Extra4", Variant("e4")},
      {"V_Extra5", Variant("e5")},
  };
}

Ref<Dispatch> RowWith(const std::vector<PropertyValue>& values) {
  Ref<Dispatch> v = CreateObject("ORVVouchers.clsVoucher");
  for (const auto& [name, value] : values) v->Put(name, value);
  return v;
}

TEST(VoucherClass, IdentityAndInterfaceOrder) {
  Ref<Dispatch> v = CreateObject("{A10982FC-61F1-4C4B-863F-FFB2112009BE}");
  const TypeInfo& t = v->Type();
  EXPECT_EQ(t.class_name, "clsVoucher");
  EXPECT_EQ(t.interface_name, "_clsVoucher");
  EXPECT_EQ(t.iid.ToString(), "{EA414491-0941-4AD7-B50E-7A7DA4D322F8}");
  EXPECT_EQ(CreateObject("ORVVouchers.clsVoucher")->Type().clsid, t.clsid);

  std::vector<std::string> expected;
  for (const auto& p : SampleRow(0, 0)) expected.emplace_back(p.name);
  expected.insert(expected.end(), {"V_AccountName", "Save", "Read"});
  EXPECT_EQ(MemberNames(*v), expected);
  EXPECT_EQ(v->IdOfName("v_id"), 0x40030000);
  EXPECT_EQ(v->IdOfName("V_Extra5"), 0x40030017);
  EXPECT_EQ(v->IdOfName("V_AccountName"), 0x68030000);
  EXPECT_EQ(v->IdOfName("Save"), 0x60030001);
  EXPECT_EQ(v->IdOfName("Read"), 0x60030002);
}

TEST(VoucherClass, NewRowHoldsDefaultsAndPutsStoreValuesAsTheirType) {
  Ref<Dispatch> v = CreateObject("ORVVouchers.clsVoucher");
  EXPECT_EQ(v->Get("V_Id"), Variant(int16_t{0}));
  EXPECT_EQ(v->Get("V_Amt"), Variant(0.0));
  EXPECT_EQ(v->Get("V_Date"), Variant(Date{0}));
  EXPECT_EQ(v->Get("V_VchFlag"), Variant(false));
  EXPECT_EQ(v->Get("V_Remarks"), Variant(""));
  EXPECT_EQ(v->Get("V_AccountName"), Variant(""));

  v->Put("V_AccId", Variant(int32_t{42}));
  EXPECT_EQ(v->Get("V_AccId"), Variant(int16_t{42}));
  EXPECT_EQ(ErrorNumberOf([&] { v->Put("V_AccId", Variant(int32_t{40000})); }), err::kOverflow);
  EXPECT_EQ(ErrorNumberOf([&] { v->Put("V_AccountName", Variant("x")); }), err::kNoSuchMember);
  EXPECT_EQ(v->Get("V_AccountName"), Variant(""));
}

TEST_F(VoucherTest, SaveReplacesTheRowWhateverTheFlagAndReturnsZero) {
  const char* flags[] = {"New", "Edit", "anything", ""};
  int16_t id = 1;
  for (const char* flag : flags) {
    SCOPED_TRACE(flag);
    Ref<Dispatch> v = RowWith(SampleRow(id, 2));
    // A missing key is inserted, an existing one replaced, under every flag.
    EXPECT_EQ(Save(*v, flag), Variant(int16_t{0}));
    v->Put("V_Amt", Variant(99.5));
    EXPECT_EQ(Save(*v, flag), Variant(int16_t{0}));
    const auto rows = Rows("Select V_Amt from " + kVouchers + " where V_Id=" + std::to_string(id));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], Variant(99.5));
    ++id;
  }
  // Rows of other keys, including other entries of the same voucher, are untouched.
  RowWith(SampleRow(1, 3))->Call("Save", {Variant("New"), cn_, Variant(kY1), Variant(kY2)});
  EXPECT_EQ(VoucherRowCount(), 5);
}

TEST_F(VoucherTest, SaveWritesEveryColumnAsItsType) {
  Save(*RowWith(SampleRow(-7, -1)));  // negative keys go into the statements with their sign
  db::Recordset rs;
  rs.Open("Select * from " + kVouchers + " where V_Id=-7 And V_EntryNo=-1", cn_);
  ASSERT_FALSE(rs.Eof());
  for (const auto& [name, value] : SampleRow(-7, -1)) EXPECT_EQ(rs.Field(name), value) << name;
  // The columns this class does not name hold what an insert leaves there.
  EXPECT_EQ(rs.Field("V_Cleared"), Variant(false));
  EXPECT_EQ(rs.Field("V_Audit"), Variant(false));
  EXPECT_TRUE(rs.Field("V_VchSuffix2").IsNull());
  rs.MoveNext();
  EXPECT_TRUE(rs.Eof());
  rs.Close();

  // A row the trade voucher row wrote, with its three further columns set, is replaced by a
  // row in which they hold what an insert leaves there.
  Exec("Delete from " + kVouchers);
  Exec("Insert into " + kVouchers +
       " (V_Id, V_EntryNo, V_VchSuffix2, V_Cleared, V_Audit) values (-7, -1, 'T', -1, -1)");
  Save(*RowWith(SampleRow(-7, -1)));
  const auto rows =
      Rows("Select V_VchSuffix2, V_Cleared, V_Audit, V_Amt from " + kVouchers + " where V_Id=-7");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_TRUE(rows[0][0].IsNull());
  EXPECT_EQ(rows[0][1], Variant(false));
  EXPECT_EQ(rows[0][2], Variant(false));
  EXPECT_EQ(rows[0][3], Variant(1234.56));
  EXPECT_EQ(Scalar("Select V_VchFlag + 0 from " + kVouchers), Variant(int32_t{-1}));
}

// The mended fault: the delete and the insert are one unit, so a failing insert leaves the
// row it was to replace.
TEST_F(VoucherTest, FailedInsertLeavesTheRowItWasToReplace) {
  Ref<Dispatch> v = RowWith(SampleRow(3, 1));
  Save(*v);
  RefuseRowsSignedRefuse();
  v->Put("V_AmtSign", Variant("refuse"));
  v->Put("V_Amt", Variant(1.0));
  EXPECT_EQ(ErrorNumberOf([&] { Save(*v); }), kRowRefused);
  EXPECT_EQ(Scalar("Select V_Amt from " + kVouchers + " where V_Id=3"), Variant(1234.56));

  // Inside a caller's transaction only the failing save is undone.
  Ref<Dispatch> trans = AsDispatch(cn_);
  trans->Call("BeginTrans", {});
  Save(*RowWith(SampleRow(4, 1)));
  EXPECT_EQ(ErrorNumberOf([&] { Save(*v); }), kRowRefused);
  trans->Call("CommitTrans", {});
  EXPECT_EQ(VoucherRowCount(), 2);
  EXPECT_EQ(Scalar("Select V_AmtSign from " + kVouchers + " where V_Id=3"), Variant("Dr"));
}

TEST_F(VoucherTest, SaveOnAConnectionThatIsNotOpenFails) {
  Ref<Dispatch> v = RowWith(SampleRow(1, 1));
  Variant closed(db::NewConnection());
  EXPECT_EQ(ErrorNumberOf([&] {
              v->Call("Save", {Variant("New"), closed, Variant(kY1), Variant(kY2)});
            }),
            err::kConnectionNotUsable);
  EXPECT_EQ(ErrorNumberOf([&] {
              v->Call("Save", {Variant("New"), Variant(), Variant(kY1), Variant(kY2)});
            }),
            err::kObjectNotSet);
  // Another year's table does not exist in this year's database.
  EXPECT_EQ(
      ErrorNumberOf([&] {
        v->Call("Save", {Variant("New"), cn_, Variant(int16_t{2009}), Variant(int16_t{2010})});
      }),
      err::kDatabaseError);
  EXPECT_EQ(VoucherRowCount(), 0);
}

TEST_F(VoucherTest, ReadLoadsEveryPropertyAndTheAccountName) {
  AddAccount(101, "Cash in hand");
  Save(*RowWith(SampleRow(-7, 2)));
  Ref<Dispatch> back = New("clsVoucher");
  ReadRow(*back, -7, 2);
  for (const auto& [name, value] : SampleRow(-7, 2)) EXPECT_EQ(back->Get(name), value) << name;
  EXPECT_EQ(back->Get("V_AccountName"), Variant("Cash in hand"));

  // An account id that names no account gives an empty name.
  auto row = SampleRow(8, 1);
  row[1].value = Variant(int16_t{555});
  Save(*RowWith(row));
  ReadRow(*back, 8, 1);
  EXPECT_EQ(back->Get("V_AccId"), Variant(int16_t{555}));
  EXPECT_EQ(back->Get("V_AccountName"), Variant(""));
}

TEST_F(VoucherTest, ReadOfAMissingKeyChangesOnlyTheKey) {
  AddAccount(101, "Cash in hand");
  Save(*RowWith(SampleRow(1, 1)));
  Ref<Dispatch> v = New("clsVoucher");
  ReadRow(*v, 1, 1);
  ReadRow(*v, 1, 9);
  EXPECT_EQ(v->Get("V_Id"), Variant(int16_t{1}));
  EXPECT_EQ(v->Get("V_EntryNo"), Variant(int16_t{9}));
  for (const auto& [name, value] : SampleRow(1, 9)) EXPECT_EQ(v->Get(name), value) << name;
  EXPECT_EQ(v->Get("V_AccountName"), Variant("Cash in hand"));
}

TEST_F(VoucherTest, ReadConvertsEachColumnByItsReadMode) {
  struct Case {
    const char* set;  // the column changed in the stored row
    const char* property;
    Variant expected;
    int error = 0;
  };
  const Case cases[] = {
      {"V_Remarks=NULL", "V_Remarks", Variant("")},
      {"V_Extra4=NULL", "V_Extra4", Variant("")},
      {"V_StrVchNo=NULL", "V_StrVchNo", Variant("")},
      {"V_VchNo=NULL", "V_VchNo", Variant(int16_t{0})},
      {"V_VchNo='12.5'", "V_VchNo", Variant(int16_t{12})},
      {"V_VchNo='13.5'", "V_VchNo", Variant(int16_t{14})},
      {"V_VchNo=' 42 of 50'", "V_VchNo", Variant(int16_t{42})},
      {"V_VchNo='none'", "V_VchNo", Variant(int16_t{0})},
      {"V_VchNo=40000", "V_VchNo", Variant(), err::kOverflow},
      {"V_AccId=40000", "V_AccId", Variant(), err::kOverflow},
      {"V_AmtSign=NULL", "V_AmtSign", Variant(), err::kInvalidUseOfNull},
      {"V_Date=NULL", "V_Date", Variant(), err::kInvalidUseOfNull},
      {"V_PVoucherType=NULL", "V_PVoucherType", Variant(), err::kInvalidUseOfNull},
      {"V_Amt=NULL", "V_Amt", Variant(), err::kInvalidUseOfNull},
  };
  AddAccount(101, "Cash in hand");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.set);
    Save(*RowWith(SampleRow(1, 1)));
    Exec("Update " + kVouchers + " set " + c.set + " where V_Id=1");
    Ref<Dispatch> v = New("clsVoucher");
    const int error = ErrorNumberOf([&] { ReadRow(*v, 1, 1); });
    EXPECT_EQ(error, c.error);
    if (!c.error) {
      EXPECT_EQ(v->Get(c.property), c.expected);
      EXPECT_EQ(v->Get("V_AccountName"), Variant("Cash in hand"));
    } else {
      // The read stops at the failing column; the name is never looked up.
      EXPECT_EQ(v->Get(c.property), New("clsVoucher")->Get(c.property));
      EXPECT_EQ(v->Get("V_AccountName"), Variant(""));
    }
  }
}

TEST_F(VoucherTest, InterruptedReadKeepsThePropertiesAssignedBeforeTheFailingColumn) {
  Save(*RowWith(SampleRow(1, 1)));
  Exec("Update " + kVouchers + " set V_AmtSign=NULL where V_Id=1");
  Ref<Dispatch> v = New("clsVoucher");
  EXPECT_EQ(ErrorNumberOf([&] { ReadRow(*v, 1, 1); }), err::kInvalidUseOfNull);
  EXPECT_EQ(v->Get("V_AccId"), Variant(int16_t{101}));
  EXPECT_EQ(v->Get("V_Amt"), Variant(1234.56));
  EXPECT_EQ(v->Get("V_VoucherType"), Variant(""));
  EXPECT_EQ(v->Get("V_Extra5"), Variant(""));
}

// Without the account master Read fails at its first step and changes nothing. Run in a fresh
// process (the death-test child) whose registry lacks ORVMasters, so that no earlier test has
// loaded it already.
void ReadWithoutAccountMaster(const Variant& cn) {
  const auto file = std::filesystem::path(Registry::Instance().File());
  const auto without =
      file.parent_path() / ("registry-without-masters-" + std::to_string(getpid()) + ".txt");
  {
    std::ifstream in(file);
    std::ofstream out(without);
    for (std::string line; std::getline(in, line);)
      if (line.find("ORVMasters") == std::string::npos) out << line << "\n";
  }
  Registry::Instance().SetFile(without);
  Ref<Dispatch> v = CreateObject("ORVVouchers.clsVoucher");
  v->Put("V_Id", Variant(int16_t{3}));
  const int error = ErrorNumberOf([&] {
    v->Call("Read", {Variant(int16_t{1}), Variant(int16_t{1}), cn, Variant(kY1), Variant(kY2)});
  });
  std::filesystem::remove(without);
  const bool ok = error == err::kCannotCreateObject && v->Get("V_Id") == Variant(int16_t{3}) &&
                  v->Get("V_AccId") == Variant(int16_t{0});
  std::exit(ok ? 0 : 1);
}

TEST_F(VoucherTest, ReadWithoutTheAccountMasterFailsBeforeChangingAnything) {
  Save(*RowWith(SampleRow(1, 1)));
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(ReadWithoutAccountMaster(cn_), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace orv::vouchers::testing
