// clsVchr driven as a front-end drives it: created through the registry and called by late
// binding, on a fresh year database.
#include <string>
#include <vector>

#include "fixture.h"
#include "orv/registry.h"

namespace orv::trade::testing {
namespace {

struct Prop {
  const char* name;
  Variant value;
};

// A row with a distinct value in every column (flags set, a quote in a text).
std::vector<Prop> FullRow() {
  return {{"V_Id", int16_t{12}},
          {"V_AccId", int16_t{101}},
          {"V_Date", Day(2008, 5, 17)},
          {"V_Amt", 1234.5},
          {"V_AmtSign", "Dr"},
          {"V_VoucherType", "Sales"},
          {"V_EntryNo", int16_t{2}},
          {"V_Remarks", "sold to O'Brien"},
          {"V_PVoucherNo", int16_t{-7}},
          {"V_PVoucherType", "Order"},
          {"V_VchPrefix", "S"},
          {"V_VchPrefix2", "A"},
          {"V_VchSuffix", "/08"},
          {"V_VchSuffix2", "B"},
          {"V_VchNo", int16_t{345}},
          {"V_StrVchNo", "S-345"},
          {"V_VchType1", "t1"},
          {"V_VchType2", "t2"},
          {"V_VchType3", "t3"},
          {"V_VchFlag", true},
          {"V_Cleared", true},
          {"V_Audit", true},
          {"V_Extra1", "e1"},
          {"V_Extra2", "e2"},
          {"V_Extra3", "e3"},
          {"V_Extra4", "e4"},
          {"V_Extra5", "e5"}};
}

class VchrTest : public TradeTest {
 protected:
  void SetUp() override {
    TradeTest::SetUp();
    row_ = CreateObject("ORVVchr.clsVchr");
  }

  void Fill(Dispatch& obj, const std::vector<Prop>& props) {
    for (const Prop& p : props) obj.Put(p.name, p.value);
  }
  // A row of voucher `id`, entry `entry`, posting `amount` with sign `sign`.
  Ref<Dispatch> Row(int16_t id, int16_t entry, double amount, const char* sign = "Dr") {
    Ref<Dispatch> r = CreateObject("ORVVchr.clsVchr");
    Fill(*r, {{"V_Id", id},
              {"V_EntryNo", entry},
              {"V_AccId", int16_t{101}},
              {"V_Date", Day(2008, 4, 1)},
              {"V_Amt", amount},
              {"V_AmtSign", sign}});
    return r;
  }
  Variant Column(int16_t id, int16_t entry, const std::string& column) {
    return Scalar("Select " + column + " from VOUCHERS_2008_2009 where V_Id=" + std::to_string(id) +
                  " And V_EntryNo=" + std::to_string(entry));
  }

  Ref<Dispatch> row_;
};

TEST_F(VchrTest, IdentityMembersAndDefaults) {
  const TypeInfo& t = row_->Type();
  EXPECT_EQ(t.class_name, "clsVchr");
  EXPECT_EQ(t.clsid, Guid::FromLiteral("{DF2700EC-1DE4-453F-8C29-097E8EFC7D95}"));
  EXPECT_EQ(t.interface_name, "_clsVchr");
  EXPECT_EQ(t.iid, Guid::FromLiteral("{CF6709E1-4B78-439C-B5FE-BF0A93045A41}"));
  EXPECT_EQ(CreateObject("{DF2700EC-1DE4-453F-8C29-097E8EFC7D95}")->Type().class_name, "clsVchr");

  std::vector<std::string_view> expected;
  for (const Prop& p : FullRow()) expected.push_back(p.name);
  expected.insert(expected.end(), {"V_AccountName", "Save", "Read"});
  std::vector<std::string_view> names;
  for (const MemberInfo& m : t.members) names.push_back(m.name);
  EXPECT_EQ(names, expected);
  EXPECT_EQ(row_->IdOfName("v_id"), 0x40030000);
  EXPECT_EQ(row_->IdOfName("V_Extra5"), 0x4003001A);
  EXPECT_EQ(row_->IdOfName("V_AccountName"), 0x68030000);
  EXPECT_EQ(row_->IdOfName("Save"), 0x60030001);
  EXPECT_EQ(row_->IdOfName("Read"), 0x60030002);

  // A new row: zero, empty text, day 0 and false, each of its property's type.
  for (const Prop& p : FullRow()) {
    const Variant v = row_->Get(p.name);
    EXPECT_EQ(v.type(), p.value.type()) << p.name;
    EXPECT_EQ(v, Variant().ConvertTo(p.value.type())) << p.name;
  }
  EXPECT_EQ(row_->Get("V_AccountName"), Variant(""));
  EXPECT_EQ(ErrorNumberOf([&] { row_->Put("V_AccountName", Variant("x")); }), err::kNoSuchMember);
}

TEST_F(VchrTest, SaveWritesEveryColumnAndReadGivesEveryPropertyBack) {
  AddAccount(101, "Ramesh Traders");
  Fill(*row_, FullRow());
  EXPECT_EQ(Save(*row_), Variant(int16_t{0}));
  for (const Prop& p : FullRow()) EXPECT_EQ(Column(12, 2, p.name), p.value) << p.name;
  EXPECT_EQ(Column(12, 2, "V_Cleared * 1"), Variant(int32_t{-1}));  // booleans are stored as -1

  Ref<Dispatch> back = CreateObject("ORVVchr.clsVchr");
  Read(*back, {Variant(int16_t{12}), Variant(int16_t{2})});
  for (const Prop& p : FullRow()) EXPECT_EQ(back->Get(p.name), p.value) << p.name;
  EXPECT_EQ(back->Get("V_AccountName"), Variant("Ramesh Traders"));
}

TEST_F(VchrTest, OnlyAPositiveAmountIsStoredWhateverTheFlag) {
  struct Case {
    double amount;
    const char* flag;
    bool stored;
  };
  const Case cases[] = {
      {100, "New", true}, {0.01, "Edit", true}, {1e-9, "", true},
      {0, "New", false},  {-5, "Edit", false},  {-0.01, "anything", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.amount << " " << c.flag);
    Exec("Delete from VOUCHERS_2008_2009");
    Save(*Row(5, 2, 40, "old"));  // the row the save replaces
    Save(*Row(5, 3, 60, "other"));
    Ref<Dispatch> r = Row(5, 2, c.amount, "new");
    EXPECT_EQ(Save(*r, c.flag), Variant(int16_t{0}));
    if (c.stored) {
      EXPECT_EQ(EntriesOf(5), (std::vector<int>{2, 3}));
      EXPECT_EQ(Column(5, 2, "V_AmtSign"), Variant("new"));
      EXPECT_EQ(Column(5, 2, "V_Amt"), Variant(c.amount));
    } else {
      EXPECT_EQ(EntriesOf(5), (std::vector<int>{3}));
    }
    // Saving it again on a missing or present key gives the same single row or none.
    Save(*r, "Edit");
    EXPECT_EQ(EntriesOf(5).size(), c.stored ? 2u : 1u);
  }
}

TEST_F(VchrTest, KeysAreMatchedExactlyIncludingNegativeIds) {
  Save(*Row(-3, 1, 10, "minus three"));
  Save(*Row(3, 1, 20, "three"));
  Save(*Row(-3, -1, 30, "minus one"));
  Save(*Row(-3, 1, 0));  // removes only (-3, 1)
  EXPECT_TRUE(EntriesOf(-3) == std::vector<int>{-1});
  EXPECT_EQ(Column(3, 1, "V_AmtSign"), Variant("three"));

  Read(*row_, {Variant(int16_t{-3}), Variant(int16_t{-1})});
  EXPECT_EQ(row_->Get("V_AmtSign"), Variant("minus one"));
  EXPECT_EQ(row_->Get("V_Id"), Variant(int16_t{-3}));
}

TEST_F(VchrTest, ReadOfAMissingKeyChangesOnlyTheKey) {
  AddAccount(101, "Ramesh Traders");
  Fill(*row_, FullRow());
  Save(*row_);
  Read(*row_, {Variant(int16_t{12}), Variant(int16_t{2})});
  row_->Put("V_Remarks", Variant("kept"));

  Read(*row_, {Variant(int16_t{12}), Variant(int16_t{9})});
  EXPECT_EQ(row_->Get("V_Id"), Variant(int16_t{12}));
  EXPECT_EQ(row_->Get("V_EntryNo"), Variant(int16_t{9}));
  EXPECT_EQ(row_->Get("V_Remarks"), Variant("kept"));
  EXPECT_EQ(row_->Get("V_Amt"), Variant(1234.5));
  EXPECT_EQ(row_->Get("V_AccountName"), Variant("Ramesh Traders"));
}

TEST_F(VchrTest, ReadModesOfTheColumns) {
  struct Case {
    const char* what;
    const char* column;
    const char* stored;  // SQL literal
    const char* property;
    Variant expected;  // when no error
    int error;
  };
  const Case cases[] = {
      {"null narration", "V_Remarks", "NULL", "V_Remarks", "", 0},
      {"null second suffix", "V_VchSuffix2", "NULL", "V_VchSuffix2", "", 0},
      {"null spare text", "V_Extra3", "NULL", "V_Extra3", "", 0},
      {"null voucher number", "V_VchNo", "NULL", "V_VchNo", int16_t{0}, 0},
      {"voucher number with text after it", "V_VchNo", "'12abc'", "V_VchNo", int16_t{12}, 0},
      {"voucher number with a half", "V_VchNo", "'2.5'", "V_VchNo", int16_t{2}, 0},
      {"voucher number that is no number", "V_VchNo", "'abc'", "V_VchNo", int16_t{0}, 0},
      {"voucher number out of range", "V_VchNo", "40000", "V_VchNo", {}, err::kOverflow},
      {"account out of range", "V_AccId", "40000", "V_AccId", {}, err::kOverflow},
      {"null sign", "V_AmtSign", "NULL", "V_AmtSign", {}, err::kInvalidUseOfNull},
      {"null date", "V_Date", "NULL", "V_Date", {}, err::kInvalidUseOfNull},
      {"null account", "V_AccId", "NULL", "V_AccId", {}, err::kInvalidUseOfNull},
      {"null related type", "V_PVoucherType", "NULL", "V_PVoucherType", {}, err::kInvalidUseOfNull},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Exec("Delete from VOUCHERS_2008_2009");
    Ref<Dispatch> r = Row(8, 1, 75);
    Fill(*r, {{"V_VoucherType", "Sales"}, {"V_PVoucherType", "Order"}, {"V_VchNo", int16_t{4}}});
    Save(*r);
    Exec("Update VOUCHERS_2008_2009 set " + std::string(c.column) + "=" + c.stored);

    Ref<Dispatch> back = CreateObject("ORVVchr.clsVchr");
    back->Put("V_VoucherType", Variant("before"));
    back->Put("V_Extra5", Variant("before"));
    const int error = ErrorNumberOf([&] {
      Read(*back, {Variant(int16_t{8}), Variant(int16_t{1})});
    });
    EXPECT_EQ(error, c.error);
    if (c.error == 0) {
      EXPECT_EQ(back->Get(c.property), c.expected);
      EXPECT_EQ(back->Get("V_Extra5"), Variant(""));
    } else {
      // The columns before the failing one are read, those after it are not.
      EXPECT_EQ(back->Get("V_Id"), Variant(int16_t{8}));
      EXPECT_EQ(back->Get("V_Extra5"), Variant("before"));
    }
  }
}

TEST_F(VchrTest, RowsOfTheVoucherComponentReadWithoutTheThreeFurtherColumns) {
  // The voucher component writes every column but V_VchSuffix2, V_Cleared and V_Audit.
  Exec(
      "Insert into VOUCHERS_2008_2009 (V_Id, V_AccId, V_Date, V_Amt, V_AmtSign, V_VoucherType, "
      "V_EntryNo, V_Remarks, V_PVoucherNo, V_PVoucherType, V_VchPrefix, V_VchPrefix2, "
      "V_VchSuffix, V_VchNo, V_StrVchNo, V_VchType1, V_VchType2, V_VchType3, V_VchFlag, "
      "V_Extra1, V_Extra2, V_Extra3, V_Extra4, V_Extra5) values (31, 101, '2008-06-30', 500, "
      "'Cr', 'Receipt', 1, 'by cheque', 0, '', 'R', '', '', 9, 'R9', '', '', '', -1, '', '', '', "
      "'', '')");
  Fill(*row_, {{"V_VchSuffix2", "old"}, {"V_Cleared", true}, {"V_Audit", true}});
  Read(*row_, {Variant(int16_t{31}), Variant(int16_t{1})});
  EXPECT_EQ(row_->Get("V_VchSuffix2"), Variant(""));
  EXPECT_EQ(row_->Get("V_Cleared"), Variant(false));
  EXPECT_EQ(row_->Get("V_Audit"), Variant(false));
  EXPECT_EQ(row_->Get("V_VchFlag"), Variant(true));
  EXPECT_EQ(row_->Get("V_Amt"), Variant(500.0));
  EXPECT_EQ(row_->Get("V_Date"), Day(2008, 6, 30));
}

TEST_F(VchrTest, AccountNameComesFromTheAccountMaster) {
  AddAccount(101, "Ramesh Traders");
  AddAccount(102, "Sales A/c");
  struct Case {
    int16_t account;
    const char* name;
  };
  for (const Case& c : {Case{102, "Sales A/c"}, Case{101, "Ramesh Traders"}, Case{999, ""}}) {
    Ref<Dispatch> r = Row(4, 1, 10);
    r->Put("V_AccId", Variant(c.account));
    Save(*r);
    Read(*row_, {Variant(int16_t{4}), Variant(int16_t{1})});
    EXPECT_EQ(row_->Get("V_AccountName"), Variant(c.name)) << c.account;
  }
}

TEST_F(VchrTest, AFailedInsertLeavesTheOldRow) {
  Save(*Row(6, 1, 80, "Dr"));
  RefuseRowsSigned("refused");
  Ref<Dispatch> r = Row(6, 1, 90, "refused");
  // The engine's own error reaches the caller.
  EXPECT_THAT(ErrorTextOf([&] { Save(*r); }), ::testing::HasSubstr("row refused"));
  EXPECT_EQ(EntriesOf(6), (std::vector<int>{1}));
  EXPECT_EQ(Column(6, 1, "V_Amt"), Variant(80.0));
  EXPECT_EQ(Column(6, 1, "V_AmtSign"), Variant("Dr"));

  // A zero amount inserts nothing, so the refusal does not matter to it.
  r->Put("V_Amt", Variant(0.0));
  EXPECT_EQ(Save(*r), Variant(int16_t{0}));
  EXPECT_TRUE(EntriesOf(6).empty());
}

TEST_F(VchrTest, ErrorsReachTheCaller) {
  Ref<Dispatch> r = Row(7, 1, 10);
  EXPECT_EQ(ErrorNumberOf([&] {
              r->Call("Save", {Variant("New"), Variant(), Variant(kY1), Variant(kY2)});
            }),
            err::kObjectNotSet);
  EXPECT_EQ(ErrorNumberOf([&] {
              r->Call("Save", {Variant("New"), Variant(CreateObject("ORVVchr.clsVchr")),
                               Variant(kY1), Variant(kY2)});
            }),
            err::kTypeMismatch);
  // A year without tables.
  EXPECT_EQ(
      ErrorNumberOf([&] {
        r->Call("Save", {Variant("New"), cn_, Variant(int16_t{2010}), Variant(int16_t{2011})});
      }),
      err::kDatabaseError);
  EXPECT_EQ(ErrorNumberOf([&] {
              r->Call("Read", {Variant(int16_t{7}), Variant(int16_t{1}), cn_,
                               Variant(int16_t{2010}), Variant(int16_t{2011})});
            }),
            err::kDatabaseError);
  EXPECT_EQ(
      ErrorNumberOf([&] {
        r->Call("Read", {Variant(40000.0), Variant(int16_t{1}), cn_, Variant(kY1), Variant(kY2)});
      }),
      err::kOverflow);
  EXPECT_EQ(ErrorNumberOf([&] {
              r->Call("Save", {Variant("New"), cn_});
            }),
            err::kWrongArgumentCount);
}

}  // namespace
}  // namespace orv::trade::testing
