#include "orv/db/read_snapshot.h"

namespace orv::db {

ReadSnapshot::ReadSnapshot(const Variant& cn) {
  if (cn.type() != VarType::Object || !cn.object()) return;
  auto* c = static_cast<IConnection*>(cn.object()->QueryInterface(IConnection::kIid));
  if (!c || c->State() != kStateOpen) return;
  sqlite3* db = c->Handle();
  if (!sqlite3_get_autocommit(db)) return;
  // A deferred transaction that only reads takes no write lock: writers are not held up.
  if (sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK) return;
  owner_ = cn.object();
  cn_ = c;
}

ReadSnapshot::~ReadSnapshot() {
  if (!cn_ || cn_->State() != kStateOpen) return;
  sqlite3* db = cn_->Handle();
  if (!sqlite3_get_autocommit(db)) sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
}

}  // namespace orv::db
