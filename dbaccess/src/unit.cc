#include "orv/db/unit.h"

#include "engine_error.h"

namespace orv::db {
namespace {

void Run(IConnection& cn, const char* sql) {
  sqlite3* db = cn.Handle();
  if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) ThrowEngineError(db, sql);
}

}  // namespace

WriteUnit::WriteUnit(IConnection& cn)
    : cn_(cn), outermost_(sqlite3_get_autocommit(cn.Handle()) != 0) {
  // Outside any transaction take the write lock now: a second writer then waits (busy timeout)
  // instead of failing when it upgrades a read lock later.
  Run(cn_, outermost_ ? "BEGIN IMMEDIATE" : "SAVEPOINT orv_unit");
}

void WriteUnit::Commit() {
  Run(cn_, outermost_ ? "COMMIT" : "RELEASE orv_unit");
  done_ = true;
}

WriteUnit::~WriteUnit() {
  if (done_ || cn_.State() != kStateOpen) return;
  sqlite3* db = cn_.Handle();
  if (outermost_) {
    // The engine may already have rolled back (for example on a full disk).
    if (!sqlite3_get_autocommit(db)) sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
  } else {
    sqlite3_exec(db, "ROLLBACK TO orv_unit", nullptr, nullptr, nullptr);
    sqlite3_exec(db, "RELEASE orv_unit", nullptr, nullptr, nullptr);
  }
}

}  // namespace orv::db
