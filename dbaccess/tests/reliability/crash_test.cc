// Crash safety: a child process posts receipts and sales into one year database and is killed
// with SIGKILL at a random moment, again and again. After every kill the file must pass the
// integrity checks, every voucher in it must be complete, every voucher whose Save had returned
// (the child reported it before the kill) must be there, and nothing may be there that the child
// had not yet begun.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <random>
#include <set>
#include <thread>

#include "file_checks.h"
#include "orv/db/schema.h"
#include "process.h"
#include "voucher_plan.h"

namespace orv::reliability {
namespace {

using namespace std::chrono_literals;

constexpr int kKills = 200;
constexpr int kMaxRuns = 2 * kKills;  // runs that end before their kill do not count
constexpr int kVouchersPerRun = 300;  // far more than a run lives to post
// One run in five is killed up to this long after it was started, while it loads the
// libraries, connects or posts its first vouchers. The others are killed after 0 to
// kMaxSavesBeforeKill returned Saves, at a random moment within the next Save or so (the time
// a Save takes is measured as the test goes, so the kills spread over it on any machine).
constexpr int kMaxStartDelayMicros = 20000;
constexpr int kMaxSavesBeforeKill = 6;

uint32_t Seed() {
  if (const char* s = std::getenv("ORV_RELIABILITY_SEED")) return uint32_t(std::stoul(s));
  return std::random_device{}();
}

struct Figures {
  int runs = 0, kills = 0;
  int confirmed = 0;  // Saves reported as returned
  // Where the kills landed: before the first Save began, between two Saves, or inside a Save,
  // whose voucher was then found complete or not at all.
  int killed_while_starting = 0, killed_between_saves = 0;
  int in_save_complete = 0, in_save_absent = 0;
};

TEST(CrashSafety, KilledPosterLeavesEveryVoucherCompleteOrAbsentAndKeepsEveryReturnedSave) {
  ScratchDir dir("crash");
  const auto file = db::YearDatabaseFile(dir.path(), "ACME", kY1, kY2);
  db::CreateYearDatabase(file, kY1, kY2);
  const uint32_t seed = Seed();
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> start_delay(0, kMaxStartDelayMicros);
  std::uniform_int_distribution<int> saves_before_kill(0, kMaxSavesBeforeKill);
  std::uniform_real_distribution<double> within(0.0, 1.5);
  double save_micros = 1000;  // a running mean of the time from one returned Save to the next
  SCOPED_TRACE("ORV_RELIABILITY_SEED=" + std::to_string(seed));

  Figures f;
  std::set<int16_t> confirmed;  // over every run
  std::set<int16_t> present;    // what the last census found
  int16_t next = 1;
  while (f.kills < kKills && f.runs < kMaxRuns) {
    ++f.runs;
    ASSERT_LT(next, 32767 - kVouchersPerRun) << "ran out of 16-bit voucher ids";
    ChildProcess child(kPosterProgram, {"post", file.string(), std::to_string(next),
                                        std::to_string(kVouchersPerRun)});
    std::vector<std::string> lines;  // the reports, "ready" left out
    if (rng() % 5 == 0) {
      std::this_thread::sleep_for(std::chrono::microseconds(start_delay(rng)));
    } else {
      ASSERT_EQ(child.ReadLine(120s), "ready");
      auto previous = std::chrono::steady_clock::now();
      for (int returned = 0, wanted = saves_before_kill(rng); returned < wanted;) {
        std::optional<std::string> line = child.ReadLine(120s);
        ASSERT_TRUE(line) << "the poster stopped reporting";
        lines.push_back(*line);
        if (line->rfind("saving", 0) == 0) continue;
        ++returned;
        const auto now = std::chrono::steady_clock::now();
        const double micros = std::chrono::duration<double, std::micro>(now - previous).count();
        save_micros = 0.8 * save_micros + 0.2 * micros;
        previous = now;
      }
      std::this_thread::sleep_for(std::chrono::microseconds(int64_t(within(rng) * save_micros)));
    }
    child.Kill();
    const int status = child.Wait();
    for (std::string& line : child.ReadRemainingLines())
      if (line != "ready") lines.push_back(std::move(line));
    const bool killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    if (!killed) {
      // Only a child that posted all it was given may end before the kill.
      ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
          << "poster failed: " << (lines.empty() ? "" : lines.back());
      ASSERT_EQ(lines.size(), size_t(2 * kVouchersPerRun));
    }

    // The reports: "saving <id>" then "<id>" for the ids from `next` on, in order.
    int16_t last = int16_t(next - 1);  // the last Save that returned
    bool began = false;                // whether the Save of last + 1 had begun
    for (const std::string& line : lines) {
      if (!began) {
        ASSERT_EQ(line, "saving " + std::to_string(last + 1)) << "unexpected report";
        began = true;
      } else {
        ASSERT_EQ(line, std::to_string(last + 1)) << "unexpected report";
        confirmed.insert(++last);
        ++f.confirmed;
        began = false;
      }
    }
    const int16_t in_flight = int16_t(last + 1);

    const std::string problems = FileProblems(file);
    ASSERT_EQ(problems, "") << "after run " << f.runs;
    const RawDatabase raw(file);
    const Census census = TakeCensus(raw.get());
    ASSERT_EQ(census.problems, std::vector<std::string>{}) << "after run " << f.runs;
    std::set<int16_t> now;
    for (const auto& [id, state] : census.vouchers) now.insert(id);
    for (int16_t id : confirmed)
      ASSERT_TRUE(now.count(id)) << "returned Save of voucher " << id << " lost";
    for (int16_t id : present) ASSERT_TRUE(now.count(id)) << "voucher " << id << " vanished";
    for (int16_t id : now)
      ASSERT_TRUE(present.count(id) || confirmed.count(id) || (began && id == in_flight))
          << "voucher " << id << " is there although its Save never began";
    if (killed) {
      ++f.kills;
      if (last < next && !began)
        ++f.killed_while_starting;
      else if (!began)
        ++f.killed_between_saves;
      else if (now.count(in_flight))
        ++f.in_save_complete;
      else
        ++f.in_save_absent;
    }
    present = std::move(now);
    next = int16_t(present.empty() ? 1 : *present.rbegin() + 1);
  }

  EXPECT_GE(f.kills, kKills);
  std::cout << "crash safety (seed " << seed << "): " << f.runs << " runs, " << f.kills
            << " kills: " << f.killed_while_starting << " before the first Save, "
            << f.killed_between_saves << " between Saves, " << f.in_save_complete + f.in_save_absent
            << " inside a Save (its voucher then " << f.in_save_complete << " times complete, "
            << f.in_save_absent << " times absent, never partial); " << f.confirmed
            << " Saves confirmed, all found complete; a Save took " << int(save_micros)
            << " us at the end; " << present.size()
            << " vouchers in the file at the end, all complete\n";
}

}  // namespace
}  // namespace orv::reliability
