#include "orv/db/sql.h"

#include "test_support.h"

namespace orv::db::testing {
namespace {

TEST(SqlText, QuotesAndSuffixes) {
  EXPECT_EQ(Quote("O'Brien"), "'O''Brien'");
  EXPECT_EQ(Quote(""), "''");
  EXPECT_EQ(YearSuffix(2008, 2009), "_2008_2009");
  EXPECT_EQ(YearSuffix(-1, 0), "_-1_0");
}

TEST(SqlText, CallerFragmentsAreChecked) {
  for (const char* ok : {"=", "<>", "<", "<=", ">", ">="})
    EXPECT_EQ(ErrorNumberOf([&] { CheckComparison(ok); }), 0) << ok;
  for (const char* bad : {"", "==", "=1 or 1", " =", "<=>", "like"})
    EXPECT_EQ(ErrorNumberOf([&] { CheckComparison(bad); }), err::kUnsafeSqlFragment) << bad;
  for (const char* ok :
       {"AM_AccName", "AM_AccName DESC", " AM_LevelNo asc , AM_AccName ", "[AM_AccName] Desc"})
    EXPECT_EQ(ErrorNumberOf([&] { CheckSortList(ok); }), 0) << ok;
  for (const char* bad : {"", "AM_AccName;", "AM_AccName, ", "1", "AM_AccName DESC DESC",
                          "AM_AccName; drop table x", "(select 1)", "AM_AccName -- x"})
    EXPECT_EQ(ErrorNumberOf([&] { CheckSortList(bad); }), err::kUnsafeSqlFragment) << bad;
  // A NUL inside a bracketed name would end the statement early.
  EXPECT_EQ(ErrorNumberOf([] { CheckSortList(std::string_view("[15\0\xff]", 6)); }),
            err::kUnsafeSqlFragment);
}

using ReadOnlyQueryTest = YearDatabaseTest;

TEST_F(ReadOnlyQueryTest, OnlyOneReadingStatementPasses) {
  for (const char* ok : {"Select AM_AccId from ACC_MASTER_2008_2009",
                         "  select AM_AccId from acc_master_2008_2009 where AM_GrpFlag='L';  "})
    EXPECT_EQ(ErrorNumberOf([&] { CheckReadOnlyQuery(*conn_, ok); }), 0) << ok;
  for (const char* bad :
       {"Delete from ACC_MASTER_2008_2009",
        "Select AM_AccId from ACC_MASTER_2008_2009; Delete from ACC_MASTER_2008_2009",
        "PRAGMA writable_schema=1", "Drop table STOCK_2008_2009"})
    EXPECT_EQ(ErrorNumberOf([&] { CheckReadOnlyQuery(*conn_, bad); }), err::kUnsafeSqlFragment)
        << bad;
  EXPECT_EQ(Scalar("Select count(*) from sqlite_master where name='STOCK_2008_2009'").ToInt32(), 1);
}

TEST(LiteralLifting, KeysBecomeParametersOnlyWhereSafe) {
  struct Case {
    const char* in;
    const char* text;
    size_t literals;
  };
  const Case cases[] = {
      {"Select * from T_2008_2009 where A=15", "Select * from T_2008_2009 where A=?", 1},
      {"Select 1 from T where B='it''s' and C=-2.5", "Select 1 from T where B=? and C=-?", 2},
      {"Insert into T values (15,'200804',0,0)", "Insert into T values (?,?,?,?)", 4},
      {"Select * from T where A=1 Order By 2", "Select * from T where A=? Order By 2", 1},
      {"Select * from T where A=? and B=1", "Select * from T where A=? and B=1", 0},
      {"Select * from T where A=0x10", "Select * from T where A=0x10", 0},
  };
  for (const Case& c : cases) {
    const LiftedSql l = LiftLiterals(c.in);
    EXPECT_EQ(l.text, c.text) << c.in;
    EXPECT_EQ(l.literals.size(), c.literals) << c.in;
  }
  EXPECT_EQ(LiftLiterals("Select * from T where B='it''s'").literals[0].value, "it's");
}

}  // namespace
}  // namespace orv::db::testing

#include "orv/db/connection_string.h"

namespace orv::db::testing {
namespace {

TEST(ConnectionString, KeysWithoutCaseAndQuotedValues) {
  auto m = ParseConnectionString(
      " Provider = Microsoft.Jet.OLEDB.4.0 ;Data Source=\"/a;b/c.mdb\";Jet OLEDB:Database "
      "Password=K58!q47T%61d25&w84R;;");
  EXPECT_EQ(m["provider"], "Microsoft.Jet.OLEDB.4.0");
  EXPECT_EQ(m["data source"], "/a;b/c.mdb");
  EXPECT_EQ(m["jet oledb:database password"], "K58!q47T%61d25&w84R");
  EXPECT_EQ(m.size(), 3u);
  for (const char* bad : {"a=1;b;c=2", "a=1; A=2", "=x", "a=\"unterminated", "a=\"x\" y"})
    EXPECT_EQ(ErrorNumberOf([&] { ParseConnectionString(bad); }), err::kInvalidArgument) << bad;
}

}  // namespace
}  // namespace orv::db::testing
