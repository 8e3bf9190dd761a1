// Two writers at once: two processes post 2,000 vouchers each into the same year database while
// a third lists vouchers and accounts and checks that every voucher it sees is complete. Every
// Save must succeed (a writer waits for the other's write lock instead of failing) and the row
// counts must be exact afterwards.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <future>
#include <iostream>

#include "file_checks.h"
#include "orv/db/connection.h"
#include "orv/db/schema.h"
#include "process.h"
#include "voucher_plan.h"

namespace orv::reliability {
namespace {

constexpr int kPerWriter = 2000;

struct Outcome {
  int status = 0;
  std::vector<std::string> lines;
  double seconds = 0;
};

// Collects a child's whole output and its end, on a thread of its own so that no child waits
// for its pipe to be read.
std::future<Outcome> Collect(ChildProcess& child, std::chrono::steady_clock::time_point start) {
  return std::async(std::launch::async, [&child, start] {
    Outcome o;
    o.lines = child.ReadRemainingLines();
    o.status = child.Wait();
    o.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return o;
  });
}

std::string LastLine(const Outcome& o) {
  return o.lines.empty() ? "" : o.lines.back();
}

bool ExitedCleanly(const Outcome& o) {
  return WIFEXITED(o.status) && WEXITSTATUS(o.status) == 0;
}

TEST(TwoWriters, BothPostEveryVoucherWhileAReaderListsAndTheCountsAreExact) {
  ScratchDir dir("writers");
  const auto file = db::YearDatabaseFile(dir.path(), "ACME", kY1, kY2);
  db::CreateYearDatabase(file, kY1, kY2);
  {
    Variant cn(db::NewConnection());
    db::ConnectionOf(cn).Open(db::ConnectionStringFor(file), "", "", -1);
    AddLegAccounts(cn);
  }

  const auto start = std::chrono::steady_clock::now();
  ChildProcess first(kPosterProgram, {"post", file.string(), "1", std::to_string(kPerWriter)});
  ChildProcess second(kPosterProgram, {"post", file.string(), std::to_string(kPerWriter + 1),
                                       std::to_string(kPerWriter)});
  ChildProcess reader(kPosterProgram, {"read", file.string(), std::to_string(2 * kPerWriter)});
  auto first_out = Collect(first, start);
  auto second_out = Collect(second, start);
  auto reader_out = Collect(reader, start);

  const Outcome a = first_out.get();
  const Outcome b = second_out.get();
  // A failed writer leaves the reader waiting for vouchers that never come.
  if (!ExitedCleanly(a) || !ExitedCleanly(b)) reader.Kill();
  const Outcome r = reader_out.get();

  ASSERT_TRUE(ExitedCleanly(a)) << LastLine(a);
  ASSERT_TRUE(ExitedCleanly(b)) << LastLine(b);
  EXPECT_EQ(LastLine(a), std::to_string(kPerWriter));
  EXPECT_EQ(LastLine(b), std::to_string(2 * kPerWriter));
  // "ready", then a "saving" and a returned line per voucher.
  EXPECT_EQ(a.lines.size(), size_t(1 + 2 * kPerWriter));
  EXPECT_EQ(b.lines.size(), size_t(1 + 2 * kPerWriter));
  ASSERT_TRUE(ExitedCleanly(r)) << LastLine(r);
  ASSERT_EQ(LastLine(r).rfind("done ", 0), 0u) << LastLine(r);

  EXPECT_EQ(FileProblems(file), "");
  const RawDatabase raw(file);
  const Census census = TakeCensus(raw.get());
  EXPECT_EQ(census.problems, std::vector<std::string>{});
  EXPECT_EQ(census.Complete(), 2 * kPerWriter);
  int64_t planned_rows = 0;
  for (int16_t id = 1; id <= 2 * kPerWriter; ++id) {
    planned_rows += int64_t(PlannedRows(id).size());
    ASSERT_TRUE(census.Has(id)) << "voucher " << id << " missing";
  }
  EXPECT_EQ(census.rows, planned_rows);
  EXPECT_EQ(raw.Int(std::string("Select count(*) from ") + kVoucherTable), planned_rows);
  EXPECT_EQ(raw.Int("Select count(*) from ACC_MASTER_2008_2009"), int64_t(LegAccounts().size()));
  EXPECT_EQ(raw.Int("Select count(*) from ACC_BALANCE_2008_2009"),
            12 * int64_t(LegAccounts().size()));

  // How often the commit order passes from one writer to the other: the writers' Saves
  // interleaved rather than ran one after the other.
  const int64_t turns = raw.Int(
      std::string("Select count(*) from (Select (V_Id > ") + std::to_string(kPerWriter) +
      ") <> lag(V_Id > " + std::to_string(kPerWriter) + ") over (order by rowid) as turn from " +
      kVoucherTable + " where V_EntryNo=1) where turn");

  std::cout << "two writers: " << kPerWriter << " vouchers each; first done after " << a.seconds
            << " s, second after " << b.seconds << " s; the lock passed between them " << turns
            << " times; reader: " << LastLine(r).substr(5) << " (rounds, vouchers listed) until "
            << r.seconds << " s; " << census.rows << " voucher rows, as planned\n";
}

}  // namespace
}  // namespace orv::reliability
