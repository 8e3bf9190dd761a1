// Calls from Python through the module orv beside the same calls by late binding from C++ and
// the same statements on raw SQLite with reused prepared statements: the account name lookup
// (one keyed select), a list of 100 accounts (one select, 100 objects handed back) and a
// property put and get (no statement). The tables hold 1,000 accounts on each side.
//
// The program embeds Debian's Python and imports orv from the build tree.
#include <benchmark/benchmark.h>
#include <pybind11/embed.h>

#include <string>
#include <utility>
#include <vector>

#include "bench_support.h"
#include "orv/registry.h"

namespace py = pybind11;

namespace orv::bench {
namespace {

constexpr int kAccounts = 1000;
constexpr int kListed = 100;  // accounts 1..100 take postings, the others are groups
constexpr int16_t kLookedUp = 500;

std::string InsertAccount(int id) {
  return "INSERT INTO ACC_MASTER_2008_2009 (AM_AccId, AM_AccName, AM_GrpFlag, AM_GrpNo, "
         "AM_LevelNo, AM_AccType) VALUES (" +
         std::to_string(id) + ", 'account " + std::to_string(id) + "', '" +
         (id <= kListed ? "L" : "G") + "', 0, 1, 'Asset')";
}

// The Python side: its own year database with the same accounts, and one callable per case.
constexpr const char* kPythonSetup = R"py(
import shutil, tempfile
import orv

folder = tempfile.mkdtemp(prefix="orv-python-bench-")
orv.create_year_database(folder, "BENCH", 2008, 2009)
orv.set_message_handler(lambda text: None)
company = orv.create("ORVCompany.clsCompany")
company.ShortName, company.CurrentYear1, company.CurrentYear2 = "BENCH", 2008, 2009
company.ORVConnect(folder + "/")
cn = company.cn
cn.BeginTrans()
for statement in inserts:
    cn.Execute(statement)
cn.CommitTrans()
acc = orv.create("ORVMasters.clsAccount")

def account_name():
    return acc.Get_AccountName(500, cn, 2008, 2009)

def account_list():
    return acc.Get_Accounts_With_Id(0, "L", "", "", 0, "", cn, 2008, 2009, [])

def put_get():
    acc.AccountName = "Cash"
    return acc.AccountName

def close():
    global company, cn, acc
    company = cn = acc = None
    orv.set_message_handler(None)
    shutil.rmtree(folder)
)py";

struct Fixture {
  BenchDatabase db;  // the C++ and raw SQLite side
  Ref<Dispatch> account;
  py::dict python;  // the Python side's namespace
};

void Check(benchmark::State& state, bool ok) {
  if (!ok) state.SkipWithError("unexpected result");
}

void AccountNameRaw(benchmark::State& state, Fixture& f) {
  sqlite3_stmt* s = nullptr;
  sqlite3_prepare_v2(f.db.raw(), "SELECT AM_AccName FROM ACC_MASTER_2008_2009 WHERE AM_AccId=?", -1,
                     &s, nullptr);
  for (auto _ : state) {
    sqlite3_bind_int(s, 1, kLookedUp);
    std::string name;
    if (sqlite3_step(s) == SQLITE_ROW)
      name = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
    sqlite3_reset(s);
    benchmark::DoNotOptimize(name);
  }
  sqlite3_finalize(s);
}

void AccountNameLateBound(benchmark::State& state, Fixture& f) {
  for (auto _ : state) {
    const Variant name = f.account->Call(
        "Get_AccountName",
        {Variant(kLookedUp), f.db.cn(), Variant(int16_t{2008}), Variant(int16_t{2009})});
    benchmark::DoNotOptimize(name);
  }
}

void AccountNamePython(benchmark::State& state, Fixture& f) {
  const py::object call = f.python["account_name"];
  Check(state, call().cast<std::string>() == "account 500");
  for (auto _ : state) benchmark::DoNotOptimize(call());
}

void AccountListRaw(benchmark::State& state, Fixture& f) {
  sqlite3_stmt* s = nullptr;
  sqlite3_prepare_v2(f.db.raw(),
                     "SELECT AM_AccId, AM_AccName FROM ACC_MASTER_2008_2009 WHERE AM_GrpFlag=?", -1,
                     &s, nullptr);
  for (auto _ : state) {
    sqlite3_bind_text(s, 1, "L", 1, SQLITE_STATIC);
    std::vector<std::pair<int, std::string>> rows;
    while (sqlite3_step(s) == SQLITE_ROW)
      rows.emplace_back(sqlite3_column_int(s, 0),
                        reinterpret_cast<const char*>(sqlite3_column_text(s, 1)));
    sqlite3_reset(s);
    benchmark::DoNotOptimize(rows);
  }
  sqlite3_finalize(s);
  state.SetItemsProcessed(state.iterations() * kListed);
}

void AccountListLateBound(benchmark::State& state, Fixture& f) {
  for (auto _ : state) {
    std::vector<Variant> args{
        Variant(int16_t{0}),    Variant("L"), Variant(""), Variant(""),
        Variant(int16_t{0}),    Variant(""),  f.db.cn(),   Variant(int16_t{2008}),
        Variant(int16_t{2009}), Variant()};
    Check(state,
          f.account->Call("Get_Accounts_With_Id", std::span<Variant>(args)).ToInt32() == kListed);
    benchmark::DoNotOptimize(args.back());
  }
  state.SetItemsProcessed(state.iterations() * kListed);
}

void AccountListPython(benchmark::State& state, Fixture& f) {
  const py::object call = f.python["account_list"];
  for (auto _ : state) {
    const py::tuple r = call();
    Check(state, r[0].cast<int>() == kListed);
  }
  state.SetItemsProcessed(state.iterations() * kListed);
}

void PutGetLateBound(benchmark::State& state, Fixture& f) {
  for (auto _ : state) {
    f.account->Put("AccountName", Variant("Cash"));
    benchmark::DoNotOptimize(f.account->Get("AccountName"));
  }
}

void PutGetPython(benchmark::State& state, Fixture& f) {
  const py::object call = f.python["put_get"];
  for (auto _ : state) benchmark::DoNotOptimize(call());
}

}  // namespace
}  // namespace orv::bench

int main(int argc, char** argv) {
  using namespace orv::bench;
  benchmark::Initialize(&argc, argv);
  UseBuildRegistry();
  py::scoped_interpreter interpreter;
  py::module_::import("sys").attr("path").attr("insert")(0, ORV_PYTHON_MODULE_DIR);
  {
    Fixture f;
    py::list inserts;
    f.db.Exec("BEGIN");
    for (int id = 1; id <= kAccounts; ++id) {
      f.db.Exec(InsertAccount(id));
      inserts.append(InsertAccount(id));
    }
    f.db.Exec("COMMIT");
    f.account = orv::CreateObject("ORVMasters.clsAccount");
    f.python["__builtins__"] = py::module_::import("builtins");
    f.python["inserts"] = inserts;
    py::exec(kPythonSetup, f.python);

    const std::pair<const char*, void (*)(benchmark::State&, Fixture&)> cases[] = {
        {"AccountName/RawSqlite", &AccountNameRaw},
        {"AccountName/LateBoundCpp", &AccountNameLateBound},
        {"AccountName/Python", &AccountNamePython},
        {"AccountList100/RawSqlite", &AccountListRaw},
        {"AccountList100/LateBoundCpp", &AccountListLateBound},
        {"AccountList100/Python", &AccountListPython},
        {"PropertyPutGet/LateBoundCpp", &PutGetLateBound},
        {"PropertyPutGet/Python", &PutGetPython},
    };
    for (const auto& [name, fn] : cases)
      benchmark::RegisterBenchmark(name, [&f, fn = fn](benchmark::State& s) { fn(s, f); });
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    f.python["close"]();
  }
  return 0;
}
