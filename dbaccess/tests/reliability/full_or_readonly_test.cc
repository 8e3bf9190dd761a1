// A file that cannot take a Save: a full disk (the engine's page limit on the connection makes
// every page beyond it fail as a full disk does) and a read-only file or folder (a child process
// that may not override file permissions). The Save fails with a clear error, nothing of it
// stays, and the file passes the checks afterwards.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "file_checks.h"
#include "orv/db/connection.h"
#include "orv/db/schema.h"
#include "orv/registry.h"
#include "process.h"
#include "voucher_plan.h"

namespace orv::reliability {
namespace {

namespace fs = std::filesystem;

constexpr int kDiskFull = 3183;
constexpr int kCannotWrite = 3051;

// A Save of one class with a long text in each row, so that every row needs pages of its own.
struct SaveCase {
  const char* what;
  const char* prog_id;
  std::vector<std::pair<const char*, Variant>> values;
  bool keyed;  // Save takes the record's id after the flag
  std::map<std::string, int64_t> rows;
};

const std::string kLong(20000, 'x');

const std::vector<SaveCase>& SaveCases() {
  static const std::vector<SaveCase> cases = {
      {"a receipt",
       "ORVVouchers.clsRcptVoucher",
       {{"V_Id", Variant(int16_t{7})},
        {"V_VoucherType", Variant("Receipt")},
        {"V_Remarks", Variant(kLong)}},
       false,
       {{"VOUCHERS_2008_2009", 5}}},
      {"a sale",
       "ORVVchr.Sales",
       {{"V_Id", Variant(int16_t{7})},
        {"V_Remarks", Variant(kLong)},
        {"CustomerAmt", Variant(1.0)},
        {"SalesAmt", Variant(1.0)},
        {"VatAmt", Variant(1.0)},
        {"AddTaxAmt", Variant(1.0)},
        {"RndOffAmt", Variant(1.0)}},
       false,
       {{"VOUCHERS_2008_2009", 5}}},
      {"an account",
       "ORVMasters.clsAccount",
       {{"AccountId", Variant(int16_t{7})},
        {"AccountName", Variant(kLong)},
        {"AccountAlias", Variant(kLong)}},
       true,
       {{"ACC_MASTER_2008_2009", 1}, {"ACC_DETAILS_2008_2009", 1}, {"ACC_BALANCE_2008_2009", 12}}},
      {"an item",
       "ORVItems.clsItems",
       {{"ItemId", Variant(int16_t{7})},
        {"ItemName", Variant(kLong)},
        {"IM_Remarks", Variant(kLong)}},
       true,
       {{"ITEMS_2008_2009", 1}}},
  };
  return cases;
}

void PrintTo(const SaveCase& c, std::ostream* os) {
  *os << c.what;
}

class FullDiskTest : public ::testing::TestWithParam<SaveCase> {
 protected:
  void SetUp() override {
    file_ = db::YearDatabaseFile(dir_.path(), "ACME", kY1, kY2);
    db::CreateYearDatabase(file_, kY1, kY2);
    cn_ = Variant(db::NewConnection());
    db::ConnectionOf(cn_).Open(db::ConnectionStringFor(file_), "", "", -1);
  }

  sqlite3* Handle() { return db::ConnectionOf(cn_).Handle(); }
  int64_t Pragma(const std::string& pragma) {
    sqlite3_stmt* stmt = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(Handle(), ("PRAGMA " + pragma).c_str(), -1, &stmt, nullptr),
              SQLITE_OK);
    const int64_t value = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : -1;
    sqlite3_finalize(stmt);
    return value;
  }
  // Lets the file grow by `pages` pages beyond its size now, and no further.
  void Allow(int64_t pages) {
    const int64_t limit = Pragma("page_count") + pages;
    ASSERT_EQ(Pragma("max_page_count=" + std::to_string(limit)), limit);
  }

  std::map<std::string, int64_t> Counts(const SaveCase& c) {
    const RawDatabase raw(file_);
    std::map<std::string, int64_t> counts;
    for (const auto& [table, rows] : c.rows)
      counts[table] = raw.Int("Select count(*) from " + table);
    return counts;
  }

  // The Save of the case on a new object; the error it raised, or 0.
  int Save(const SaveCase& c, std::string* description) {
    Ref<Dispatch> obj = CreateObject(c.prog_id);
    for (const auto& [name, value] : c.values) obj->Put(name, value);
    if (std::string_view(c.prog_id) == "ORVMasters.clsAccount")
      AsDispatch(obj->Get("AD"))->Put("AccountId", Variant(int16_t{7}));
    try {
      if (c.keyed)
        obj->Call("Save", {Variant("New"), Variant(int16_t{7}), cn_, Variant(kY1), Variant(kY2)});
      else
        obj->Call("Save", {Variant("New"), cn_, Variant(kY1), Variant(kY2)});
    } catch (const AutomationError& e) {
      *description = e.description();
      return e.number();
    }
    return 0;
  }

  ScratchDir dir_{"full"};
  fs::path file_;
  Variant cn_;
};

// Each page limit from none up to the one the Save fits in: every attempt short of that fails
// as a full disk, leaves nothing and leaves the connection usable for the next.
TEST_P(FullDiskTest, SaveFailsAsDiskFullAtEveryPageItNeedsAndLeavesNothing) {
  const SaveCase& c = GetParam();
  const auto before = Counts(c);
  int failures = 0;
  int error = -1;
  for (int64_t pages = 0; pages < 100 && error != 0; ++pages) {
    Allow(pages);
    std::string description;
    error = Save(c, &description);
    if (error == 0) break;
    ++failures;
    SCOPED_TRACE("with room for " + std::to_string(pages) + " more pages");
    EXPECT_EQ(error, kDiskFull) << description;
    EXPECT_NE(description.find("full"), std::string::npos) << description;
    EXPECT_EQ(Counts(c), before) << "a failed Save left rows";
    EXPECT_NE(sqlite3_get_autocommit(Handle()), 0) << "a failed Save left a transaction open";
  }
  ASSERT_EQ(error, 0) << "the Save never fitted";
  EXPECT_GT(failures, 1);
  auto after = before;
  for (const auto& [table, rows] : c.rows) after[table] += rows;
  EXPECT_EQ(Counts(c), after);
  cn_ = Variant();
  EXPECT_EQ(FileProblems(file_), "");
  std::cout << c.what << ": failed as a full disk with room for 0 to " << failures - 1
            << " more pages, saved with room for " << failures << "\n";
}

INSTANTIATE_TEST_SUITE_P(Classes, FullDiskTest, ::testing::ValuesIn(SaveCases()));

// Inside a caller's transaction, a Save that meets a full disk undoes only itself or, when the
// engine gives up the whole transaction, the caller learns it when committing; either way no
// voucher is partial and the file passes the checks.
TEST_F(FullDiskTest, FullDiskInsideACallersTransactionLeavesNoPartialVoucher) {
  const SaveCase& receipt = SaveCases().front();
  db::IConnection& c = db::ConnectionOf(cn_);
  c.BeginTrans();
  Post(2, cn_);  // a receipt of the plan, which fits
  Allow(0);
  std::string description;
  EXPECT_EQ(Save(receipt, &description), kDiskFull) << description;
  bool committed = true;
  try {
    c.CommitTrans();
  } catch (const AutomationError& e) {
    committed = false;
    EXPECT_FALSE(e.description().empty());
  }
  cn_ = Variant();
  EXPECT_EQ(FileProblems(file_), "");
  const RawDatabase raw(file_);
  const Census census = TakeCensus(raw.get());
  EXPECT_EQ(census.problems, std::vector<std::string>{});
  // Only the plan's receipt can be there (the failed one is id 7), and only if the commit
  // went through.
  EXPECT_EQ(census.Has(2), committed);
  EXPECT_EQ(raw.Int("Select count(*) from VOUCHERS_2008_2009 where V_Id=7"), 0);
  std::cout << "full disk inside a transaction: the earlier Save was "
            << (committed ? "committed" : "rolled back with the transaction") << "\n";
}

// When the engine gives up the caller's transaction on a full disk, the caller still believes
// it open: Saves it makes next must not be committed on their own behind its back, since the
// caller will roll back (or find its commit refused) and count them as undone.
TEST_F(FullDiskTest, SavesAfterTheEngineGaveUpTheCallersTransactionAreNotCommittedBehindItsBack) {
  const SaveCase& receipt = SaveCases().front();
  db::IConnection& c = db::ConnectionOf(cn_);
  c.BeginTrans();
  Post(2, cn_);
  Allow(0);
  std::string description;
  ASSERT_EQ(Save(receipt, &description), kDiskFull) << description;
  Allow(1000);  // the disk has room again
  bool later_save_refused = false;
  try {
    Post(4, cn_);  // the caller carries on with its batch ...
  } catch (const AutomationError& e) {
    later_save_refused = true;
    EXPECT_FALSE(e.description().empty());
  }
  try {
    c.RollbackTrans();  // ... and then abandons it
  } catch (const AutomationError&) {
    // The transaction was already gone; what matters is what the file holds.
  }
  cn_ = Variant();
  const RawDatabase raw(file_);
  const Census census = TakeCensus(raw.get());
  EXPECT_FALSE(census.Has(2));
  EXPECT_FALSE(census.Has(4))
      << "a Save inside the rolled-back transaction was committed on its own"
      << (later_save_refused ? "" : " (and the Save reported success)");
  EXPECT_EQ(FileProblems(file_), "");
}

std::string FileBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream os;
  os << in.rdbuf();
  return os.str();
}

// Restores permissions when a test ends, however it ends.
class PermissionsGuard {
 public:
  explicit PermissionsGuard(std::vector<std::pair<fs::path, fs::perms>> restore)
      : restore_(std::move(restore)) {}
  ~PermissionsGuard() {
    std::error_code ec;
    for (const auto& [path, perms] : restore_) fs::permissions(path, perms, ec);
  }
  PermissionsGuard(const PermissionsGuard&) = delete;
  PermissionsGuard& operator=(const PermissionsGuard&) = delete;

 private:
  std::vector<std::pair<fs::path, fs::perms>> restore_;
};

struct ReadOnlyCase {
  const char* what;
  fs::perms file;
  fs::perms folder;
  const char* seen;  // what the child finds it can write
};

void PrintTo(const ReadOnlyCase& c, std::ostream* os) {
  *os << c.what;
}

class ReadOnlyTest : public ::testing::TestWithParam<ReadOnlyCase> {};

// The child process gives up the privilege to write what it may not write (tests run as root,
// which otherwise writes any file), then reads the year database and tries to post a voucher.
TEST_P(ReadOnlyTest, SaveFailsClearlyAndTheFileIsUntouched) {
  const ReadOnlyCase& c = GetParam();
  ScratchDir dir("readonly");
  const auto file = db::YearDatabaseFile(dir.path(), "ACME", kY1, kY2);
  db::CreateYearDatabase(file, kY1, kY2);
  {
    Variant cn(db::NewConnection());
    db::ConnectionOf(cn).Open(db::ConnectionStringFor(file), "", "", -1);
    for (int16_t id = 1; id <= 6; ++id) Post(id, cn);
  }
  const std::string bytes = FileBytes(file);
  const fs::path folder = file.parent_path();
  const PermissionsGuard guard(
      {{file, fs::status(file).permissions()}, {folder, fs::status(folder).permissions()}});
  fs::permissions(file, c.file);
  fs::permissions(folder, c.folder);

  const RunResult child = RunToEnd(kPosterProgram, {"readonly-save", file.string(), "8"});
  std::istringstream lines(child.output);
  std::string first, read, save;
  std::getline(lines, first);
  std::getline(lines, read);
  std::getline(lines, save);
  if (first != c.seen)
    GTEST_SKIP() << "the child cannot be kept from writing here: " << child.output;
  ASSERT_EQ(child.exit_code, 0) << child.output;
  std::cout << c.what << ": " << read << "; " << (save.empty() ? "(no Save tried)" : save) << "\n";
  // Reading works, or fails with an error that says why; a Save never succeeds.
  if (read.rfind("read-error", 0) == 0) {
    // The file is a sound year database: the error must say that it cannot be written, not
    // that the file is something else.
    EXPECT_EQ(read.rfind("read-error " + std::to_string(kCannotWrite) + " ", 0), 0u) << read;
    EXPECT_EQ(save, "");
  } else {
    EXPECT_EQ(read, "rows 27");  // six vouchers of the plan: three receipts, three sales
    EXPECT_EQ(save.rfind("save-error " + std::to_string(kCannotWrite) + " ", 0), 0u) << save;
  }

  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
  fs::permissions(folder, fs::perms::owner_all);
  EXPECT_EQ(FileBytes(file), bytes) << "the read-only file changed";
  EXPECT_EQ(FileProblems(file), "");
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReadOnlyTest,
    ::testing::Values(ReadOnlyCase{"read-only file", fs::perms::owner_read, fs::perms::owner_all,
                                   "file read-only, folder writable"},
                      ReadOnlyCase{"read-only folder",
                                   fs::perms::owner_read | fs::perms::owner_write,
                                   fs::perms::owner_read | fs::perms::owner_exec,
                                   "file writable, folder read-only"},
                      ReadOnlyCase{"read-only file in a read-only folder", fs::perms::owner_read,
                                   fs::perms::owner_read | fs::perms::owner_exec,
                                   "file read-only, folder read-only"}));

}  // namespace
}  // namespace orv::reliability
