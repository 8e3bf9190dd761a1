// The account queries of clsAccount, driven by late binding on a fresh year database.
#include <algorithm>

#include "fixture.h"
#include "orv/db/account_lookup.h"
#include "orv/registry.h"

namespace orv::masters::testing {
namespace {

// A small chart of accounts: two top groups with types, a sub-group and posting accounts.
//   1 Assets (G, type Asset)            2 Liabilities (G, type Owner's funds)
//   3 Current Assets (G, in 1, 1000 Dr)  6 Capital (L, in 2, 2000 Cr)
//   4 Cash (L, in 3, 500 Dr)             7 Owner's Loan (L, in 2, 300 Cr)
//   5 Bank (L, in 3, 1500 Dr)           -1 Suspense (L, no group, 100 Dr)
class QueriesTest : public MastersTest {
 protected:
  void SetUp() override {
    MastersTest::SetUp();
    Exec(
        "Insert into ACC_MASTER_2008_2009 (AM_AccId, AM_AccName, AM_GrpFlag, AM_GrpNo, "
        "AM_LevelNo, AM_AccType) values (1, 'Assets', 'G', 0, 1, 'Asset'), "
        "(2, 'Liabilities', 'G', 0, 1, 'Owner''s funds')");
    SaveNew(3, "Current Assets", "G", 1, 1000, "Dr");
    Ref<Dispatch> cash = SaveNew(4, "Cash", "L", 3, 500, "Dr");
    AsDispatch(cash->Get("AD"))->Put("Address", Variant("Till 1"));
    CallWithYear(*cash, "Save", {Variant("Edit"), Variant(int16_t{4})});
    SaveNew(5, "Bank", "L", 3, 1500, "Dr");
    SaveNew(6, "Capital", "L", 2, 2000, "Cr");
    SaveNew(7, "Owner's Loan", "L", 2, 300, "Cr");
    SaveNew(-1, "Suspense", "L", 0, 100, "Dr");
    account_ = NewAccount();
  }

  struct ListCall {
    int error = 0;
    Variant count;
    Variant a1;  // the by-reference array after the call
  };
  ListCall List(std::string_view method, std::vector<Variant> args, Variant a1 = {}) {
    args.insert(args.end(), {cn_, Variant(kY1), Variant(kY2), std::move(a1)});
    ListCall out;
    try {
      out.count = account_->Call(method, args);
    } catch (const AutomationError& e) {
      out.error = e.number();
    }
    out.a1 = args.back();
    return out;
  }
  ListCall WithId(int16_t group, const char* flag, const char* type, const char* level_flag,
                  int16_t level, const char* sort_by, Variant a1 = {}) {
    return List("Get_Accounts_With_Id",
                {Variant(group), Variant(flag), Variant(type), Variant(level_flag), Variant(level),
                 Variant(sort_by)},
                std::move(a1));
  }
  ListCall WithDetails(const std::string& sql, Variant a1 = {}) {
    return List("Get_Accounts_With_Details", {Variant(sql)}, std::move(a1));
  }

  // The ids of a result array's objects; checks the array's shape on the way.
  static std::vector<int> Ids(const ListCall& r) {
    EXPECT_EQ(r.error, 0);
    const SafeArray& a = r.a1.array();
    EXPECT_EQ(a.lower, 0);
    EXPECT_EQ(a.items.size(), size_t(r.count.ToInt16()) + 1);
    EXPECT_TRUE(a.items.back().IsEmpty());
    std::vector<int> ids;
    for (size_t i = 0; i + 1 < a.items.size(); ++i)
      ids.push_back(AsDispatch(a.items[i])->Get("AccountId").ToInt16());
    return ids;
  }
  static std::vector<int> Sorted(std::vector<int> v) {
    std::sort(v.begin(), v.end());
    return v;
  }

  Ref<Dispatch> account_;
};

TEST_F(QueriesTest, AccountIsCreatedByClassIdAndProgIdWithItsIdentities) {
  Ref<Dispatch> a = db::NewAccountObject();
  const TypeInfo& t = a->Type();
  EXPECT_EQ(t.class_name, "clsAccount");
  EXPECT_EQ(t.interface_name, "_clsAccount");
  EXPECT_EQ(t.iid, Guid::FromLiteral("{449C31D1-898C-4461-B0C4-E3ACC1E0A2D3}"));
  EXPECT_EQ(CreateObject("ORVMasters.clsAccount")->Type().clsid, t.clsid);
  EXPECT_EQ(CreateObject("ORVMasters.clsAccountDetails")->Type().class_name, "clsAccountDetails");
}

TEST_F(QueriesTest, NameAndSignLookupsGiveTheColumnOrEmptyForAMissingAccount) {
  Ref<Dispatch> a = NewAccount();  // the queries use nothing of the object
  EXPECT_EQ(CallWithYear(*a, "Get_AccountName", {Variant(int16_t{7})}), Variant("Owner's Loan"));
  EXPECT_EQ(CallWithYear(*a, "Get_OpeningBalSign", {Variant(int16_t{6})}), Variant("Cr"));
  EXPECT_EQ(CallWithYear(*a, "Get_AccountName", {Variant(int16_t{99})}), Variant(""));
  EXPECT_EQ(CallWithYear(*a, "Get_OpeningBalSign", {Variant(int16_t{99})}), Variant(""));
  // The way the voucher components ask: by dispatch id on an object made by class id.
  EXPECT_EQ(db::AccountName(*db::NewAccountObject(), 4, cn_, kY1, kY2), "Cash");
}

TEST_F(QueriesTest, AccountsWithIdFiltersAndSorts) {
  struct Case {
    const char* what;
    int16_t group;
    const char* flag;
    const char* type;
    const char* level_flag;
    int16_t level;
    const char* sort_by;
    std::vector<int> ids;  // in order when sorted, else as a set
  };
  const Case cases[] = {
      {"every posting account", 0, "L", "", "", 0, "", {-1, 4, 5, 6, 7}},
      {"a negative group adds no condition", -5, "L", "", "", 0, "", {-1, 4, 5, 6, 7}},
      {"members of one group", 3, "L", "", "", 0, "", {4, 5}},
      {"type with a quote in it", 0, "L", "Owner's funds", "", 0, "", {6, 7}},
      {"level comparison", 0, "L", "", "<=", 2, "", {-1, 6, 7}},
      {"groups at one level", 0, "G", "", "=", 2, "", {3}},
      {"sorted by name, descending", 0, "L", "", "", 0, "AM_AccName DESC", {-1, 7, 4, 6, 5}},
      {"sorted by two columns", 0, "L", "Asset", "<>", 1, "AM_OpeningBal desc, AM_AccId", {5, 4}},
      {"no such flag", 0, "X", "", "", 0, "", {}},
      {"a quote cannot end the flag's literal", 0, "L' or '1'='1", "", "", 0, "", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ListCall r = WithId(c.group, c.flag, c.type, c.level_flag, c.level, c.sort_by);
    EXPECT_EQ(r.count, Variant(int16_t(c.ids.size())));
    if (*c.sort_by)
      EXPECT_EQ(Ids(r), c.ids);
    else
      EXPECT_EQ(Sorted(Ids(r)), c.ids);
  }
}

TEST_F(QueriesTest, AccountsWithIdSetOnlyIdAndName) {
  const ListCall r = WithId(3, "L", "", "", 0, "AM_AccId", Variant("discarded"));
  ASSERT_EQ(Ids(r), (std::vector<int>{4, 5}));
  Ref<Dispatch> cash = AsDispatch(r.a1.array().items[0]);
  EXPECT_EQ(cash->Get("AccountName"), Variant("Cash"));
  EXPECT_EQ(cash->Get("GroupNo"), Variant(int16_t{0}));
  EXPECT_EQ(cash->Get("OpeningBalance"), Variant(0.0));
  EXPECT_EQ(cash->Get("AccountType"), Variant(""));
  EXPECT_EQ(AsDispatch(cash->Get("AD"))->Get("Address"), Variant(""));
}

TEST_F(QueriesTest, FragmentsThatAreNotAComparisonOrASortListAreRefused) {
  struct Case {
    const char* level_flag;
    const char* sort_by;
  };
  const Case cases[] = {
      {"=1 or 1=1", ""},
      {"==", ""},
      {"= ", ""},
      {"", "AM_AccName; Delete from ACC_MASTER_2008_2009"},
      {"", "1"},
      {"", "AM_AccName, (Select 1)"},
      {"", "AM_AccName DESC DESC"},
      {"", "AM_AccName --"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.level_flag) + "|" + c.sort_by);
    const ListCall r = WithId(0, "L", "", c.level_flag, 1, c.sort_by, Variant("untouched"));
    EXPECT_EQ(r.error, err::kUnsafeSqlFragment);
    EXPECT_EQ(r.a1, Variant("untouched"));
  }
  EXPECT_EQ(Count("ACC_MASTER_2008_2009"), 8);
}

TEST_F(QueriesTest, AccountsWithDetailsReadsEachAccountInFull) {
  const ListCall r = WithDetails(
      "Select AM_AccId, AM_AccName from ACC_MASTER_2008_2009 where AM_GrpNo=3 order by AM_AccId");
  ASSERT_EQ(Ids(r), (std::vector<int>{4, 5}));
  Ref<Dispatch> cash = AsDispatch(r.a1.array().items[0]);
  EXPECT_EQ(cash->Get("AccountType"), Variant("Asset"));
  EXPECT_EQ(cash->Get("LevelNo"), Variant(int16_t{3}));
  EXPECT_EQ(cash->Get("OpeningBalance"), Variant(500.0));
  EXPECT_EQ(AsDispatch(cash->Get("AD"))->Get("Address"), Variant("Till 1"));
  EXPECT_EQ(AsDispatch(cash->Get("AD"))->Get("AccountId"), Variant(int16_t{4}));

  const ListCall none = WithDetails("Select AM_AccId from ACC_MASTER_2008_2009 where AM_AccId=99");
  EXPECT_EQ(none.count, Variant(int16_t{0}));
  EXPECT_EQ(Ids(none), std::vector<int>{});
}

TEST_F(QueriesTest, AccountsWithDetailsRunsOnlyOneReadOnlyStatement) {
  struct Case {
    std::string sql;
    int error;
  };
  const Case cases[] = {
      {"Delete from ACC_MASTER_2008_2009", err::kUnsafeSqlFragment},
      {"Select AM_AccId from ACC_MASTER_2008_2009; Delete from ACC_MASTER_2008_2009",
       err::kUnsafeSqlFragment},
      {"Update ACC_MASTER_2008_2009 set AM_AccName='x' returning AM_AccId",
       err::kUnsafeSqlFragment},
      {"", err::kObjectClosed},  // no query, no recordset to count
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sql);
    const ListCall r = WithDetails(c.sql, Variant("untouched"));
    EXPECT_EQ(r.error, c.error);
    EXPECT_EQ(r.a1, Variant("untouched"));
  }
  EXPECT_EQ(Count("ACC_MASTER_2008_2009 where AM_AccName='x'"), 0);
  EXPECT_EQ(Count("ACC_MASTER_2008_2009"), 8);
}

TEST_F(QueriesTest, AFailingRowLeavesTheObjectsStoredSoFar) {
  // A query without AM_AccId fails at its first row, after storing that row's object.
  const ListCall r =
      WithDetails("Select AM_AccName from ACC_MASTER_2008_2009 where AM_GrpFlag='L'");
  EXPECT_EQ(r.error, err::kItemNotFound);
  ASSERT_EQ(r.a1.array().items.size(), 6u);
  EXPECT_EQ(r.a1.array().items[0].type(), VarType::Object);
  EXPECT_TRUE(r.a1.array().items[1].IsEmpty());

  // A Null name fails the name lookup and the list at its row.
  RelaxTable("ACC_MASTER");
  Exec(
      "Insert into ACC_MASTER_2008_2009 (AM_AccId, AM_AccName, AM_GrpFlag) values (50, 'Named', "
      "'N'), (51, Null, 'N')");
  const ListCall n = WithId(0, "N", "", "", 0, "AM_AccId");
  EXPECT_EQ(n.error, err::kInvalidUseOfNull);
  const auto& items = n.a1.array().items;
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(AsDispatch(items[0])->Get("AccountName"), Variant("Named"));
  EXPECT_EQ(AsDispatch(items[1])->Get("AccountId"), Variant(int16_t{51}));
  EXPECT_TRUE(items[2].IsEmpty());
  EXPECT_EQ(
      ErrorNumberOf([&] { CallWithYear(*account_, "Get_AccountName", {Variant(int16_t{51})}); }),
      err::kInvalidUseOfNull);
}

TEST_F(QueriesTest, AccountSumAddsOpeningBalancesOfPostingAccountsWithTheSign) {
  const std::pair<const char*, double> cases[] = {
      {"Dr", 2000},  // Cash and Bank; not the group, not the account with a negative id
      {"Cr", 2300},
      {"Nil", 0},
      {"Dr' or 'x'='x", 0},
  };
  for (const auto& [sign, sum] : cases)
    EXPECT_EQ(CallWithYear(*account_, "Get_AccountSum", {Variant(sign)}), Variant(sum)) << sign;
}

}  // namespace
}  // namespace orv::masters::testing
