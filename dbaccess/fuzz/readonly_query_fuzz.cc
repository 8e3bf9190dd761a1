// Fuzzes the check of a caller's list query against a real year database: whatever it accepts is
// run, and afterwards the database must hold exactly what it held before.
#include <sqlite3.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "orv/db/connection.h"
#include "orv/db/recordset.h"
#include "orv/db/schema.h"
#include "orv/db/sql.h"
#include "orv/error.h"

namespace {

struct Database {
  std::filesystem::path dir;
  orv::Variant cn;
  orv::db::IConnection* conn = nullptr;

  Database() {
    dir = std::filesystem::temp_directory_path() / ("orv-fuzz-" + std::to_string(getpid()));
    std::filesystem::remove_all(dir);
    const auto file = orv::db::YearDatabaseFile(dir, "FUZZ", 2008, 2009);
    orv::db::CreateYearDatabase(file, 2008, 2009);
    cn = orv::Variant(orv::db::NewConnection());
    conn = &orv::db::ConnectionOf(cn);
    conn->Open(orv::db::ConnectionStringFor(file), "", "", -1);
    conn->Execute(
        "Insert into ACC_MASTER_2008_2009 (AM_AccId, AM_AccName, AM_LevelNo, AM_AccType) values "
        "(1, 'Cash', 1, 'Assets')");
  }
  ~Database() { std::filesystem::remove_all(dir); }

  // Everything that could change: rows written and the schema.
  std::string Fingerprint() {
    orv::db::Recordset rs;
    rs.Open(
        "Select (select count(*) from sqlite_master) || ':' || (select group_concat(AM_AccId "
        "|| AM_AccName) from ACC_MASTER_2008_2009)",
        cn);
    return rs.Field(0).JoinText();
  }
};

Database& Db() {
  static Database db;
  return db;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string sql(reinterpret_cast<const char*>(data), size);
  Database& db = Db();
  const std::string before = db.Fingerprint();
  const int changes = sqlite3_total_changes(db.conn->Handle());
  try {
    orv::db::CheckReadOnlyQuery(*db.conn, sql);
    orv::db::Recordset rs;
    rs.Open(sql, db.cn);
    for (int i = 0; i < 100 && !rs.Eof(); ++i) rs.MoveNext();
  } catch (const orv::AutomationError&) {
  }
  if (sqlite3_total_changes(db.conn->Handle()) != changes || db.Fingerprint() != before)
    std::abort();
  return 0;
}
