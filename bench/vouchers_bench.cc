// Five-leg receipts saved and read through the voucher component (clsRcptVoucher, created by
// ProgID and called by late binding), beside raw SQLite doing the same statements with reused
// prepared statements, with 1,000 and 50,000 receipts (five rows each) in the voucher table.
//
// Save: each receipt replaces its five rows (per leg a keyed delete and an insert of every
// column the row class writes). "Durable" commits every receipt on its own, as a front-end
// posting one receipt does (synchronous=FULL: one sync per receipt); "InTransaction" runs inside
// one caller transaction (BeginTrans ... CommitTrans, committed every 500 receipts), which shows
// the work done per receipt without the sync. There the component saves each receipt in a
// savepoint (all legs or none, undoing only its own rows); a second baseline does the same, to
// show the engine's share of that price.
// Read: each receipt's five rows by key, and each row's account name from the account master
// (the component creates one clsAccount per row through the registry, as its contract says).
//
// After the table, the summary gives receipts per second for both sides, the component's cost
// over the baseline's, and the cost per receipt at 50,000 over that at 1,000.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <map>
#include <string>

#include "bench_support.h"
#include "orv/registry.h"

namespace orv::bench {
namespace {

constexpr int kCommitEvery = 500;

// The receipt of the k-th iteration: spread over the table rather than walking it in order.
int64_t Pick(int64_t k, int vouchers) {
  return (k * 7919) % vouchers;
}

struct LegNames {
  const char* object;
  const char* account;
  const char* amount;
  const char* sign;
};
constexpr std::array<LegNames, 5> kLegs = {{
    {"Bank", "BankAccId", "BankAmt", "BankAmtSign"},
    {"SalesReturn", "SalesReturnAccId", "SalesReturnAmt", "SalesReturnAmtSign"},
    {"RateDifference", "RateDiffAccId", "RateDiffAmt", "RateDiffAmtSign"},
    {"Discount", "DiscAccId", "DiscAmt", "DiscAmtSign"},
    {"Customer", "CustomerAccId", "CustomerAmt", "CustomerAmtSign"},
}};
constexpr std::array<double, 5> kAmounts = {9700, 0, 100, 200, 10000};

constexpr const char* kInsert =
    "INSERT INTO VOUCHERS_2008_2009 (V_Id,V_AccId,V_Date,V_Amt,V_AmtSign,V_VoucherType,"
    "V_EntryNo,V_Remarks,V_PVoucherNo,V_PVoucherType,V_VchPrefix,V_VchPrefix2,V_VchSuffix,"
    "V_VchNo,V_StrVchNo,V_VchType1,V_VchType2,V_VchType3,V_VchFlag,V_Extra1,V_Extra2,V_Extra3,"
    "V_Extra4,V_Extra5) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)";
// Binds leg `k` of receipt `id` to the insert, column for column as the row class writes it.
void BindRow(sqlite3_stmt* s, int16_t id, int k, double amount) {
  int c = 1;
  auto text = [&](const char* t) { sqlite3_bind_text(s, c++, t, -1, SQLITE_STATIC); };
  auto integer = [&](int v) { sqlite3_bind_int(s, c++, v); };
  integer(id);
  integer(k + 1);  // account
  text("2008-09-12");
  sqlite3_bind_double(s, c++, amount);
  text(k == 4 ? "Cr" : "Dr");
  text("Receipt");
  integer(k + 1);  // entry number
  text("Receipt of bill 17");
  integer(0);
  text("");
  for (int i = 0; i < 3; ++i) text("R");  // prefixes and suffix
  integer(17);
  text("R-17");
  for (int i = 0; i < 3; ++i) text("");  // further types
  integer(0);                            // flag
  for (int i = 0; i < 5; ++i) text("");  // spare texts
}

// The year database with five accounts and `vouchers` five-leg receipts.
void Prefill(BenchDatabase& d, int vouchers) {
  PrefillVouchers(d, vouchers, 5, kInsert, [](sqlite3_stmt* s, int16_t id, int k) {
    BindRow(s, id, k, kAmounts[size_t(k)]);
  });
}

Ref<Dispatch> NewReceipt() {
  UseBuildRegistry();
  Ref<Dispatch> r = CreateObject("ORVVouchers.clsRcptVoucher");
  r->Put("V_Date", Variant(MakeDate({2008, 9, 12})));
  r->Put("V_VoucherType", Variant("Receipt"));
  r->Put("V_Remarks", Variant("Receipt of bill 17"));
  for (const char* p : {"V_VchPrefix", "V_VchPrefix2", "V_VchSuffix"}) r->Put(p, Variant("R"));
  r->Put("V_VchNo", Variant(int16_t{17}));
  r->Put("V_StrVchNo", Variant("R-17"));
  for (size_t k = 0; k < 5; ++k) {
    r->Put(kLegs[k].account, Variant(int16_t(k + 1)));
    r->Put(kLegs[k].sign, Variant(k == 4 ? "Cr" : "Dr"));
  }
  return r;
}

void SaveComponent(benchmark::State& state, bool durable) {
  BenchDatabase d;
  const int vouchers = int(state.range(0));
  Prefill(d, vouchers);
  Ref<Dispatch> receipt = NewReceipt();
  Ref<Dispatch> cn = AsDispatch(d.cn());
  int64_t k = 0;
  if (!durable) cn->Call("BeginTrans", {});
  for (auto _ : state) {
    receipt->Put("V_Id", Variant(VoucherId(Pick(k, vouchers), vouchers)));
    for (size_t leg = 0; leg < 5; ++leg)
      receipt->Put(kLegs[leg].amount, Variant(kAmounts[leg] + double(k % 3)));
    receipt->Call("Save", {Variant("Edit"), d.cn(), Variant(kY1), Variant(kY2)});
    if (++k % kCommitEvery == 0 && !durable) {
      cn->Call("CommitTrans", {});
      cn->Call("BeginTrans", {});
    }
  }
  if (!durable) cn->Call("CommitTrans", {});
  state.SetItemsProcessed(state.iterations());
}

// `savepoint`: each receipt inside the caller's transaction also runs in a savepoint of its own,
// the engine's price of the component's all-or-nothing save there.
void SaveRaw(benchmark::State& state, bool durable, bool savepoint = false) {
  BenchDatabase d;
  const int vouchers = int(state.range(0));
  Prefill(d, vouchers);
  SaveVouchersRaw(
      state, d, 5, kInsert, RawCommit{durable, savepoint ? "receipt" : nullptr, kCommitEvery},
      [&](int64_t k) { return VoucherId(Pick(k, vouchers), vouchers); },
      [](sqlite3_stmt* s, int16_t id, int leg, int64_t k) {
        BindRow(s, id, leg, kAmounts[size_t(leg)] + double(k % 3));
      });
}

void BM_SaveReceiptDurable_Component(benchmark::State& state) {
  SaveComponent(state, true);
}
void BM_SaveReceiptDurable_RawSqlite(benchmark::State& state) {
  SaveRaw(state, true);
}
void BM_SaveReceiptInTransaction_Component(benchmark::State& state) {
  SaveComponent(state, false);
}
void BM_SaveReceiptInTransaction_RawSqlite(benchmark::State& state) {
  SaveRaw(state, false);
}

void BM_SaveReceiptInTransaction_RawSqliteSavepoint(benchmark::State& state) {
  SaveRaw(state, false, true);
}

void BM_ReadReceipt_Component(benchmark::State& state) {
  BenchDatabase d;
  const int vouchers = int(state.range(0));
  Prefill(d, vouchers);
  UseBuildRegistry();
  Ref<Dispatch> receipt = CreateObject("ORVVouchers.clsRcptVoucher");
  // The legs are the voucher's own objects: taken once, they show every Read's values.
  std::array<Ref<Dispatch>, 5> legs;
  for (size_t leg = 0; leg < 5; ++leg) legs[leg] = AsDispatch(receipt->Get(kLegs[leg].object));
  int64_t k = 0;
  for (auto _ : state) {
    const int16_t id = VoucherId(Pick(k++, vouchers), vouchers);
    receipt->Call("Read", {Variant(id), d.cn(), Variant(kY1), Variant(kY2)});
    for (size_t leg = 0; leg < 5; ++leg) {
      benchmark::DoNotOptimize(receipt->Get(kLegs[leg].account));
      benchmark::DoNotOptimize(receipt->Get(kLegs[leg].amount));
      benchmark::DoNotOptimize(receipt->Get(kLegs[leg].sign));
      benchmark::DoNotOptimize(legs[leg]->Get("V_AccountName"));
    }
  }
  if (legs[4]->Get("V_AccountName").ToText() != "Account 5")
    state.SkipWithError("wrong account name");
  state.SetItemsProcessed(state.iterations());
}

void BM_ReadReceipt_RawSqlite(benchmark::State& state) {
  BenchDatabase d;
  const int vouchers = int(state.range(0));
  Prefill(d, vouchers);
  Statement row(d, kSelectVoucherRow), name(d, kSelectAccountName);
  int64_t k = 0;
  for (auto _ : state)
    ReadVoucherRows(state, row.get(), name.get(), VoucherId(Pick(k++, vouchers), vouchers), 5);
  state.SetItemsProcessed(state.iterations());
}

// Both table sizes, three repetitions each: on a machine shared with other work (and a disk
// whose sync time varies with it) the summary takes the median of the three.
void Sizes(benchmark::internal::Benchmark* b) {
  b->Arg(1000)
      ->Arg(50000)
      ->Unit(benchmark::kMicrosecond)
      ->Repetitions(3)
      ->DisplayAggregatesOnly(true);
}

BENCHMARK(BM_SaveReceiptDurable_Component)->Apply(Sizes);
BENCHMARK(BM_SaveReceiptDurable_RawSqlite)->Apply(Sizes);
BENCHMARK(BM_SaveReceiptInTransaction_Component)->Apply(Sizes);
BENCHMARK(BM_SaveReceiptInTransaction_RawSqlite)->Apply(Sizes);
BENCHMARK(BM_SaveReceiptInTransaction_RawSqliteSavepoint)->Apply(Sizes);
BENCHMARK(BM_ReadReceipt_Component)->Apply(Sizes);
BENCHMARK(BM_ReadReceipt_RawSqlite)->Apply(Sizes);

// After the usual table, from the median repetition of each: receipts per second by wall time
// (which includes the syncs) for the component and the baseline, the component's cost over the
// baseline's by wall and by CPU time, and each side's cost per receipt at 50,000 over that at
// 1,000.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs) {
      if (r.error_occurred || r.run_type != Run::RT_Aggregate || r.aggregate_name != "median")
        continue;
      const std::string& name = r.run_name.function_name;  // BM_<operation>_<side>
      const size_t under = name.rfind('_');
      times_[name.substr(3, under - 3)][name.substr(under + 1)][std::stoi(r.run_name.args)] = {
          r.GetAdjustedRealTime(), r.GetAdjustedCPUTime()};
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\n%-25s %8s %12s %12s %11s %10s\n", "receipts/s (wall)", "in table", "component",
                "raw SQLite", "ratio wall", "ratio CPU");
    for (auto& [op, sides] : times_) {
      auto& c = sides["Component"];
      auto& raw = sides["RawSqlite"];
      auto& sp = sides["RawSqliteSavepoint"];
      for (int n : {1000, 50000}) {
        if (!c.count(n) || !raw.count(n)) continue;
        std::printf("%-25s %8d %12.0f %12.0f %11.2f %10.2f\n", op.c_str(), n, 1e6 / c[n].wall,
                    1e6 / raw[n].wall, c[n].wall / raw[n].wall, c[n].cpu / raw[n].cpu);
        if (sp.count(n))
          std::printf("%-25s %8d %12s %12.0f %11.2f %10.2f  (baseline with a savepoint)\n", "", n,
                      "", 1e6 / sp[n].wall, c[n].wall / sp[n].wall, c[n].cpu / sp[n].cpu);
      }
      for (auto* t : {&c, &raw})
        if (t->count(1000) && t->count(50000))
          std::printf("%-25s %s per receipt at 50,000 / at 1,000: wall %.2f, CPU %.2f\n",
                      op.c_str(), t == &c ? "component " : "raw SQLite",
                      (*t)[50000].wall / (*t)[1000].wall, (*t)[50000].cpu / (*t)[1000].cpu);
    }
  }

 private:
  struct Time {
    double wall = 0, cpu = 0;  // per receipt, microseconds
  };
  std::map<std::string, std::map<std::string, std::map<int, Time>>> times_;
};

}  // namespace
}  // namespace orv::bench

int main(int argc, char** argv) {
  orv::bench::SummaryReporter reporter;
  return orv::bench::RunBenchmarks(argc, argv, reporter);
}
