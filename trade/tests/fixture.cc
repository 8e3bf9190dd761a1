#include "fixture.h"

#include <unistd.h>

#include <atomic>

#include "orv/db/connection.h"
#include "orv/db/recordset.h"
#include "orv/db/schema.h"

namespace orv::trade::testing {

void TradeTest::SetUp() {
  static std::atomic<int> counter{0};
  dir_ = std::filesystem::temp_directory_path() /
         ("orv-trade-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(dir_);
  const auto file = db::YearDatabaseFile(dir_, "ACME", kY1, kY2);
  db::CreateYearDatabase(file, kY1, kY2);
  cn_ = Variant(db::NewConnection());
  db::ConnectionOf(cn_).Open(db::ConnectionStringFor(file), "", "", -1);
}

void TradeTest::TearDown() {
  cn_ = Variant();
  std::filesystem::remove_all(dir_);
}

void TradeTest::Exec(const std::string& sql) {
  db::ConnectionOf(cn_).Execute(sql);
}

Variant TradeTest::Scalar(const std::string& sql) {
  db::Recordset rs;
  rs.Open(sql, cn_);
  return rs.Field(0);
}

std::vector<std::vector<Variant>> TradeTest::Rows(const std::string& sql) {
  db::Recordset rs;
  rs.Open(sql, cn_);
  std::vector<std::vector<Variant>> rows;
  for (; !rs.Eof(); rs.MoveNext()) {
    auto& row = rows.emplace_back();
    for (int i = 0; i < rs.FieldCount(); ++i) row.push_back(rs.Field(i));
  }
  return rows;
}

std::vector<int> TradeTest::EntriesOf(int16_t id) {
  std::vector<int> entries;
  for (const auto& row : Rows("Select V_EntryNo from " + std::string(kVouchers) +
                              " where V_Id=" + std::to_string(id) + " order by V_EntryNo"))
    entries.push_back(row[0].ToInt32());
  return entries;
}

void TradeTest::AddAccount(int16_t id, const std::string& name) {
  Exec(
      "Insert into ACC_MASTER_2008_2009 (AM_AccId, AM_AccName, AM_GrpFlag, AM_GrpNo, "
      "AM_LevelNo, AM_AccType) values (" +
      std::to_string(id) + ", '" + name + "', 'L', 1, 2, 'Trading')");
}

void TradeTest::RefuseRowsSigned(const std::string& sign) {
  // Straight to the engine: a trigger's text must reach it as written.
  const std::string sql = "Create Trigger refuse_sign Before Insert On " + std::string(kVouchers) +
                          " When NEW.V_AmtSign = '" + sign +
                          "' Begin Select RAISE(ABORT, 'row refused'); End";
  ASSERT_EQ(sqlite3_exec(db::ConnectionOf(cn_).Handle(), sql.c_str(), nullptr, nullptr, nullptr),
            SQLITE_OK);
}

Variant TradeTest::Save(Dispatch& obj, const char* flag) {
  return obj.Call("Save", {Variant(flag), cn_, Variant(kY1), Variant(kY2)});
}

void TradeTest::Read(Dispatch& obj, std::initializer_list<Variant> keys) {
  std::vector<Variant> args(keys);
  args.insert(args.end(), {cn_, Variant(kY1), Variant(kY2)});
  obj.Call("Read", args);
}

int ErrorNumberOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const AutomationError& e) {
    return e.number();
  }
  return 0;
}

std::string ErrorTextOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const AutomationError& e) {
    return e.description();
  }
  return "";
}

Variant Day(int year, int month, int day) {
  return Variant(MakeDate({year, month, day}));
}

}  // namespace orv::trade::testing
