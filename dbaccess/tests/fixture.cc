#include "fixture.h"

#include <unistd.h>

#include <atomic>

#include "orv/db/recordset.h"

namespace orv::db::testing {

void YearDatabaseTest::SetUp() {
  static std::atomic<int> counter{0};
  dir_ = std::filesystem::temp_directory_path() /
         ("orv-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(dir_);
  file_ = YearDatabaseFile(dir_, "ACME", 2008, 2009);
  CreateYearDatabase(file_, 2008, 2009);
  cn_ = Variant(NewConnection());
  conn_ = &ConnectionOf(cn_);
  conn_->Open(ConnectionStringFor(file_), "", "", -1);
}

void YearDatabaseTest::TearDown() {
  cn_ = Variant();
  std::filesystem::remove_all(dir_);
}

Variant YearDatabaseTest::Scalar(const std::string& sql) {
  Recordset rs;
  rs.Open(sql, cn_);
  return rs.Field(0);
}

int ErrorNumberOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const AutomationError& e) {
    return e.number();
  }
  return 0;
}

}  // namespace orv::db::testing
