// Runs a component method's writes as one unit: on an error nothing of the call stays written.
//
//   WriteUnit unit(cn);
//   ... writes ...
//   unit.Commit();
//
// Outside a transaction the unit is a transaction of its own, taken with the write lock up
// front (a second writer waits for it); inside a caller's transaction it is a savepoint, so it
// nests. A unit that is destroyed without Commit rolls back.
#pragma once

#include "orv/db/connection.h"

namespace orv::db {

class WriteUnit {
 public:
  explicit WriteUnit(IConnection& cn);
  explicit WriteUnit(const Variant& cn) : WriteUnit(ConnectionOf(cn)) {}
  ~WriteUnit();
  WriteUnit(const WriteUnit&) = delete;
  WriteUnit& operator=(const WriteUnit&) = delete;

  void Commit();

 private:
  IConnection& cn_;
  bool outermost_;
  bool done_ = false;
};

}  // namespace orv::db
