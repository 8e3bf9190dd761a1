// The account master beside raw SQLite, with 1,000 and 10,000 accounts in the year:
//   Save "New" of one account: two group lookups, the account row, its details row and twelve
//     monthly rows, as one unit (a savepoint inside the caller's transaction, so that the disk's
//     flush does not hide the cost of the code; the transaction is rolled back every 500 saves
//     to keep the table at its size);
//   Get_Accounts_With_Details over every posting account: the list query, then per account its
//     row and its details row, each column kept as a value.
// The cost per account must not grow with the table. The baseline runs the same statements
// through prepared statements it reuses, binding and keeping the same values.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bench_support.h"
#include "orv/registry.h"

namespace orv::bench {
namespace {

constexpr const char* kList =
    "Select AM_AccId from ACC_MASTER_2008_2009 where AM_GrpFlag='L' order by AM_AccId";
constexpr int16_t kGroup = 1;

// The id of the k-th account a Save benchmark adds, above the prefilled ones. The saves run in
// a transaction that is rolled back every kBatch saves, so the table stays at its size and
// the ids come round again.
constexpr int kBatch = 500;
int16_t NewId(int64_t k) {
  return int16_t(20000 + k % kBatch);
}

// The baseline's statements are kept for the whole run.
struct Stmt : Statement {
  Stmt(sqlite3* db, const std::string& sql) : Statement(db, sql, SQLITE_PREPARE_PERSISTENT) {}
};

// The declared types of a table's columns, in table order.
std::vector<std::string> ColumnTypes(sqlite3* db, const std::string& table) {
  Stmt info(db, "PRAGMA table_info(" + table + ")");
  std::vector<std::string> types;
  while (sqlite3_step(info.get()) == SQLITE_ROW)
    types.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 2)));
  return types;
}

std::string InsertAll(const std::string& table, size_t columns) {
  std::string sql = "INSERT INTO " + table + " VALUES (?";
  for (size_t i = 1; i < columns; ++i) sql += ",?";
  return sql + ")";
}

// Save "New" of one posting account through raw SQLite: the statements the component runs.
class RawSave {
 public:
  explicit RawSave(sqlite3* db)
      : detail_types_(ColumnTypes(db, "ACC_DETAILS_2008_2009")),
        level_(db, "SELECT AM_LevelNo FROM ACC_MASTER_2008_2009 WHERE AM_AccId=?"),
        type_(db, "SELECT AM_AccType FROM ACC_MASTER_2008_2009 WHERE AM_AccId=?"),
        master_(db, InsertAll("ACC_MASTER_2008_2009", 11)),
        details_(db, InsertAll("ACC_DETAILS_2008_2009", detail_types_.size())),
        month_(db, "INSERT INTO ACC_BALANCE_2008_2009 VALUES (?,?,0,0)"),
        savepoint_(db, "SAVEPOINT unit"),
        release_(db, "RELEASE unit") {}

  void Save(int16_t id) {
    savepoint_.Run();
    sqlite3_bind_int(level_.get(), 1, kGroup);
    const int level =
        sqlite3_step(level_.get()) == SQLITE_ROW ? sqlite3_column_int(level_.get(), 0) : 0;
    sqlite3_reset(level_.get());
    sqlite3_bind_int(type_.get(), 1, kGroup);
    std::string type;
    if (sqlite3_step(type_.get()) == SQLITE_ROW)
      type = reinterpret_cast<const char*>(sqlite3_column_text(type_.get(), 0));
    sqlite3_reset(type_.get());

    const std::string name = "Account " + std::to_string(id);
    sqlite3_bind_int(master_.get(), 1, id);
    sqlite3_bind_text(master_.get(), 2, name.data(), int(name.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(master_.get(), 3, "", 0, SQLITE_STATIC);
    sqlite3_bind_double(master_.get(), 4, 100.0);
    sqlite3_bind_text(master_.get(), 5, "Dr", 2, SQLITE_STATIC);
    sqlite3_bind_text(master_.get(), 6, "L", 1, SQLITE_STATIC);
    sqlite3_bind_int(master_.get(), 7, kGroup);
    sqlite3_bind_int(master_.get(), 8, level + 1);
    sqlite3_bind_text(master_.get(), 9, type.data(), int(type.size()), SQLITE_TRANSIENT);
    sqlite3_bind_double(master_.get(), 10, 0);
    sqlite3_bind_text(master_.get(), 11, "", 0, SQLITE_STATIC);
    master_.Run();

    // A new details object: empty texts, zeros and false.
    sqlite3_bind_int(details_.get(), 1, id);
    for (size_t c = 1; c < detail_types_.size(); ++c) {
      const std::string& t = detail_types_[c];
      if (t == "TEXT")
        sqlite3_bind_text(details_.get(), int(c) + 1, "", 0, SQLITE_STATIC);
      else if (t == "DOUBLE")
        sqlite3_bind_double(details_.get(), int(c) + 1, 0);
      else
        sqlite3_bind_int(details_.get(), int(c) + 1, 0);
    }
    details_.Run();

    static const char* const kMonths[] = {"200804", "200805", "200806", "200807",
                                          "200808", "200809", "200810", "200811",
                                          "200812", "200901", "200902", "200903"};
    for (const char* month : kMonths) {
      sqlite3_bind_int(month_.get(), 1, id);
      sqlite3_bind_text(month_.get(), 2, month, 6, SQLITE_STATIC);
      month_.Run();
    }
    release_.Run();
  }

 private:
  std::vector<std::string> detail_types_;
  Stmt level_, type_, master_, details_, month_, savepoint_, release_;
};

// A year with group 1 and `accounts` posting accounts (ids 2..) in it, each with its details
// and monthly rows.
void Prefill(BenchDatabase& d, int accounts) {
  d.Exec("BEGIN");
  d.Exec(
      "INSERT INTO ACC_MASTER_2008_2009 (AM_AccId, AM_AccName, AM_GrpFlag, AM_GrpNo, AM_LevelNo, "
      "AM_AccType) VALUES (1, 'Sundry Debtors', 'G', 0, 1, 'Asset')");
  RawSave save(d.raw());
  for (int i = 0; i < accounts; ++i) save.Save(int16_t(2 + i));
  d.Exec("COMMIT");
  // Both sides then read the rows from the database file, not from the write-ahead log.
  d.Exec("PRAGMA wal_checkpoint(TRUNCATE)");
}

void BM_SaveNew_Component(benchmark::State& state) {
  UseBuildRegistry();
  BenchDatabase d;
  Prefill(d, int(state.range(0)));
  Ref<Dispatch> account = CreateObject("ORVMasters.clsAccount");
  Ref<Dispatch> details = AsDispatch(account->Get("AD"));
  account->Put("OpeningBalance", Variant(100.0));
  account->Put("OpeningBalanceSign", Variant("Dr"));
  account->Put("GroupFlag", Variant("L"));
  account->Put("GroupNo", Variant(kGroup));
  int64_t k = 0;
  d.conn().BeginTrans();
  for (auto _ : state) {
    const int16_t id = NewId(k);
    account->Put("AccountId", Variant(id));
    account->Put("AccountName", Variant("Account " + std::to_string(id)));
    details->Put("AccountId", Variant(id));
    std::vector<Variant> args{Variant("New"), Variant(id), d.cn(), Variant(int16_t{2008}),
                              Variant(int16_t{2009})};
    account->Call("Save", std::span<Variant>(args));
    if (++k % kBatch == 0) {
      d.conn().RollbackTrans();
      d.conn().BeginTrans();
    }
  }
  d.conn().RollbackTrans();
  state.SetItemsProcessed(state.iterations());
}

void BM_SaveNew_RawSqlite(benchmark::State& state) {
  BenchDatabase d;
  Prefill(d, int(state.range(0)));
  RawSave save(d.raw());
  int64_t k = 0;
  d.Exec("BEGIN IMMEDIATE");
  for (auto _ : state) {
    save.Save(NewId(k));
    if (++k % kBatch == 0) {
      d.Exec("ROLLBACK");
      d.Exec("BEGIN IMMEDIATE");
    }
  }
  d.Exec("ROLLBACK");
  state.SetItemsProcessed(state.iterations());
}

void BM_ListWithDetails_Component(benchmark::State& state) {
  UseBuildRegistry();
  BenchDatabase d;
  const int accounts = int(state.range(0));
  Prefill(d, accounts);
  ListThroughComponent(state, d, "ORVMasters.clsAccount", "Get_Accounts_With_Details", kList,
                       accounts, "wrong account count");
}

// What a fully read account holds: the columns of its row and of its details row.
struct RawAccount {
  std::vector<Variant> master;
  std::vector<Variant> details;
};

void BM_ListWithDetails_RawSqlite(benchmark::State& state) {
  BenchDatabase d;
  const int accounts = int(state.range(0));
  Prefill(d, accounts);
  Stmt list(d.raw(), kList);
  Stmt master(d.raw(), "SELECT * FROM ACC_MASTER_2008_2009 WHERE AM_AccId=?");
  Stmt details(d.raw(), "SELECT * FROM ACC_DETAILS_2008_2009 WHERE AD_AccId=?");
  const auto read_row = [](Stmt& st, int id, std::vector<Variant>& out) {
    sqlite3_bind_int(st.get(), 1, id);
    if (sqlite3_step(st.get()) == SQLITE_ROW) {
      const int n = sqlite3_column_count(st.get());
      out.reserve(size_t(n));
      for (int c = 0; c < n; ++c) out.push_back(ColumnValue(st.get(), c));
    }
    sqlite3_reset(st.get());
  };
  for (auto _ : state) {
    std::vector<int> ids;
    while (sqlite3_step(list.get()) == SQLITE_ROW) ids.push_back(sqlite3_column_int(list.get(), 0));
    sqlite3_reset(list.get());
    std::vector<RawAccount> result(ids.size() + 1);
    for (size_t i = 0; i < ids.size(); ++i) {
      read_row(master, ids[i], result[i].master);
      read_row(details, ids[i], result[i].details);
    }
    if (int(ids.size()) != accounts) state.SkipWithError("wrong account count");
    benchmark::DoNotOptimize(result);
  }
  state.SetItemsProcessed(state.iterations() * accounts);
}

BENCHMARK(BM_SaveNew_Component)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveNew_RawSqlite)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ListWithDetails_Component)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListWithDetails_RawSqlite)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// Prints, after the usual table, for each operation the CPU cost per account at 10,000 accounts
// over that at 1,000, and the component's cost per account over the baseline's. With
// --benchmark_repetitions the median of the repetitions is used.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs) {
      if (r.run_type != Run::RT_Iteration || r.iterations == 0) continue;
      const std::string name = r.benchmark_name();
      const size_t slash = name.find('/');
      const int accounts = std::stoi(name.substr(slash + 1));
      const bool list = name.find("List") != std::string::npos;
      // CPU seconds per iteration over the accounts one iteration handles, in nanoseconds.
      const double seconds = r.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(r.time_unit);
      samples_[name.substr(0, slash)][accounts].push_back(seconds * 1e9 / (list ? accounts : 1));
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    for (const char* op : {"SaveNew", "ListWithDetails"}) {
      const auto c = Medians(std::string("BM_") + op + "_Component");
      const auto raw = Medians(std::string("BM_") + op + "_RawSqlite");
      for (const auto* m : {&c, &raw})
        if (m->count(1000) && m->count(10000))
          std::printf("%s, %s, per account: %.0f ns at 1,000, %.0f ns at 10,000, ratio %.2f\n", op,
                      m == &c ? "component" : "raw SQLite", m->at(1000), m->at(10000),
                      m->at(10000) / m->at(1000));
      for (int n : {1000, 10000})
        if (c.count(n) && raw.count(n))
          std::printf("%s, component / raw SQLite at %d accounts: %.2f\n", op, n,
                      c.at(n) / raw.at(n));
    }
  }

 private:
  std::map<int, double> Medians(const std::string& name) {
    std::map<int, double> out;
    for (auto& [accounts, v] : samples_[name]) {
      std::sort(v.begin(), v.end());
      out[accounts] = v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
    }
    return out;
  }
  std::map<std::string, std::map<int, std::vector<double>>> samples_;
};

}  // namespace
}  // namespace orv::bench

int main(int argc, char** argv) {
  orv::bench::RatioReporter reporter;
  return orv::bench::RunBenchmarks(argc, argv, reporter);
}
