// A fresh year database for each test, the connection a front-end would pass, and plain-SQL
// helpers to look at (and tamper with) the voucher table behind the components' backs.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "orv/dispatch.h"

namespace orv::trade::testing {

inline constexpr int16_t kY1 = 2008;
inline constexpr int16_t kY2 = 2009;
inline constexpr const char* kVouchers = "VOUCHERS_2008_2009";

class TradeTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Runs a statement that returns no rows on the test's connection.
  void Exec(const std::string& sql);
  // The first column of the first row that `sql` selects.
  Variant Scalar(const std::string& sql);
  // Every row that `sql` selects, each as its column values.
  std::vector<std::vector<Variant>> Rows(const std::string& sql);
  // The entry numbers of voucher `id`'s rows, in order.
  std::vector<int> EntriesOf(int16_t id);
  // An account of the account master, as its own Save would leave it for a name lookup.
  void AddAccount(int16_t id, const std::string& name);
  // Makes the engine refuse every voucher row whose sign is `sign` (an insert that fails).
  void RefuseRowsSigned(const std::string& sign);

  // obj.Save(flag, cn, 2008, 2009) and obj.Read(args..., cn, 2008, 2009), late bound.
  Variant Save(Dispatch& obj, const char* flag = "New");
  void Read(Dispatch& obj, std::initializer_list<Variant> keys);

  std::filesystem::path dir_;
  Variant cn_;
};

// The error number `f` raises, or 0 when it raises none.
int ErrorNumberOf(const std::function<void()>& f);
// The description of the error `f` raises, or "" when it raises none.
std::string ErrorTextOf(const std::function<void()>& f);

// Automation dates for the tests.
Variant Day(int year, int month, int day);

}  // namespace orv::trade::testing
