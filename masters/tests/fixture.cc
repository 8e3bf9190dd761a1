#include "fixture.h"

#include "orv/registry.h"

namespace orv::masters::testing {

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

}  // namespace orv::masters::testing
