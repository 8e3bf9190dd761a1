#include <sys/stat.h>

#include <fstream>

#include "orv/db/recordset.h"
#include "orv/db/unit.h"
#include "test_support.h"

namespace orv::db::testing {
namespace {

using ConnectionTest = YearDatabaseTest;

TEST_F(ConnectionTest, RefusesBadConnectionsAndCreatesNothing) {
  const std::string folder = dir_.string();
  struct Case {
    const char* what;
    std::string connection_string;
    int error;
  };
  const Case cases[] = {
      {"unknown provider",
       "Provider=Microsoft.ACE.OLEDB.12.0;Data Source=" + file_.string() +
           ";Jet OLEDB:Database Password=K58!q47T%61d25&w84R",
       err::kProviderNotFound},
      {"missing folder", ConnectionStringFor(dir_ / "NOPE" / "NOPE_2008_2009.mdb"), 3044},
      {"missing file", ConnectionStringFor(dir_ / "ACME" / "ACME_2010_2011.mdb"), 3024},
      {"wrong password",
       "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + file_.string() +
           ";Jet OLEDB:Database Password=k58!q47T%61d25&w84R",
       err::kInvalidPassword},
      {"no password", "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + file_.string(),
       err::kInvalidPassword},
      {"backslash path to a missing file",
       "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + folder + "\\ACME\\X.mdb", 3024},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto cn = NewConnection();
    IConnection& conn = *QueryAs<IConnection>(cn.get());
    EXPECT_EQ(ErrorNumberOf([&] { conn.Open(c.connection_string, "", "", -1); }), c.error);
    EXPECT_EQ(conn.State(), kStateClosed);
  }
  EXPECT_FALSE(std::filesystem::exists(dir_ / "NOPE"));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "ACME" / "ACME_2010_2011.mdb"));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "ACME" / "X.mdb"));
}

TEST_F(ConnectionTest, OpensBackslashPathsAndAnyKeyCase) {
  auto cn = NewConnection();
  IConnection& conn = *QueryAs<IConnection>(cn.get());
  std::string path = file_.string();
  const size_t slash = path.rfind('/');
  path[slash] = '\\';
  conn.Open("PROVIDER=microsoft.jet.oledb.4.0; data source=" + path +
                ";JET OLEDB:DATABASE PASSWORD=K58!q47T%61d25&w84R",
            "", "", -1);
  EXPECT_EQ(conn.State(), kStateOpen);
}

TEST_F(ConnectionTest, RefusesAFileThatIsNotAYearDatabase) {
  const auto other = dir_ / "ACME" / "junk.mdb";
  { std::ofstream(other) << "this is not a database"; }
  auto cn = NewConnection();
  EXPECT_EQ(ErrorNumberOf([&] {
              QueryAs<IConnection>(cn.get())->Open(ConnectionStringFor(other), "", "", -1);
            }),
            3343);
}

TEST_F(ConnectionTest, ClosedConnectionIsNotUsable) {
  conn_->Close();
  EXPECT_EQ(conn_->State(), kStateClosed);
  Recordset rs;
  EXPECT_EQ(ErrorNumberOf([&] { rs.Open("Select * from ACC_MASTER_2008_2009", cn_); }),
            err::kConnectionNotUsable);
  EXPECT_EQ(ErrorNumberOf([&] { conn_->Execute("Delete from STOCK_2008_2009"); }),
            err::kConnectionNotUsable);
  conn_->Open(ConnectionStringFor(file_), "", "", -1);
  EXPECT_EQ(conn_->State(), kStateOpen);
}

TEST_F(ConnectionTest, ExecuteRefusesASecondStatement) {
  EXPECT_EQ(ErrorNumberOf([&] {
              conn_->Execute(
                  "Insert into STOCK_2008_2009 values (1,1,1,'2008-04-01'); Drop table "
                  "ACC_MASTER_2008_2009");
            }),
            3142);
  EXPECT_EQ(Scalar("Select count(*) from STOCK_2008_2009").ToInt32(), 0);
  EXPECT_EQ(Scalar("Select count(*) from ACC_MASTER_2008_2009").ToInt32(), 0);
}

TEST_F(ConnectionTest, TransactionsNestAndUnitsRollBack) {
  conn_->BeginTrans();
  conn_->Execute("Insert into STOCK_2008_2009 values (1,1,1,'2008-04-01')");
  {
    WriteUnit unit(cn_);
    conn_->Execute("Insert into STOCK_2008_2009 values (2,1,1,'2008-04-01')");
    // destroyed without Commit: only this unit's row goes
  }
  {
    WriteUnit unit(cn_);
    conn_->Execute("Insert into STOCK_2008_2009 values (3,1,1,'2008-04-01')");
    unit.Commit();
  }
  EXPECT_EQ(Scalar("Select count(*) from STOCK_2008_2009").ToInt32(), 2);
  conn_->RollbackTrans();
  EXPECT_EQ(Scalar("Select count(*) from STOCK_2008_2009").ToInt32(), 0);
  EXPECT_EQ(ErrorNumberOf([&] { conn_->CommitTrans(); }), 3034);

  {
    WriteUnit unit(cn_);
    conn_->Execute("Insert into STOCK_2008_2009 values (4,1,1,'2008-04-01')");
    unit.Commit();
  }
  EXPECT_EQ(Scalar("Select count(*) from STOCK_2008_2009").ToInt32(), 1);
}

TEST_F(ConnectionTest, DispatchFaceOpensAndCloses) {
  Ref<Dispatch> cn = NewConnection();
  EXPECT_EQ(cn->Get("state"), Variant(int32_t{0}));
  cn->Call("Open",
           {Variant(ConnectionStringFor(file_)), Variant(""), Variant(""), Variant(int32_t{-1})});
  EXPECT_EQ(cn->Get("State"), Variant(int32_t{1}));
  Variant affected;
  std::vector<Variant> args{Variant("Insert into STOCK_2008_2009 values (1,1,1,'2008-04-01')"),
                            Variant()};
  cn->Call("Execute", args);
  EXPECT_EQ(args[1], Variant(int32_t{1}));
  cn->Call("Close", {});
  EXPECT_EQ(ErrorNumberOf([&] { cn->Call("Close", {}); }), err::kObjectClosed);
}

}  // namespace
}  // namespace orv::db::testing
