#include "orv/db/unit.h"

#include "engine_error.h"

namespace orv::db {
namespace {

// Through the connection's statement cache: units are frequent, their statements few.
void Run(IConnection& cn, const char* sql) {
  cn.Execute(sql);
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
    try {
      Run(cn_, "ROLLBACK TO orv_unit");
      Run(cn_, "RELEASE orv_unit");
    } catch (const AutomationError&) {
      // Nothing more can be done from a destructor; the caller's transaction decides.
    }
  }
}

}  // namespace orv::db
