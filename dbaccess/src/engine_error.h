// Private helpers shared by the data-access sources.
#pragma once

#include <sqlite3.h>

#include <memory>
#include <string_view>

#include "orv/error.h"

namespace orv::db {

inline constexpr const char* kSource = "ORV.Database";

[[noreturn]] inline void ThrowDb(int32_t number, std::string description) {
  ThrowError(number, kSource, std::move(description));
}

// Owns a prepared statement made outside the connection's cache.
struct StmtDeleter {
  void operator()(sqlite3_stmt* s) const noexcept { sqlite3_finalize(s); }
};
using StmtPtr = std::unique_ptr<sqlite3_stmt, StmtDeleter>;

struct DbDeleter {
  void operator()(sqlite3* db) const noexcept { sqlite3_close_v2(db); }
};
using DbPtr = std::unique_ptr<sqlite3, DbDeleter>;

// True when only blanks, semicolons and comments remain.
bool OnlyTrailingNoise(std::string_view rest) noexcept;

// The stable check value stored for a database password (not a protection: the file is the
// owner's; it keeps a wrong password from opening the file, as the original engine did).
std::string PasswordCheck(std::string_view password);

}  // namespace orv::db
