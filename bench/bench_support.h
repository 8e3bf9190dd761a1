// Shared set-up of the benchmarks: a fresh year database in a temporary folder, opened both
// through the data-access layer (as components see it) and as a raw SQLite handle for the
// baseline, with the same durability settings.
#pragma once

#include <sqlite3.h>

#include <filesystem>
#include <string>

#include "orv/db/connection.h"

namespace orv::bench {

class BenchDatabase {
 public:
  BenchDatabase();
  ~BenchDatabase();
  BenchDatabase(const BenchDatabase&) = delete;
  BenchDatabase& operator=(const BenchDatabase&) = delete;

  Variant& cn() { return cn_; }
  db::IConnection& conn() { return *conn_; }
  // A second, raw connection to the same file for the baseline.
  sqlite3* raw() { return raw_; }
  // Runs SQL on the raw connection (set-up only).
  void Exec(const std::string& sql);

 private:
  std::filesystem::path dir_;
  Variant cn_;
  db::IConnection* conn_ = nullptr;
  sqlite3* raw_ = nullptr;
};

// Points the class registry at the build's registry file unless ORV_REGISTRY says otherwise.
void UseBuildRegistry();

}  // namespace orv::bench
