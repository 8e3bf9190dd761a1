// The data-access layer's costs beside raw SQLite: adding a voucher row through a recordset
// opened on the whole table, and a keyed select of one row. Both must cost the same with 1,000
// and with 100,000 rows in the table.
#include <benchmark/benchmark.h>

#include <string>

#include "bench_support.h"
#include "orv/db/recordset.h"

namespace orv::bench {
namespace {

constexpr const char* kColumns[] = {
    "V_Id",        "V_AccId",   "V_Date",       "V_Amt",          "V_AmtSign",   "V_VoucherType",
    "V_EntryNo",   "V_Remarks", "V_PVoucherNo", "V_PVoucherType", "V_VchPrefix", "V_VchPrefix2",
    "V_VchSuffix", "V_VchNo",   "V_StrVchNo",   "V_VchType1",     "V_VchType2",  "V_VchType3",
    "V_VchFlag",   "V_Extra1",  "V_Extra2",     "V_Extra3",       "V_Extra4",    "V_Extra5"};
constexpr int kCommitEvery = 500;

// Fills the voucher table with `rows` rows: V_Id 1.., eight entries each.
void Prefill(BenchDatabase& d, int rows) {
  d.Exec("BEGIN");
  Statement insert(d,
                   "INSERT INTO VOUCHERS_2008_2009 (V_Id,V_AccId,V_Date,V_Amt,V_AmtSign,"
                   "V_VoucherType,V_EntryNo,V_Remarks) VALUES (?,?,'2008-04-01',?,'Dr','Receipt',?,"
                   "'opening')");
  sqlite3_stmt* s = insert.get();
  for (int i = 0; i < rows; ++i) {
    sqlite3_bind_int(s, 1, 1 + i / 8);
    sqlite3_bind_int(s, 2, 1 + i % 50);
    sqlite3_bind_double(s, 3, 100.0 + i);
    sqlite3_bind_int(s, 4, 1 + i % 8);
    sqlite3_step(s);
    sqlite3_reset(s);
  }
  d.Exec("COMMIT");
}

// Keys for new rows: V_Id from 20000 up, entries from 100 up, never colliding with the prefill.
void NewKey(int64_t k, int16_t* id, int16_t* entry) {
  *id = int16_t(20000 + k % 12000);
  *entry = int16_t(100 + k / 12000);
}

Variant ValueFor(int column, int16_t id, int16_t entry) {
  switch (column) {
    case 0:
      return Variant(id);
    case 1:
      return Variant(int16_t{14});
    case 2:
      return Variant(Date{39539});
    case 3:
      return Variant(1234.5);
    case 6:
      return Variant(entry);
    case 8:
      return Variant(int16_t{0});
    case 13:
      return Variant(int16_t{7});
    case 18:
      return Variant(true);
    default:
      return Variant("text");
  }
}

void BM_AddRow_Recordset(benchmark::State& state) {
  BenchDatabase d;
  Prefill(d, int(state.range(0)));
  int64_t k = 0;
  d.conn().BeginTrans();
  for (auto _ : state) {
    int16_t id, entry;
    NewKey(k, &id, &entry);
    db::Recordset rs;
    rs.Open("Select * from VOUCHERS_2008_2009", d.cn());
    rs.AddNew();
    for (int c = 0; c < 24; ++c) rs.SetField(kColumns[c], ValueFor(c, id, entry));
    rs.Update();
    if (++k % kCommitEvery == 0) {
      d.conn().CommitTrans();
      d.conn().BeginTrans();
    }
  }
  d.conn().CommitTrans();
  state.SetItemsProcessed(state.iterations());
}

void BM_AddRow_RawSqlite(benchmark::State& state) {
  BenchDatabase d;
  Prefill(d, int(state.range(0)));
  std::string sql = "INSERT INTO VOUCHERS_2008_2009 (";
  for (int c = 0; c < 24; ++c) sql += std::string(c ? "," : "") + kColumns[c];
  sql += ") VALUES (?";
  for (int c = 1; c < 24; ++c) sql += ",?";
  sql += ")";
  Statement insert(d, sql);
  sqlite3_stmt* s = insert.get();
  int64_t k = 0;
  d.Exec("BEGIN IMMEDIATE");
  for (auto _ : state) {
    int16_t id, entry;
    NewKey(k, &id, &entry);
    for (int c = 0; c < 24; ++c) {
      const Variant v = ValueFor(c, id, entry);
      switch (v.type()) {
        case VarType::Int16:
          sqlite3_bind_int(s, c + 1, v.int16());
          break;
        case VarType::Double:
          sqlite3_bind_double(s, c + 1, v.dbl());
          break;
        case VarType::Bool:
          sqlite3_bind_int(s, c + 1, v.boolean() ? -1 : 0);
          break;
        case VarType::Date:
          sqlite3_bind_text(s, c + 1, "2008-04-01", -1, SQLITE_STATIC);
          break;
        default:
          sqlite3_bind_text(s, c + 1, "text", -1, SQLITE_STATIC);
          break;
      }
    }
    sqlite3_step(s);
    sqlite3_reset(s);
    if (++k % kCommitEvery == 0) {
      d.Exec("COMMIT");
      d.Exec("BEGIN IMMEDIATE");
    }
  }
  d.Exec("COMMIT");
  state.SetItemsProcessed(state.iterations());
}

// The key of the k-th read: spread over the whole table (state.range(1) == 1), so that a large
// table also costs cache misses in the engine's B-tree, or walking it in key order.
int KeyIndex(int64_t k, int rows, bool spread) {
  return int((spread ? k * 7919 : k) % rows);
}

void BM_KeyedRead_Recordset(benchmark::State& state) {
  BenchDatabase d;
  const int rows = int(state.range(0));
  Prefill(d, rows);
  int64_t k = 0;
  for (auto _ : state) {
    const int i = KeyIndex(k++, rows, state.range(1));
    db::Recordset rs;
    rs.Open("Select * from VOUCHERS_2008_2009 where V_Id=" + std::to_string(1 + i / 8) +
                " and V_EntryNo=" + std::to_string(1 + i % 8),
            d.cn());
    if (rs.Eof()) state.SkipWithError("row not found");
    for (const char* c : kColumns) benchmark::DoNotOptimize(rs.Field(c));
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_KeyedRead_RawSqlite(benchmark::State& state) {
  BenchDatabase d;
  const int rows = int(state.range(0));
  Prefill(d, rows);
  Statement select(d, kSelectVoucherRow);
  sqlite3_stmt* s = select.get();
  int64_t k = 0;
  for (auto _ : state) {
    const int i = KeyIndex(k++, rows, state.range(1));
    sqlite3_bind_int(s, 1, 1 + i / 8);
    sqlite3_bind_int(s, 2, 1 + i % 8);
    if (sqlite3_step(s) != SQLITE_ROW) state.SkipWithError("row not found");
    ReadColumns(s);
    sqlite3_reset(s);
  }
  state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_AddRow_Recordset)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AddRow_RawSqlite)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeyedRead_Recordset)
    ->ArgsProduct({{1000, 100000}, {0, 1}})
    ->ArgNames({"rows", "spread"})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeyedRead_RawSqlite)
    ->ArgsProduct({{1000, 100000}, {0, 1}})
    ->ArgNames({"rows", "spread"})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace orv::bench

BENCHMARK_MAIN();
