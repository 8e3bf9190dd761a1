#include "fixture.h"

#include <unistd.h>

#include <atomic>

#include "orv/db/recordset.h"
#include "orv/db/schema.h"
#include "orv/registry.h"

namespace orv::masters::testing {

void MastersTest::SetUp() {
  static std::atomic<int> counter{0};
  dir_ = std::filesystem::temp_directory_path() /
         ("orv-masters-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(dir_);
  const auto file = db::YearDatabaseFile(dir_, "ACME", kY1, kY2);
  db::CreateYearDatabase(file, kY1, kY2);
  cn_ = Variant(db::NewConnection());
  conn_ = &db::ConnectionOf(cn_);
  conn_->Open(db::ConnectionStringFor(file), "", "", -1);
}

void MastersTest::TearDown() {
  cn_ = Variant();
  std::filesystem::remove_all(dir_);
}

Ref<Dispatch> MastersTest::NewAccount() {
  return CreateObject("{0C3559DC-5C85-438E-A03B-893719458854}");
}

Ref<Dispatch> MastersTest::NewDetails() {
  return CreateObject("{101072EC-FB44-4C9D-85CB-042EA22A6A85}");
}

Ref<Dispatch> MastersTest::SaveNew(int16_t id, const std::string& name, const char* flag,
                                   int16_t group, double opening, const char* sign) {
  Ref<Dispatch> a = NewAccount();
  a->Put("AccountId", Variant(id));
  a->Put("AccountName", Variant(name));
  a->Put("GroupFlag", Variant(flag));
  a->Put("GroupNo", Variant(group));
  a->Put("OpeningBalance", Variant(opening));
  a->Put("OpeningBalanceSign", Variant(sign));
  AsDispatch(a->Get("AD"))->Put("AccountId", Variant(id));
  CallWithYear(*a, "Save", {Variant("New"), Variant(id)});
  return a;
}

Variant MastersTest::CallWithYear(Dispatch& obj, std::string_view method,
                                  std::vector<Variant> args) {
  args.push_back(cn_);
  args.push_back(Variant(kY1));
  args.push_back(Variant(kY2));
  return obj.Call(method, args);
}

void MastersTest::Exec(const std::string& sql) {
  conn_->Execute(sql);
}

Variant MastersTest::Scalar(const std::string& sql) {
  db::Recordset rs;
  rs.Open(sql, cn_);
  if (rs.Eof()) return {};
  return rs.Field(0);
}

int64_t MastersTest::Count(const std::string& table_and_where) {
  return Scalar("Select count(*) from " + table_and_where).ToInt32();
}

void MastersTest::RelaxTable(const std::string& base) {
  const std::string table = base + "_" + std::to_string(kY1) + "_" + std::to_string(kY2);
  sqlite3* db = conn_->Handle();
  std::string columns;
  sqlite3_stmt* info = nullptr;
  ASSERT_EQ(
      sqlite3_prepare_v2(db, ("PRAGMA table_info(" + table + ")").c_str(), -1, &info, nullptr),
      SQLITE_OK);
  while (sqlite3_step(info) == SQLITE_ROW) {
    const std::string name = reinterpret_cast<const char*>(sqlite3_column_text(info, 1));
    const std::string type = reinterpret_cast<const char*>(sqlite3_column_text(info, 2));
    if (!columns.empty()) columns += ", ";
    columns += name + " " + type + (type == "TEXT" ? " COLLATE NOCASE" : "");
  }
  sqlite3_finalize(info);
  const std::string sql = "ALTER TABLE " + table + " RENAME TO relaxed_old; CREATE TABLE " + table +
                          " (" + columns + "); INSERT INTO " + table +
                          " SELECT * FROM relaxed_old; DROP TABLE relaxed_old;";
  ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
      << sqlite3_errmsg(db);
}

int ErrorNumberOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const AutomationError& e) {
    return e.number();
  }
  return 0;
}

}  // namespace orv::masters::testing
