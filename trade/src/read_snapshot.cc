#include "read_snapshot.h"

namespace orv::trade {

ReadSnapshot::ReadSnapshot(const Variant& cn) {
  if (cn.type() != VarType::Object || !cn.object()) return;
  auto* c = static_cast<db::IConnection*>(cn.object()->QueryInterface(db::IConnection::kIid));
  if (!c || c->State() != db::kStateOpen) return;
  sqlite3* db = c->Handle();
  if (!sqlite3_get_autocommit(db)) return;
  // Deferred and read-only: it takes no write lock, so writers are not held up.
  if (sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK) return;
  owner_ = cn.object();
  cn_ = c;
}

ReadSnapshot::~ReadSnapshot() {
  if (!cn_ || cn_->State() != db::kStateOpen) return;
  sqlite3* db = cn_->Handle();
  if (!sqlite3_get_autocommit(db)) sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
}

}  // namespace orv::trade
