// clsAccount's Save, Read and Delete and its AD property, driven by late binding on a fresh
// year database.
#include <array>

#include "fixture.h"
#include "orv/db/recordset.h"

namespace orv::masters::testing {
namespace {

constexpr const char* kMaster = "ACC_MASTER_2008_2009";
constexpr const char* kDetails = "ACC_DETAILS_2008_2009";
constexpr const char* kBalance = "ACC_BALANCE_2008_2009";

class AccountTest : public MastersTest {
 protected:
  // The rows of the three account tables: all of them, or those of one account.
  std::array<int64_t, 3> Rows() { return {Count(kMaster), Count(kDetails), Count(kBalance)}; }
  std::array<int64_t, 3> RowsOf(int16_t id) {
    const std::string key = std::to_string(id);
    return {Count(std::string(kMaster) + " where AM_AccId=" + key),
            Count(std::string(kDetails) + " where AD_AccId=" + key),
            Count(std::string(kBalance) + " where AB_AccId=" + key)};
  }
  // A group row written directly, with the level and type its members inherit.
  void InsertGroup(int16_t id, int16_t level, const std::string& type) {
    Exec(std::string("Insert into ") + kMaster +
         " (AM_AccId, AM_AccName, AM_GrpFlag, AM_GrpNo, AM_LevelNo, AM_AccType) values (" +
         std::to_string(id) + ", 'Group " + std::to_string(id) + "', 'G', 0, " +
         std::to_string(level) + ", '" + type + "')");
  }
  Variant Column(const std::string& column, int16_t id) {
    return Scalar("Select " + column + " from " + kMaster +
                  " where AM_AccId=" + std::to_string(id));
  }
  Variant Save(Dispatch& a, const char* flag, int16_t id) {
    return CallWithYear(a, "Save", {Variant(flag), Variant(id)});
  }
};

TEST_F(AccountTest, InterfaceOrderAndDispatchIds) {
  const std::pair<const char*, DispId> expected[] = {
      {"AccountId", 0x6803000B},
      {"AccountName", 0x6803000A},
      {"AccountAlias", 0x68030009},
      {"AccountType", 0x68030008},
      {"OpeningBalance", 0x68030007},
      {"OpeningBalanceSign", 0x68030006},
      {"GroupFlag", 0x68030005},
      {"GroupNo", 0x68030004},
      {"LevelNo", 0x68030003},
      {"ClosingBalance", 0x68030002},
      {"ClosingBalanceSign", 0x68030001},
      {"AD", 0x68030000},
      {"Get_Accounts_With_Id", 0x6003000C},
      {"Save", 0x6003000D},
      {"Read", 0x6003000E},
      {"Get_OpeningBalSign", 0x60030011},
      {"Get_AccountName", 0x60030012},
      {"Get_AccountSum", 0x60030013},
      {"Get_Accounts_With_Details", 0x60030015},
      {"Delete", 0x60030016},
  };
  const TypeInfo& t = NewAccount()->Type();
  ASSERT_EQ(t.members.size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(t.members[i].name, expected[i].first);
    EXPECT_EQ(t.members[i].id, expected[i].second) << expected[i].first;
  }
  // A new account: empty texts and zeros, and a details object of its own.
  Ref<Dispatch> a = NewAccount();
  EXPECT_EQ(a->Get("AccountName"), Variant(""));
  EXPECT_EQ(a->Get("GroupNo"), Variant(int16_t{0}));
  EXPECT_EQ(a->Get("OpeningBalance"), Variant(0.0));
  EXPECT_EQ(AsDispatch(a->Get("AD"))->Type().class_name, "clsAccountDetails");
}

TEST_F(AccountTest, NewAccountTakesLevelAndTypeFromItsGroupAndGetsTwelveMonths) {
  InsertGroup(7, 2, "X");
  Ref<Dispatch> a = NewAccount();
  a->Put("AccountId", Variant(int16_t{15}));
  a->Put("AccountName", Variant("Ramesh & Sons"));
  a->Put("AccountAlias", Variant("RS"));
  a->Put("AccountType", Variant("ignored"));
  a->Put("OpeningBalance", Variant(1250.75));
  a->Put("OpeningBalanceSign", Variant("Dr"));
  a->Put("GroupFlag", Variant("L"));
  a->Put("GroupNo", Variant(int16_t{7}));
  a->Put("LevelNo", Variant(int16_t{9}));
  a->Put("ClosingBalance", Variant(99.5));
  a->Put("ClosingBalanceSign", Variant("Cr"));
  AsDispatch(a->Get("AD"))->Put("AccountId", Variant(int16_t{15}));

  EXPECT_TRUE(Save(*a, "New", 15).IsEmpty());

  EXPECT_EQ(Column("AM_AccName", 15), Variant("Ramesh & Sons"));
  EXPECT_EQ(Column("AM_Alias", 15), Variant("RS"));
  EXPECT_EQ(Column("AM_OpeningBal", 15), Variant(1250.75));
  EXPECT_EQ(Column("AM_OpeningBalSign", 15), Variant("Dr"));
  EXPECT_EQ(Column("AM_GrpFlag", 15), Variant("L"));
  EXPECT_EQ(Column("AM_GrpNo", 15), Variant(int16_t{7}));
  EXPECT_EQ(Column("AM_LevelNo", 15), Variant(int16_t{3}));
  EXPECT_EQ(Column("AM_AccType", 15), Variant("X"));
  EXPECT_EQ(Column("AM_ClosingBal", 15), Variant(99.5));
  EXPECT_EQ(Column("AM_ClosingBalSign", 15), Variant("Cr"));
  // The object keeps what the caller put into the two derived properties.
  EXPECT_EQ(a->Get("LevelNo"), Variant(int16_t{9}));
  EXPECT_EQ(a->Get("AccountType"), Variant("ignored"));
  EXPECT_EQ(RowsOf(15), (std::array<int64_t, 3>{1, 1, 12}));

  // The twelve months of the fiscal year, April 2008 to March 2009, in insertion order.
  std::vector<std::string> months;
  {
    db::Recordset rs;
    rs.Open(std::string("Select * from ") + kBalance + " where AB_AccId=15 order by rowid", cn_);
    for (; !rs.Eof(); rs.MoveNext()) {
      months.push_back(rs.Field(1).ToText());
      EXPECT_EQ(rs.Field(2).ToDouble(), 0);
      EXPECT_EQ(rs.Field(3).ToDouble(), 0);
    }
  }
  EXPECT_EQ(months,
            (std::vector<std::string>{"200804", "200805", "200806", "200807", "200808", "200809",
                                      "200810", "200811", "200812", "200901", "200902", "200903"}));
}

TEST_F(AccountTest, AccountOutsideAnyGroupIsLevelOneWithoutType) {
  SaveNew(1, "Capital", "G", 0);
  SaveNew(2, "Drawings", "L", 99);  // group 99 does not exist
  EXPECT_EQ(Column("AM_LevelNo", 1), Variant(int16_t{1}));
  EXPECT_EQ(Column("AM_AccType", 1), Variant(""));
  EXPECT_EQ(Column("AM_LevelNo", 2), Variant(int16_t{1}));
  SaveNew(3, "Partner A", "L", 1);
  EXPECT_EQ(Column("AM_LevelNo", 3), Variant(int16_t{2}));
}

TEST_F(AccountTest, EditRewritesBothRowsAndLeavesTheMonthsAlone) {
  InsertGroup(7, 4, "Y");
  Ref<Dispatch> a = SaveNew(15, "Old name", "L", 0);
  Exec(std::string("Update ") + kBalance + " set AB_Dr=5 where AB_AccId=15 and AB_Month='200901'");
  a->Put("AccountName", Variant("New name"));
  a->Put("GroupNo", Variant(int16_t{7}));
  AsDispatch(a->Get("AD"))->Put("Email", Variant("new@example.com"));
  Save(*a, "Edit", 15);
  EXPECT_EQ(Column("AM_AccName", 15), Variant("New name"));
  EXPECT_EQ(Column("AM_LevelNo", 15), Variant(int16_t{5}));
  EXPECT_EQ(Column("AM_AccType", 15), Variant("Y"));
  EXPECT_EQ(Scalar(std::string("Select AD_Email from ") + kDetails + " where AD_AccId=15"),
            Variant("new@example.com"));
  EXPECT_EQ(RowsOf(15), (std::array<int64_t, 3>{1, 1, 12}));
  EXPECT_EQ(Scalar(std::string("Select AB_Dr from ") + kBalance +
                   " where AB_AccId=15 and AB_Month='200901'"),
            Variant(5.0));

  // "Edit" writes AccountId, not the id it was called with: the row found is re-keyed.
  a->Put("AccountId", Variant(int16_t{16}));
  Save(*a, "Edit", 15);
  EXPECT_EQ(RowsOf(15)[0], 0);
  EXPECT_EQ(Column("AM_AccName", 16), Variant("New name"));
}

// Every refused or failing Save leaves all three tables exactly as they were, and the caller
// gets the error of the step that failed.
TEST_F(AccountTest, FailingSaveWritesNothing) {
  InsertGroup(7, 2, "X");
  InsertGroup(8, 32767, "X");
  SaveNew(20, "Existing", "L", 7);
  Exec(std::string("Insert into ") + kDetails + " (AD_AccId) values (31)");  // a stray details row
  Exec(std::string("Insert into ") + kBalance + " values (32, '200812', 0, 0)");  // a stray month
  struct Case {
    const char* what;
    const char* flag;
    int16_t id;  // AccountId and the id Save is called with
    int16_t group;
    int error;
  };
  const Case cases[] = {
      {"flag in lower case", "new", 30, 7, err::kInvalidArgument},
      {"empty flag", "", 30, 7, err::kInvalidArgument},
      {"edit of a missing id", "Edit", 30, 7, err::kNoCurrentRecord},
      {"group at the deepest level", "New", 30, 8, err::kOverflow},
      {"duplicate account id", "New", 20, 7, 3022},
      {"details row already there", "New", 31, 7, 3022},
      {"ninth month already there", "New", 32, 7, 3022},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto before = Rows();
    Ref<Dispatch> a = NewAccount();
    a->Put("AccountId", Variant(c.id));
    a->Put("AccountName", Variant("Fails"));
    a->Put("GroupNo", Variant(c.group));
    AsDispatch(a->Get("AD"))->Put("AccountId", Variant(c.id));
    EXPECT_EQ(ErrorNumberOf([&] { Save(*a, c.flag, c.id); }), c.error);
    EXPECT_EQ(Rows(), before);
  }
  EXPECT_EQ(Column("AM_AccName", 20), Variant("Existing"));
}

TEST_F(AccountTest, EditWhoseDetailsRowIsMissingLeavesTheAccountRowAsItWas) {
  SaveNew(15, "Before", "L", 0);
  Exec(std::string("Delete from ") + kDetails + " where AD_AccId=15");
  Ref<Dispatch> a = NewAccount();
  CallWithYear(*a, "Read", {Variant(int16_t{15})});
  a->Put("AccountName", Variant("After"));
  EXPECT_EQ(ErrorNumberOf([&] { Save(*a, "Edit", 15); }), err::kNoCurrentRecord);
  EXPECT_EQ(Column("AM_AccName", 15), Variant("Before"));
}

TEST_F(AccountTest, NullLevelOrTypeOfTheGroupFailsTheSave) {
  RelaxTable("ACC_MASTER");
  Exec(std::string("Insert into ") + kMaster +
       " (AM_AccId, AM_AccName, AM_GrpFlag, AM_LevelNo, AM_AccType) values (7, 'No level', 'G', "
       "Null, 'X'), (8, 'No type', 'G', 1, Null)");
  for (int16_t group : {int16_t{7}, int16_t{8}}) {
    Ref<Dispatch> a = NewAccount();
    a->Put("AccountId", Variant(int16_t{15}));
    a->Put("AccountName", Variant("Member"));
    a->Put("GroupNo", Variant(group));
    EXPECT_EQ(ErrorNumberOf([&] { Save(*a, "New", 15); }), err::kInvalidUseOfNull) << group;
    EXPECT_EQ(RowsOf(15), (std::array<int64_t, 3>{0, 0, 0}));
  }
}

TEST_F(AccountTest, SaveNestsInTheCallersTransaction) {
  conn_->BeginTrans();
  SaveNew(15, "Rolled back", "L", 0);
  conn_->RollbackTrans();
  EXPECT_EQ(Rows(), (std::array<int64_t, 3>{0, 0, 0}));
  conn_->BeginTrans();
  SaveNew(16, "Kept", "L", 0);
  conn_->CommitTrans();
  EXPECT_EQ(RowsOf(16), (std::array<int64_t, 3>{1, 1, 12}));
}

TEST_F(AccountTest, ADStoresTheCallersObjectWithoutCopying) {
  Ref<Dispatch> a = NewAccount();
  ASSERT_TRUE(a->Get("AD").ToObject());  // a new account holds a details object of its own
  Ref<Dispatch> d = NewDetails();
  a->Put("AD", Variant(d));
  EXPECT_EQ(a->Get("AD"), Variant(d));
  // Changes made through the caller's reference after the put are what Save writes.
  a->Put("AccountId", Variant(int16_t{15}));
  a->Put("AccountName", Variant("Shared"));
  d->Put("AccountId", Variant(int16_t{15}));
  d->Put("Mobile", Variant("98450 12345"));
  Save(*a, "New", 15);
  EXPECT_EQ(Scalar(std::string("Select AD_Mobile from ") + kDetails + " where AD_AccId=15"),
            Variant("98450 12345"));
  // Read fills the shared object too.
  d->Put("Mobile", Variant("changed"));
  CallWithYear(*a, "Read", {Variant(int16_t{15})});
  EXPECT_EQ(d->Get("Mobile"), Variant("98450 12345"));

  EXPECT_EQ(ErrorNumberOf([&] { a->Put("AD", Variant(NewAccount())); }), err::kTypeMismatch);
  EXPECT_EQ(ErrorNumberOf([&] { a->Put("AD", Variant("text")); }), err::kTypeMismatch);
  EXPECT_EQ(ErrorNumberOf([&] { a->PutRef("AD", Variant(d)); }), err::kNoSuchMember);
  // Without a details object the account row is not written either.
  a->Put("AD", Variant(Ref<Object>()));
  a->Put("AccountId", Variant(int16_t{16}));
  EXPECT_EQ(ErrorNumberOf([&] { Save(*a, "New", 16); }), err::kObjectNotSet);
  EXPECT_EQ(RowsOf(16), (std::array<int64_t, 3>{0, 0, 0}));
}

TEST_F(AccountTest, ReadFillsEveryPropertyAndTheDetails) {
  InsertGroup(7, 2, "Debtors");
  Ref<Dispatch> saved = SaveNew(15, "Ramesh", "L", 7, 500, "Cr");
  saved->Put("AccountAlias", Variant("RM"));
  saved->Put("ClosingBalance", Variant(42.25));
  saved->Put("ClosingBalanceSign", Variant("Dr"));
  AsDispatch(saved->Get("AD"))->Put("Area", Variant("Central"));
  Save(*saved, "Edit", 15);

  Ref<Dispatch> a = NewAccount();
  CallWithYear(*a, "Read", {Variant(int16_t{15})});
  const std::pair<const char*, Variant> expected[] = {
      {"AccountId", Variant(int16_t{15})},   {"AccountName", Variant("Ramesh")},
      {"AccountAlias", Variant("RM")},       {"AccountType", Variant("Debtors")},
      {"OpeningBalance", Variant(500.0)},    {"OpeningBalanceSign", Variant("Cr")},
      {"GroupFlag", Variant("L")},           {"GroupNo", Variant(int16_t{7})},
      {"LevelNo", Variant(int16_t{3})},      {"ClosingBalance", Variant(42.25)},
      {"ClosingBalanceSign", Variant("Dr")},
  };
  for (const auto& [name, value] : expected) EXPECT_EQ(a->Get(name), value) << name;
  Ref<Dispatch> d = AsDispatch(a->Get("AD"));
  EXPECT_EQ(d->Get("AccountId"), Variant(int16_t{15}));
  EXPECT_EQ(d->Get("Area"), Variant("Central"));
}

TEST_F(AccountTest, ReadOfAMissingIdChangesOnlyAccountId) {
  Ref<Dispatch> a = NewAccount();
  a->Put("AccountName", Variant("kept"));
  a->Put("LevelNo", Variant(int16_t{4}));
  Ref<Dispatch> d = AsDispatch(a->Get("AD"));
  d->Put("AccountId", Variant(int16_t{3}));
  d->Put("Fax", Variant("kept too"));
  CallWithYear(*a, "Read", {Variant(int16_t{77})});
  EXPECT_EQ(a->Get("AccountId"), Variant(int16_t{77}));
  EXPECT_EQ(a->Get("AccountName"), Variant("kept"));
  EXPECT_EQ(a->Get("LevelNo"), Variant(int16_t{4}));
  EXPECT_EQ(d->Get("AccountId"), Variant(int16_t{3}));
  EXPECT_EQ(d->Get("Fax"), Variant("kept too"));
}

TEST_F(AccountTest, ReadModesOfTheAccountColumns) {
  RelaxTable("ACC_MASTER");
  // Null alias and balances are tolerated; a Null group number or a level out of range is not.
  Exec(std::string("Insert into ") + kMaster +
       " (AM_AccId, AM_AccName, AM_Alias, AM_AccType, AM_OpeningBal, AM_GrpFlag, AM_GrpNo, "
       "AM_LevelNo) values (1, 'Nulls', Null, 'T', Null, Null, 3, 2), "
       "(2, 'No group', 'A2', 'T2', 7, 'L', Null, 2), (3, 'Deep', 'A3', 'T3', 8, 'L', 1, 40000), "
       "(4, Null, 'A4', 'T4', 9, 'L', 1, 1), (5, 'Text balance', '', 'T', ' 12.5kg', 'L', 0, 1)");
  Ref<Dispatch> a = NewAccount();
  a->Put("AccountAlias", Variant("old"));
  a->Put("OpeningBalance", Variant(3.0));
  CallWithYear(*a, "Read", {Variant(int16_t{1})});
  EXPECT_EQ(a->Get("AccountAlias"), Variant(""));
  EXPECT_EQ(a->Get("OpeningBalance"), Variant(0.0));
  EXPECT_EQ(a->Get("GroupFlag"), Variant(""));
  EXPECT_EQ(a->Get("ClosingBalance"), Variant(0.0));
  CallWithYear(*a, "Read", {Variant(int16_t{5})});
  EXPECT_EQ(a->Get("OpeningBalance"), Variant(12.5));

  struct Case {
    int16_t id;
    int error;
    const char* last_set;  // the alias shows how far the read got
  };
  for (const Case& c : {Case{2, err::kInvalidUseOfNull, "A2"}, Case{3, err::kOverflow, "A3"},
                        Case{4, err::kInvalidUseOfNull, "old"}}) {
    SCOPED_TRACE(c.id);
    a->Put("AccountAlias", Variant("old"));
    EXPECT_EQ(ErrorNumberOf([&] { CallWithYear(*a, "Read", {Variant(c.id)}); }), c.error);
    EXPECT_EQ(a->Get("AccountAlias"), Variant(c.last_set));
  }
}

// Delete refuses a group with members and a posting account with voucher or stock rows; any
// other flag is deleted without a check.
TEST_F(AccountTest, DeleteChecksTheFlagAndRemovesAllThreeKindsOfRow) {
  SaveNew(1, "Group with members", "G", 0);
  SaveNew(2, "Member", "L", 1);
  SaveNew(3, "Empty group", "G", 0);
  SaveNew(4, "Posted", "L", 0);
  SaveNew(5, "In stock", "L", 0);
  SaveNew(6, "Clean", "L", 0);
  SaveNew(7, "Lower-case flag", "g", 0);
  SaveNew(8, "Empty flag", "", 0);
  SaveNew(9, "Null flag", "L", 0);
  SaveNew(10, "Posted, odd flag", "l", 0);
  SaveNew(11, "Member of a group", "L", 7);
  Exec(std::string("Update ") + kMaster + " set AM_GrpFlag=Null where AM_AccId=9");
  Exec("Insert into VOUCHERS_2008_2009 (V_Id, V_EntryNo, V_AccId) values (1, 1, 4), (2, 1, 10)");
  Exec("Insert into STOCK_2008_2009 (S_AcctId) values (5)");
  struct Case {
    int16_t id;
    bool deleted;
  };
  const Case cases[] = {{1, false}, {3, true}, {4, false}, {5, false}, {6, true},
                        {7, true},  {8, true}, {9, true},  {10, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    Ref<Dispatch> a = NewAccount();
    EXPECT_EQ(CallWithYear(*a, "Delete", {Variant(c.id)}), Variant(c.deleted));
    const int64_t left = c.deleted ? 0 : 1;
    EXPECT_EQ(RowsOf(c.id), (std::array<int64_t, 3>{left, left, 12 * left}));
  }
}

TEST_F(AccountTest, FailingDeleteDeletesNothing) {
  SaveNew(4, "Account", "L", 0);
  const auto before = Rows();
  Ref<Dispatch> a = NewAccount();
  EXPECT_EQ(ErrorNumberOf([&] { CallWithYear(*a, "Delete", {Variant(int16_t{99})}); }),
            err::kNoCurrentRecord);
  // A month row the database refuses to delete: the two deletes before it are taken back.
  Exec(std::string("Create Trigger keep_months Before Delete On ") + kBalance +
       " Begin Select Raise(Abort, 'months are locked'); End");
  const int error = ErrorNumberOf([&] { CallWithYear(*a, "Delete", {Variant(int16_t{4})}); });
  EXPECT_EQ(error, 3022);
  EXPECT_EQ(Rows(), before);
}

}  // namespace
}  // namespace orv::masters::testing
