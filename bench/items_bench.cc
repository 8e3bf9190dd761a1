// The item list beside raw SQLite: Get_Item_With_Details over 1,000 and 10,000 items, one query
// for the list plus six per item (the item's row and the names of its group, brand, colour, size
// and style). The cost per item must not grow with the table; the baseline runs the same
// statements through reused prepared statements and keeps the same values.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bench_support.h"
#include "orv/registry.h"

namespace orv::bench {
namespace {

constexpr const char* kList =
    "Select IM_ItemId from Items_2008_2009 where IM_GrpFlag='I' order by IM_ItemId";

// Rows that items refer to, numbered below the items: group 1, brands 100.., colours 200..,
// sizes 300.., styles 400.. (ten of each).
void Prefill(BenchDatabase& d, int items) {
  d.Exec("BEGIN");
  d.Exec(
      "INSERT INTO Items_2008_2009 (IM_ItemId, IM_ItemName, IM_GrpFlag, IM_GrpNo, IM_GrpLevel) "
      "VALUES (1, 'Garments', 'G', 0, 1)");
  for (int kind = 1; kind <= 4; ++kind)
    for (int i = 0; i < 10; ++i)
      d.Exec(
          "INSERT INTO Items_2008_2009 (IM_ItemId, IM_ItemName, IM_GrpFlag, IM_GrpNo, "
          "IM_GrpLevel) VALUES (" +
          std::to_string(kind * 100 + i) + ", 'name " + std::to_string(kind * 100 + i) +
          "', 'X', 0, 1)");
  Statement insert(
      d,
      "INSERT INTO Items_2008_2009 VALUES (?, ?, 'alias', 'I', 1, 2, 10.5, 20.25, 1, 'Pcs', 499, "
      "599, 5, 2, '6205', 12.5, 'remarks', 350, 'x2', 'x3', ?, ?, ?, ?, 'box', 'C:\\img.jpg', "
      "'1.6')");
  sqlite3_stmt* s = insert.get();
  for (int i = 0; i < items; ++i) {
    const std::string name = "item " + std::to_string(1001 + i);
    sqlite3_bind_int(s, 1, 1001 + i);
    sqlite3_bind_text(s, 2, name.c_str(), -1, SQLITE_TRANSIENT);
    for (int k = 0; k < 4; ++k) sqlite3_bind_double(s, 3 + k, (k + 1) * 100 + i % 10);
    sqlite3_step(s);
    sqlite3_reset(s);
  }
  d.Exec("COMMIT");
}

void BM_ItemList_Component(benchmark::State& state) {
  UseBuildRegistry();
  BenchDatabase d;
  const int items = int(state.range(0));
  Prefill(d, items);
  ListThroughComponent(state, d, "ORVItems.clsItems", "Get_Item_With_Details", kList, items,
                       "wrong item count");
}

// What the component keeps of one item: its 26 column values and the five names.
struct RawItem {
  std::vector<Variant> values;
  std::string names[5];
};

void BM_ItemList_RawSqlite(benchmark::State& state) {
  BenchDatabase d;
  const int items = int(state.range(0));
  Prefill(d, items);
  Statement list_query(d, kList), row_query(d, "SELECT * FROM Items_2008_2009 WHERE IM_ItemId=?"),
      name_query(d, "SELECT IM_ItemName FROM Items_2008_2009 WHERE IM_ItemId=?");
  sqlite3_stmt *list = list_query.get(), *row = row_query.get(), *name = name_query.get();
  const int columns = sqlite3_column_count(row);
  // Columns of the group number and of the brand, colour, size and style ids.
  const int refs[5] = {4, 20, 21, 22, 23};
  for (auto _ : state) {
    std::vector<int> ids;
    while (sqlite3_step(list) == SQLITE_ROW) ids.push_back(sqlite3_column_int(list, 0));
    sqlite3_reset(list);
    std::vector<RawItem> result(ids.size() + 1);
    for (size_t i = 0; i < ids.size(); ++i) {
      RawItem& r = result[i];
      sqlite3_bind_int(row, 1, ids[i]);
      if (sqlite3_step(row) != SQLITE_ROW) state.SkipWithError("item not found");
      r.values.reserve(size_t(columns));
      for (int c = 1; c < columns; ++c) r.values.push_back(ColumnValue(row, c));
      int numbers[5];
      for (int k = 0; k < 5; ++k) numbers[k] = sqlite3_column_int(row, refs[k]);
      sqlite3_reset(row);
      for (int k = 0; k < 5; ++k) {
        sqlite3_bind_int(name, 1, numbers[k]);
        if (sqlite3_step(name) == SQLITE_ROW)
          r.names[k].assign(reinterpret_cast<const char*>(sqlite3_column_text(name, 0)),
                            size_t(sqlite3_column_bytes(name, 0)));
        sqlite3_reset(name);
      }
    }
    if (int(ids.size()) != items) state.SkipWithError("wrong item count");
    benchmark::DoNotOptimize(result);
  }
  state.SetItemsProcessed(state.iterations() * items);
}

// A list of 10,000 takes a large part of the minimum time: run it a fixed few times instead of
// once.
BENCHMARK(BM_ItemList_Component)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ItemList_Component)->Arg(10000)->Iterations(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ItemList_RawSqlite)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ItemList_RawSqlite)->Arg(10000)->Iterations(4)->Unit(benchmark::kMillisecond);

// Prints, after the usual table, the CPU cost per item at 10,000 over that at 1,000 for each
// program and the component's cost per item over the baseline's.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  // Colours only on a terminal, so that saved output stays plain text.
  RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs) {
      if (r.run_type != Run::RT_Iteration || r.iterations == 0) continue;
      const std::string name = r.benchmark_name();
      const size_t slash = name.find('/');
      const double items = std::stod(name.substr(slash + 1));
      per_item_ns_[name.substr(0, slash)][int(items)] =
          r.GetAdjustedCPUTime() * 1e6 / items;  // the unit is milliseconds
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    auto& c = per_item_ns_["BM_ItemList_Component"];
    auto& raw = per_item_ns_["BM_ItemList_RawSqlite"];
    for (auto* m : {&c, &raw})
      if (m->count(1000) && m->count(10000))
        std::printf("%s per item: %.0f ns at 1,000, %.0f ns at 10,000, ratio %.2f\n",
                    m == &c ? "component" : "raw SQLite", (*m)[1000], (*m)[10000],
                    (*m)[10000] / (*m)[1000]);
    for (int n : {1000, 10000})
      if (c.count(n) && raw.count(n))
        std::printf("component / raw SQLite at %d items: %.2f\n", n, c[n] / raw[n]);
  }

 private:
  std::map<std::string, std::map<int, double>> per_item_ns_;
};

}  // namespace
}  // namespace orv::bench

int main(int argc, char** argv) {
  orv::bench::RatioReporter reporter;
  return orv::bench::RunBenchmarks(argc, argv, reporter);
}
