// The trade components' test fixture: the shared year database of test_support.h, the
// connection a front-end would pass, and plain-SQL helpers to look at (and tamper with) the
// voucher table behind the components' backs.
#pragma once

#include <gmock/gmock.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "test_support.h"

namespace orv::trade::testing {

using db::testing::ErrorNumberOf;
using db::testing::ErrorTextOf;
using db::testing::kY1;
using db::testing::kY2;

inline constexpr const char* kVouchers = "VOUCHERS_2008_2009";

class TradeTest : public db::testing::YearDatabaseTest {
 protected:
  TradeTest() : YearDatabaseTest("orv-trade") {}

  // The entry numbers of voucher `id`'s rows, in order.
  std::vector<int> EntriesOf(int16_t id);
  // An account of the account master, as its own Save would leave it for a name lookup.
  void AddAccount(int16_t id, const std::string& name);
  // Makes the engine refuse every voucher row whose sign is `sign` (an insert that fails).
  void RefuseRowsSigned(const std::string& sign);

  // obj.Read(keys..., cn, 2008, 2009), late bound.
  void Read(Dispatch& obj, std::initializer_list<Variant> keys);
};

// Automation dates for the tests.
Variant Day(int year, int month, int day);

}  // namespace orv::trade::testing
