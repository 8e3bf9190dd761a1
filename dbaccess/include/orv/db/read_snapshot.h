// A read of several rows seen as one snapshot of the year database.
#pragma once

#include "orv/db/connection.h"

namespace orv::db {

// Holds one read transaction on `cn` for its lifetime, so that the rows a voucher (or a list
// of vouchers) is read from belong to one state of the database, and the engine takes its read
// lock once instead of once per statement. Inside a transaction the caller already holds, and
// on a connection that is not open (whose error the read itself reports), it does nothing.
class ReadSnapshot {
 public:
  explicit ReadSnapshot(const Variant& cn);
  ~ReadSnapshot();
  ReadSnapshot(const ReadSnapshot&) = delete;
  ReadSnapshot& operator=(const ReadSnapshot&) = delete;

 private:
  Ref<Object> owner_;          // keeps the connection object alive
  IConnection* cn_ = nullptr;  // set when this object began the transaction
};

}  // namespace orv::db
