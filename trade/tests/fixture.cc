#include "fixture.h"

namespace orv::trade::testing {

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
  RefuseInserts("refuse_sign", kVouchers, "NEW.V_AmtSign = '" + sign + "'");
}

void TradeTest::Read(Dispatch& obj, std::initializer_list<Variant> keys) {
  CallWithYear(obj, "Read", keys);
}

Variant Day(int year, int month, int day) {
  return Variant(MakeDate({year, month, day}));
}

}  // namespace orv::trade::testing
