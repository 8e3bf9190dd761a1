#include "bench_support.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <stdexcept>
#include <vector>

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

Statement::Statement(sqlite3* db, const std::string& sql, unsigned flags) {
  if (sqlite3_prepare_v3(db, sql.c_str(), -1, flags, &s_, nullptr) != SQLITE_OK)
    throw std::runtime_error(sqlite3_errmsg(db));
}

Statement::~Statement() {
  sqlite3_finalize(s_);
}

void Statement::Run() {
  if (sqlite3_step(s_) != SQLITE_DONE)
    throw std::runtime_error(sqlite3_errmsg(sqlite3_db_handle(s_)));
  sqlite3_reset(s_);
}

void ReadColumns(sqlite3_stmt* s) {
  const int n = sqlite3_column_count(s);
  for (int c = 0; c < n; ++c) {
    switch (sqlite3_column_type(s, c)) {
      case SQLITE_INTEGER:
        benchmark::DoNotOptimize(sqlite3_column_int(s, c));
        break;
      case SQLITE_FLOAT:
        benchmark::DoNotOptimize(sqlite3_column_double(s, c));
        break;
      case SQLITE_TEXT:
        benchmark::DoNotOptimize(
            std::string(reinterpret_cast<const char*>(sqlite3_column_text(s, c)),
                        size_t(sqlite3_column_bytes(s, c))));
        break;
      default:
        break;
    }
  }
}

Variant ColumnValue(sqlite3_stmt* s, int c) {
  switch (sqlite3_column_type(s, c)) {
    case SQLITE_INTEGER:
      return Variant(int32_t(sqlite3_column_int(s, c)));
    case SQLITE_FLOAT:
      return Variant(sqlite3_column_double(s, c));
    case SQLITE_NULL:
      return Variant::MakeNull();
    default:
      return Variant(std::string(reinterpret_cast<const char*>(sqlite3_column_text(s, c)),
                                 size_t(sqlite3_column_bytes(s, c))));
  }
}

void ReadVoucherRows(benchmark::State& state, sqlite3_stmt* row, sqlite3_stmt* name, int16_t id,
                     int legs) {
  for (int leg = 0; leg < legs; ++leg) {
    sqlite3_bind_int(row, 1, id);
    sqlite3_bind_int(row, 2, leg + 1);
    if (sqlite3_step(row) != SQLITE_ROW) state.SkipWithError("row not found");
    ReadColumns(row);
    const int account = sqlite3_column_int(row, 1);
    sqlite3_reset(row);
    sqlite3_bind_int(name, 1, account);
    if (sqlite3_step(name) == SQLITE_ROW)
      benchmark::DoNotOptimize(
          std::string(reinterpret_cast<const char*>(sqlite3_column_text(name, 0))));
    sqlite3_reset(name);
  }
}

void ListThroughComponent(benchmark::State& state, BenchDatabase& d, const char* prog_id,
                          const char* method, const char* sql, int expected,
                          const char* wrong_count) {
  Ref<Dispatch> obj = CreateObject(prog_id);
  for (auto _ : state) {
    std::vector<Variant> args{Variant(sql), d.cn(), Variant(int16_t{2008}), Variant(int16_t{2009}),
                              Variant()};
    const Variant count = obj->Call(method, std::span<Variant>(args));
    if (count.ToInt32() != expected) state.SkipWithError(wrong_count);
    benchmark::DoNotOptimize(args[4]);
  }
  state.SetItemsProcessed(state.iterations() * expected);
}

int RunBenchmarks(int argc, char** argv, benchmark::BenchmarkReporter& reporter) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}

}  // namespace orv::bench
