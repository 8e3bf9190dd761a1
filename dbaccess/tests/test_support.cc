#include "test_support.h"

#include <unistd.h>

#include <atomic>

#include "orv/db/recordset.h"

namespace orv::db::testing {

YearDatabaseTest::YearDatabaseTest(std::string folder_prefix)
    : folder_prefix_(std::move(folder_prefix)) {}

void YearDatabaseTest::SetUp() {
  static std::atomic<int> counter{0};
  dir_ = std::filesystem::temp_directory_path() /
         (folder_prefix_ + "-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(dir_);
  file_ = YearDatabaseFile(dir_, "ACME", kY1, kY2);
  CreateYearDatabase(file_, kY1, kY2);
  cn_ = Variant(NewConnection());
  conn_ = &ConnectionOf(cn_);
  conn_->Open(ConnectionStringFor(file_), "", "", -1);
}

void YearDatabaseTest::TearDown() {
  conn_ = nullptr;
  cn_ = Variant();
  std::filesystem::remove_all(dir_);
}

void YearDatabaseTest::Exec(const std::string& sql) {
  conn_->Execute(sql);
}

Variant YearDatabaseTest::Scalar(const std::string& sql) {
  Recordset rs;
  rs.Open(sql, cn_);
  return rs.Field(0);
}

int64_t YearDatabaseTest::Count(const std::string& table_and_where) {
  return Scalar("Select count(*) from " + table_and_where).ToInt32();
}

std::vector<std::vector<Variant>> YearDatabaseTest::Rows(const std::string& sql) {
  Recordset rs;
  rs.Open(sql, cn_);
  std::vector<std::vector<Variant>> rows;
  for (; !rs.Eof(); rs.MoveNext()) {
    auto& row = rows.emplace_back();
    for (int i = 0; i < rs.FieldCount(); ++i) row.push_back(rs.Field(i));
  }
  return rows;
}

void YearDatabaseTest::RefuseInserts(const std::string& trigger, const std::string& table,
                                     const std::string& when) {
  // Straight to the engine: a trigger's text must reach it as written.
  sqlite3* db = conn_->Handle();
  const std::string sql = "CREATE TRIGGER " + trigger + " BEFORE INSERT ON " + table + " WHEN " +
                          when + " BEGIN SELECT RAISE(ABORT, 'row refused'); END";
  ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
      << sqlite3_errmsg(db);
}

Variant YearDatabaseTest::CallWithYear(Dispatch& obj, std::string_view method,
                                       std::vector<Variant> args) {
  args.insert(args.end(), {cn_, Variant(kY1), Variant(kY2)});
  return obj.Call(method, args);
}

Variant YearDatabaseTest::Save(Dispatch& obj, const char* flag) {
  return CallWithYear(obj, "Save", {Variant(flag)});
}

std::vector<std::string> MemberNames(Dispatch& obj) {
  std::vector<std::string> names;
  for (const MemberInfo& m : obj.Type().members) names.emplace_back(m.name);
  return names;
}

}  // namespace orv::db::testing
