// The connection to a year database, as every persistence method receives it.
//
// A connection is an automation object (the front-end holds it and passes it to every
// component method by reference). Components reach its engine-level interface, IConnection,
// through QueryInterface; its implementation lives in the library that created the object, so
// a connection opened by the company component serves every other component unchanged.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "orv/dispatch.h"

namespace orv::db {

inline constexpr int32_t kStateClosed = 0;
inline constexpr int32_t kStateOpen = 1;

// The only provider the components name.
inline constexpr std::string_view kProvider = "Microsoft.Jet.OLEDB.4.0";

class IConnection {
 public:
  static const Guid kIid;

  virtual int32_t State() const noexcept = 0;
  virtual const std::string& ConnectionString() const noexcept = 0;
  // Opens the year database the connection string names. Never creates a file; refuses an
  // unknown provider, a missing file or folder, a file that is not a year database and a wrong
  // database password.
  virtual void Open(std::string_view connection_string, std::string_view user,
                    std::string_view password, int32_t options) = 0;
  virtual void Close() = 0;
  // Runs one statement that returns no rows; returns the number of rows it changed.
  virtual int64_t Execute(std::string_view sql) = 0;

  // Transactions a front-end (or an import) opens around many saves; they nest.
  virtual int32_t BeginTrans() = 0;
  virtual void CommitTrans() = 0;
  virtual void RollbackTrans() = 0;

  // The engine handle; the object-closed error when the connection is not open.
  virtual sqlite3* Handle() = 0;
  // A prepared statement for `sql`, reserved for the caller until ReleaseStatement. Numbers
  // and quoted texts after WHERE, SET and VALUES are bound as parameters, so statements that
  // differ only in their key share one cached preparation.
  virtual sqlite3_stmt* AcquireStatement(std::string_view sql) = 0;
  virtual void ReleaseStatement(sqlite3_stmt* stmt) noexcept = 0;
  // A slot kept with a cached statement for as long as its preparation lives: the recordset
  // keeps the statement's column description there, so it is worked out once per preparation.
  virtual std::shared_ptr<const void>& StatementSlot(sqlite3_stmt* stmt) = 0;

 protected:
  ~IConnection() = default;
};

// Creates a new, closed connection object.
Ref<Dispatch> NewConnection();

// The connection interface of a `cn` argument; the object-not-set error for nothing, the type
// mismatch error for an object that is not a connection.
IConnection& ConnectionOf(const Variant& cn);

// Raises the engine's last error on `db` as an automation error (the database-error number with
// the engine's message), adding `context` (usually the statement) to the description.
[[noreturn]] void ThrowEngineError(sqlite3* db, std::string_view context);

}  // namespace orv::db
