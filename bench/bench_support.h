// Shared set-up of the benchmarks: a fresh year database in a temporary folder, opened both
// through the data-access layer (as components see it) and as a raw SQLite handle for the
// baseline, with the same durability settings; the baseline's prepared statements and column
// reads; the voucher table as the voucher benchmarks fill and read it; and a main that runs the
// benchmarks with a program's own reporter.
#pragma once

#include <benchmark/benchmark.h>
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

inline constexpr int16_t kY1 = 2008, kY2 = 2009;

// A prepared statement of a raw connection, finalized when it goes. `flags` are those of
// sqlite3_prepare_v3 (0 prepares as sqlite3_prepare_v2 does).
class Statement {
 public:
  Statement(sqlite3* db, const std::string& sql, unsigned flags = 0);
  Statement(BenchDatabase& d, const std::string& sql) : Statement(d.raw(), sql) {}
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  sqlite3_stmt* get() const { return s_; }
  // Steps a statement that returns no row and resets it; throws the engine's message on failure.
  void Run();

 private:
  sqlite3_stmt* s_ = nullptr;
};

// Takes every column of the current row of `s` out of the engine by its storage type (numbers
// as numbers, texts copied), as a reader of the row does.
void ReadColumns(sqlite3_stmt* s);
// Column `c` of the current row of `s` as the value a component keeps of it.
Variant ColumnValue(sqlite3_stmt* s, int c);

// The voucher table as the voucher benchmarks use it: vouchers of `legs` rows each (entries
// 1..legs, leg k posted to account k + 1), numbered across the 16-bit range so that 50,000 of
// them fit.
inline constexpr const char* kDeleteVoucherRow =
    "DELETE FROM VOUCHERS_2008_2009 WHERE V_Id=? AND V_EntryNo=?";
inline constexpr const char* kSelectVoucherRow =
    "SELECT * FROM VOUCHERS_2008_2009 WHERE V_Id=? AND V_EntryNo=?";
inline constexpr const char* kSelectAccountName =
    "SELECT AM_AccName FROM ACC_MASTER_2008_2009 WHERE AM_AccId=?";

inline int16_t VoucherId(int64_t i, int vouchers) {
  return int16_t(i - vouchers / 2);
}

// Fills the year with accounts 1..`legs` ("Account 1", ...) and `vouchers` vouchers through
// `insert`, whose parameters bind(statement, voucher id, leg) sets, in one transaction; then
// checkpoints, so that both sides find the rows in the database file, not in the write-ahead log.
template <class BindRow>
void PrefillVouchers(BenchDatabase& d, int vouchers, int legs, const char* insert, BindRow bind) {
  d.Exec("BEGIN");
  for (int a = 1; a <= legs; ++a)
    d.Exec(
        "INSERT INTO ACC_MASTER_2008_2009 (AM_AccId,AM_AccName,AM_GrpFlag,AM_GrpNo,AM_LevelNo,"
        "AM_AccType) VALUES (" +
        std::to_string(a) + ",'Account " + std::to_string(a) + "','L',0,1,'')");
  Statement ins(d, insert);
  for (int i = 0; i < vouchers; ++i)
    for (int k = 0; k < legs; ++k) {
      bind(ins.get(), VoucherId(i, vouchers), k);
      sqlite3_step(ins.get());
      sqlite3_reset(ins.get());
    }
  d.Exec("COMMIT");
  d.Exec("PRAGMA wal_checkpoint(TRUNCATE)");
}

// How a run of raw saves is committed: each voucher in a transaction of its own (`durable`), or
// all of them in one caller's transaction committed every `commit_every` vouchers, each voucher
// there in a savepoint of its own when `savepoint` names one.
struct RawCommit {
  bool durable;
  const char* savepoint;
  int commit_every;
};

// Saves one voucher of `legs` rows per iteration on the raw connection as a save does: the
// voucher id_of(k) for the k-th iteration, per leg a keyed delete (kDeleteVoucherRow) and an
// insert through `insert`, whose parameters bind(statement, id, leg, k) sets.
template <class IdOf, class BindRow>
void SaveVouchersRaw(benchmark::State& state, BenchDatabase& d, int legs, const char* insert,
                     const RawCommit& how, IdOf id_of, BindRow bind) {
  Statement del(d, kDeleteVoucherRow), ins(d, insert);
  const std::string savepoint = how.savepoint ? std::string("SAVEPOINT ") + how.savepoint : "";
  const std::string release = how.savepoint ? std::string("RELEASE ") + how.savepoint : "";
  int64_t k = 0;
  if (!how.durable) d.Exec("BEGIN IMMEDIATE");
  for (auto _ : state) {
    const int16_t id = id_of(k);
    if (how.durable) d.Exec("BEGIN IMMEDIATE");
    if (how.savepoint) d.Exec(savepoint);
    for (int leg = 0; leg < legs; ++leg) {
      sqlite3_bind_int(del.get(), 1, id);
      sqlite3_bind_int(del.get(), 2, leg + 1);
      sqlite3_step(del.get());
      sqlite3_reset(del.get());
      bind(ins.get(), id, leg, k);
      if (sqlite3_step(ins.get()) != SQLITE_DONE) state.SkipWithError(sqlite3_errmsg(d.raw()));
      sqlite3_reset(ins.get());
    }
    if (how.savepoint) d.Exec(release);
    if (how.durable) d.Exec("COMMIT");
    if (++k % how.commit_every == 0 && !how.durable) {
      d.Exec("COMMIT");
      d.Exec("BEGIN IMMEDIATE");
    }
  }
  if (!how.durable) d.Exec("COMMIT");
  state.SetItemsProcessed(state.iterations());
}

// Reads the `legs` rows of voucher `id` as a read does: each row by key through `row`
// (kSelectVoucherRow), every column, and the row's account name through `name`
// (kSelectAccountName).
void ReadVoucherRows(benchmark::State& state, sqlite3_stmt* row, sqlite3_stmt* name, int16_t id,
                     int legs);

// Calls the list method `method` of a new `prog_id` object once per iteration with `sql` (and
// the connection, the year pair and the by-reference array), as a front-end lists rows; an
// iteration that lists other than `expected` rows is `wrong_count`.
void ListThroughComponent(benchmark::State& state, BenchDatabase& d, const char* prog_id,
                          const char* method, const char* sql, int expected,
                          const char* wrong_count);

// What a benchmark program's main does, with `reporter` for its output.
int RunBenchmarks(int argc, char** argv, benchmark::BenchmarkReporter& reporter);

}  // namespace orv::bench
