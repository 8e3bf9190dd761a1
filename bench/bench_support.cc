#include "bench_support.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <stdexcept>

#include "orv/db/schema.h"
#include "orv/registry.h"

namespace orv::bench {

BenchDatabase::BenchDatabase() {
  static std::atomic<int> n{0};
  dir_ = std::filesystem::temp_directory_path() /
         ("orv-bench-" + std::to_string(getpid()) + "-" + std::to_string(n++));
  std::filesystem::remove_all(dir_);
  const auto file = db::YearDatabaseFile(dir_, "BENCH", 2008, 2009);
  db::CreateYearDatabase(file, 2008, 2009);
  cn_ = Variant(db::NewConnection());
  conn_ = &db::ConnectionOf(cn_);
  conn_->Open(db::ConnectionStringFor(file), "", "", -1);
  if (sqlite3_open_v2(file.c_str(), &raw_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
    throw std::runtime_error("cannot open the baseline connection");
  sqlite3_busy_timeout(raw_, 30000);
  Exec("PRAGMA synchronous=FULL");
}

BenchDatabase::~BenchDatabase() {
  sqlite3_close_v2(raw_);
  cn_ = Variant();
  std::filesystem::remove_all(dir_);
}

void BenchDatabase::Exec(const std::string& sql) {
  char* err = nullptr;
  if (sqlite3_exec(raw_, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
    std::string m = err ? err : "?";
    sqlite3_free(err);
    throw std::runtime_error(m + " [" + sql + "]");
  }
}

void UseBuildRegistry() {
  if (!std::getenv("ORV_REGISTRY")) Registry::Instance().SetFile(ORV_BUILD_REGISTRY);
}

}  // namespace orv::bench
