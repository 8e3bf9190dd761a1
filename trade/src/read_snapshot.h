// The rows of one voucher read as one state of the year database.
#pragma once

#include "orv/db/connection.h"

namespace orv::trade {

// Holds one read transaction on `cn` for its lifetime, so that the legs of a voucher are read
// from one state of the database (a writer on another connection cannot slip in between two
// legs), and the engine takes its read lock once instead of once per statement. Inside a
// transaction the caller already holds, and on a connection that is not open (whose error the
// read itself then reports), it does nothing.
class ReadSnapshot {
 public:
  explicit ReadSnapshot(const Variant& cn);
  ~ReadSnapshot();
  ReadSnapshot(const ReadSnapshot&) = delete;
  ReadSnapshot& operator=(const ReadSnapshot&) = delete;

 private:
  Ref<Object> owner_;              // keeps the connection object alive
  db::IConnection* cn_ = nullptr;  // set when this object began the transaction
};

}  // namespace orv::trade
