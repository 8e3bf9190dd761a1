#include <sys/stat.h>

#include <fstream>

#include "orv/db/recordset.h"
#include "test_support.h"

namespace orv::db::testing {
namespace {

using SchemaTest = YearDatabaseTest;

TEST_F(SchemaTest, CreatedFileIsPrivateAndPassesTheCheck) {
  struct stat st {};
  ASSERT_EQ(stat(file_.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600);
  const CheckReport r = CheckYearDatabase(file_);
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.row_counts.size(), YearTables().size());
  EXPECT_EQ(ErrorNumberOf([&] { CreateYearDatabase(file_, 2008, 2009); }), 3204);
}

TEST_F(SchemaTest, EveryNameAnswersInAnyLetterCase) {
  for (const TableDef& t : YearTables()) {
    for (const std::string& table : {std::string(t.base_name), [&] {
                                       std::string s(t.base_name);
                                       for (char& c : s) c = char(std::tolower(c));
                                       return s;
                                     }()}) {
      std::string sql = "Select ";
      for (size_t i = 0; i < t.columns.size(); ++i) {
        std::string col(t.columns[i].name);
        for (char& c : col) c = char(std::toupper(c));
        sql += (i ? "," : "") + col;
      }
      sql += " from " + table + "_2008_2009";
      EXPECT_EQ(ErrorNumberOf([&] { Scalar(sql); }), err::kNoCurrentRecord) << sql;
    }
  }
  // Texts compare without regard to case, as the original engine did.
  conn_->Execute(
      "Insert into ITEMS_2008_2009 (IM_ItemId, IM_ItemName, IM_GrpFlag) values (1,'a','I')");
  EXPECT_EQ(Scalar("Select count(*) from Items_2008_2009 where IM_GrpFlag='i'").ToInt32(), 1);
}

TEST_F(SchemaTest, BalanceRowsTakeValuesInColumnOrder) {
  conn_->Execute("Insert into ACC_BALANCE_2008_2009 values (15,'200804',0,0)");
  EXPECT_EQ(Scalar("Select AB_Month from ACC_BALANCE_2008_2009 where AB_AccId=15"),
            Variant("200804"));
  EXPECT_EQ(ErrorNumberOf([&] {
              conn_->Execute("Insert into ACC_BALANCE_2008_2009 values (15,'200804',0,0)");
            }),
            3022);
}

TEST_F(SchemaTest, CheckFindsMissingPiecesAndDamage) {
  conn_->Execute("Drop table STOCK_2008_2009");
  conn_->Execute("Alter table ITEMS_2008_2009 drop column IM_CutAverage");
  conn_->Close();
  CheckReport r = CheckYearDatabase(file_);
  EXPECT_FALSE(r.ok);
  ASSERT_EQ(r.problems.size(), 2u);
  EXPECT_NE(r.problems[0].find("ITEMS_2008_2009.IM_CutAverage"), std::string::npos);
  EXPECT_NE(r.problems[1].find("STOCK_2008_2009"), std::string::npos);

  const auto junk = dir_ / "junk.mdb";
  std::ofstream(junk) << std::string(8192, 'x');
  EXPECT_FALSE(CheckYearDatabase(junk).ok);
  EXPECT_FALSE(CheckYearDatabase(dir_ / "missing.mdb").ok);

  // A damaged page: overwrite the middle of a copy of the file.
  const auto damaged = dir_ / "damaged.mdb";
  std::filesystem::copy_file(file_, damaged);
  {
    std::fstream f(damaged, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(4096 * 3);
    const std::string garbage(4096, '\x5a');
    f.write(garbage.data(), garbage.size());
  }
  EXPECT_FALSE(CheckYearDatabase(damaged).ok);
}

}  // namespace
}  // namespace orv::db::testing
