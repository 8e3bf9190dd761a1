#include "fixture.h"

#include <unistd.h>

#include <atomic>

#include "orv/db/recordset.h"
#include "orv/db/schema.h"
#include "orv/error.h"
#include "orv/registry.h"

namespace orv::vouchers::testing {

void VoucherTest::SetUp() {
  static std::atomic<int> counter{0};
  dir_ = std::filesystem::temp_directory_path() /
         ("orv-vouchers-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(dir_);
  const auto file = db::YearDatabaseFile(dir_, "ACME", kY1, kY2);
  db::CreateYearDatabase(file, kY1, kY2);
  cn_ = Variant(db::NewConnection());
  conn_ = &db::ConnectionOf(cn_);
  conn_->Open(db::ConnectionStringFor(file), "", "", -1);
}

void VoucherTest::TearDown() {
  cn_ = Variant();
  std::filesystem::remove_all(dir_);
}

Ref<Dispatch> VoucherTest::New(const std::string& class_name) {
  return CreateObject("ORVVouchers." + class_name);
}

Variant VoucherTest::Save(Dispatch& obj, const char* flag) {
  return obj.Call("Save", {Variant(flag), cn_, Variant(kY1), Variant(kY2)});
}

void VoucherTest::Read(Dispatch& obj, int16_t id) {
  obj.Call("Read", {Variant(id), cn_, Variant(kY1), Variant(kY2)});
}

void VoucherTest::ReadRow(Dispatch& obj, int16_t id, int16_t entry) {
  obj.Call("Read", {Variant(id), Variant(entry), cn_, Variant(kY1), Variant(kY2)});
}

void VoucherTest::Exec(const std::string& sql) {
  conn_->Execute(sql);
}

std::vector<std::vector<Variant>> VoucherTest::Rows(const std::string& sql) {
  db::Recordset rs;
  rs.Open(sql, cn_);
  std::vector<std::vector<Variant>> rows;
  while (!rs.Eof()) {
    std::vector<Variant> row;
    for (int i = 0; i < rs.FieldCount(); ++i) row.push_back(rs.Field(i));
    rows.push_back(std::move(row));
    rs.MoveNext();
  }
  return rows;
}

Variant VoucherTest::Scalar(const std::string& sql) {
  db::Recordset rs;
  rs.Open(sql, cn_);
  return rs.Field(0);
}

int64_t VoucherTest::VoucherRowCount() {
  return Scalar("Select Count(*) from " + kVouchers).ToInt32();
}

void VoucherTest::AddAccount(int16_t id, const std::string& name) {
  Exec(
      "Insert into ACC_MASTER_2008_2009 (AM_AccId, AM_AccName, AM_GrpFlag, AM_GrpNo, "
      "AM_LevelNo, AM_AccType) values (" +
      std::to_string(id) + ", '" + name + "', 'L', 0, 1, 'Asset')");
}

void VoucherTest::RefuseRowsSignedRefuse() {
  sqlite3* db = conn_->Handle();
  const char* sql =
      "CREATE TRIGGER refuse_marked BEFORE INSERT ON VOUCHERS_2008_2009 "
      "WHEN NEW.V_AmtSign = 'refuse' BEGIN SELECT RAISE(ABORT, 'row refused'); END";
  ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
}

int ErrorNumberOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const AutomationError& e) {
    return e.number();
  }
  return 0;
}

std::vector<std::string> MemberNames(Dispatch& obj) {
  std::vector<std::string> names;
  for (const MemberInfo& m : obj.Type().members) names.emplace_back(m.name);
  return names;
}

}  // namespace orv::vouchers::testing
