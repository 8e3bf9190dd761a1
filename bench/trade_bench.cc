// Five-leg sales saved and read through the trade voucher component, beside raw SQLite doing
// the same statements with reused prepared statements, with 1,000 and 50,000 vouchers (five
// rows each) in the voucher table. The cost per voucher must not grow with the table.
//
// Save: each voucher replaces its five rows (per leg a keyed delete and an insert of every
// column) as one unit. "SaveSale" commits every voucher on its own, as a front-end posting one
// sale does (synchronous=FULL: one sync per voucher); the baseline wraps the same statements in
// BEGIN IMMEDIATE / COMMIT. "SaveSaleInTransaction" runs inside a caller's transaction committed
// every 50 vouchers, which shows the work done per voucher; there the component's unit is a
// savepoint, and the baseline is measured both without and with a savepoint per voucher.
// Read: each voucher's five rows by key, and each row's account name from the account master,
// in one read transaction per voucher.
#include <benchmark/benchmark.h>

#include <array>
#include <string>

#include "bench_support.h"
#include "orv/registry.h"

namespace orv::bench {
namespace {

constexpr int kCommitEvery = 50;

// The voucher of the k-th iteration: the latest 1,000 vouchers are walked in order, as a
// front-end posts or revises a run of them. The window is the same whatever the table holds, so
// that the two table sizes differ only in the size of the table.
constexpr int kWindow = 1000;
int64_t Pick(int64_t k, int vouchers) {
  return vouchers - kWindow + k % kWindow;
}

constexpr std::array<const char*, 5> kLegAccounts = {"CustomerAccId", "SalesAccId", "VatAccId",
                                                     "AddTaxAccId", "RndOffAccId"};
constexpr std::array<const char*, 5> kLegAmounts = {"CustomerAmt", "SalesAmt", "VatAmt",
                                                    "AddTaxAmt", "RndOffAmt"};
constexpr std::array<const char*, 5> kLegSigns = {"CustomerAmtSign", "SalesAmtSign", "VatAmtSign",
                                                  "AddTaxAmtSign", "RndOffAmtSign"};
constexpr std::array<const char*, 5> kLegNames = {"CustomerName", "SalesAccName", "VatAccName",
                                                  "AddTaxAccName", "RndOffAccName"};
constexpr std::array<double, 5> kAmounts = {1180.6, 1000, 125, 55, 0.6};

constexpr const char* kInsert =
    "INSERT INTO VOUCHERS_2008_2009 (V_Id,V_AccId,V_Date,V_Amt,V_AmtSign,V_VoucherType,"
    "V_EntryNo,V_Remarks,V_PVoucherNo,V_PVoucherType,V_VchPrefix,V_VchPrefix2,V_VchSuffix,"
    "V_VchSuffix2,V_VchNo,V_StrVchNo,V_VchType1,V_VchType2,V_VchType3,V_VchFlag,V_Cleared,"
    "V_Audit,V_Extra1,V_Extra2,V_Extra3,V_Extra4,V_Extra5) VALUES "
    "(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)";
// Binds one row of a sale (leg `k` of voucher `id`) to the insert statement.
void BindRow(sqlite3_stmt* s, int16_t id, int k, double amount) {
  int c = 1;
  auto text = [&](const char* t) { sqlite3_bind_text(s, c++, t, -1, SQLITE_STATIC); };
  auto integer = [&](int v) { sqlite3_bind_int(s, c++, v); };
  integer(id);
  integer(k + 1);  // account
  text("2008-09-12");
  sqlite3_bind_double(s, c++, amount);
  text(k == 0 ? "Dr" : "Cr");
  text("Sales");
  integer(k + 1);  // entry number
  text("Sales bill");
  integer(0);
  text("");
  for (int i = 0; i < 4; ++i) text("S");  // prefixes and suffixes
  integer(17);
  text("S-17");
  for (int i = 0; i < 3; ++i) text("");    // further types
  for (int i = 0; i < 3; ++i) integer(0);  // the three flags
  for (int i = 0; i < 5; ++i) text("");    // spare texts
}

// The year database with five accounts and `vouchers` five-leg sales.
void Prefill(BenchDatabase& d, int vouchers) {
  // The baseline's connection keeps savepoint journals in memory, as the components' does.
  d.Exec("PRAGMA temp_store=MEMORY");
  PrefillVouchers(d, vouchers, 5, kInsert, [](sqlite3_stmt* s, int16_t id, int k) {
    BindRow(s, id, k, kAmounts[size_t(k)]);
  });
}

Ref<Dispatch> NewSale() {
  UseBuildRegistry();
  Ref<Dispatch> sale = CreateObject("ORVVchr.Sales");
  sale->Put("V_Date", Variant(MakeDate({2008, 9, 12})));
  sale->Put("V_VoucherType", Variant("Sales"));
  sale->Put("V_Remarks", Variant("Sales bill"));
  sale->Put("V_VchNo", Variant(int16_t{17}));
  sale->Put("V_StrVchNo", Variant("S-17"));
  for (size_t k = 0; k < 5; ++k) {
    sale->Put(kLegAccounts[k], Variant(int16_t(k + 1)));
    sale->Put(kLegSigns[k], Variant(k == 0 ? "Dr" : "Cr"));
  }
  return sale;
}

// How a run of saves is committed.
enum class Commit { kEachVoucher, kCallerTransaction, kCallerTransactionWithSavepoints };

// Saves a sale per iteration through the component.
void SaveComponent(benchmark::State& state, Commit mode) {
  const bool durable = mode == Commit::kEachVoucher;
  BenchDatabase d;
  const int vouchers = int(state.range(0));
  Prefill(d, vouchers);
  Ref<Dispatch> sale = NewSale();
  int64_t k = 0;
  if (!durable) d.conn().BeginTrans();
  for (auto _ : state) {
    sale->Put("V_Id", Variant(VoucherId(Pick(k, vouchers), vouchers)));
    for (size_t leg = 0; leg < 5; ++leg)
      sale->Put(kLegAmounts[leg], Variant(kAmounts[leg] + double(k % 3)));
    sale->Call("Save", {Variant("Edit"), d.cn(), Variant(kY1), Variant(kY2)});
    if (++k % kCommitEvery == 0 && !durable) {
      d.conn().CommitTrans();
      d.conn().BeginTrans();
    }
  }
  if (!durable) d.conn().CommitTrans();
  state.SetItemsProcessed(state.iterations());
}

// The same statements on the raw connection with prepared statements reused.
void SaveRaw(benchmark::State& state, Commit mode) {
  BenchDatabase d;
  const int vouchers = int(state.range(0));
  Prefill(d, vouchers);
  const RawCommit how{mode == Commit::kEachVoucher,
                      mode == Commit::kCallerTransactionWithSavepoints ? "sale" : nullptr,
                      kCommitEvery};
  SaveVouchersRaw(
      state, d, 5, kInsert, how, [&](int64_t k) { return VoucherId(Pick(k, vouchers), vouchers); },
      [](sqlite3_stmt* s, int16_t id, int leg, int64_t k) {
        BindRow(s, id, leg, kAmounts[size_t(leg)] + double(k % 3));
      });
}

void BM_SaveSale_Component(benchmark::State& state) {
  SaveComponent(state, Commit::kEachVoucher);
}
void BM_SaveSale_RawSqlite(benchmark::State& state) {
  SaveRaw(state, Commit::kEachVoucher);
}
void BM_SaveSaleInTransaction_Component(benchmark::State& state) {
  SaveComponent(state, Commit::kCallerTransaction);
}
void BM_SaveSaleInTransaction_RawSqlite(benchmark::State& state) {
  SaveRaw(state, Commit::kCallerTransaction);
}
void BM_SaveSaleInTransaction_RawSqliteSavepoint(benchmark::State& state) {
  SaveRaw(state, Commit::kCallerTransactionWithSavepoints);
}

void BM_ReadSale_Component(benchmark::State& state) {
  BenchDatabase d;
  const int vouchers = int(state.range(0));
  Prefill(d, vouchers);
  UseBuildRegistry();
  Ref<Dispatch> sale = CreateObject("ORVVchr.Sales");
  int64_t k = 0;
  for (auto _ : state) {
    const int16_t id = VoucherId(Pick(k++, vouchers), vouchers);
    sale->Call("Read", {Variant(id), d.cn(), Variant(kY1), Variant(kY2)});
    for (size_t leg = 0; leg < 5; ++leg) {
      benchmark::DoNotOptimize(sale->Get(kLegAccounts[leg]));
      benchmark::DoNotOptimize(sale->Get(kLegNames[leg]));
      benchmark::DoNotOptimize(sale->Get(kLegAmounts[leg]));
      benchmark::DoNotOptimize(sale->Get(kLegSigns[leg]));
    }
  }
  if (sale->Get("CustomerName").ToText() != "Account 1") state.SkipWithError("wrong account name");
  state.SetItemsProcessed(state.iterations());
}

void BM_ReadSale_RawSqlite(benchmark::State& state) {
  BenchDatabase d;
  const int vouchers = int(state.range(0));
  Prefill(d, vouchers);
  Statement row(d, kSelectVoucherRow), name(d, kSelectAccountName);
  int64_t k = 0;
  for (auto _ : state) {
    const int16_t id = VoucherId(Pick(k++, vouchers), vouchers);
    d.Exec("BEGIN");  // one read transaction per voucher, as the component takes
    ReadVoucherRows(state, row.get(), name.get(), id, 5);
    d.Exec("COMMIT");
  }
  state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_SaveSale_Component)->Arg(1000)->Arg(50000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveSale_RawSqlite)->Arg(1000)->Arg(50000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveSaleInTransaction_Component)->Arg(1000)->Arg(50000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveSaleInTransaction_RawSqlite)->Arg(1000)->Arg(50000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveSaleInTransaction_RawSqliteSavepoint)
    ->Arg(1000)
    ->Arg(50000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadSale_Component)->Arg(1000)->Arg(50000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadSale_RawSqlite)->Arg(1000)->Arg(50000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace orv::bench

BENCHMARK_MAIN();
