// The account master's test fixture: the shared year database of test_support.h, with helpers to
// drive the account master's classes the way a front-end does: created through the class
// registry and called only by late binding.
#pragma once

#include <string>

#include "test_support.h"

namespace orv::masters::testing {

using db::testing::ErrorNumberOf;
using db::testing::kY1;
using db::testing::kY2;

class MastersTest : public db::testing::YearDatabaseTest {
 protected:
  MastersTest() : YearDatabaseTest("orv-masters") {}

  // A new clsAccount / clsAccountDetails from the registry.
  static Ref<Dispatch> NewAccount();
  static Ref<Dispatch> NewDetails();

  // Fills the account's properties and saves it "New" (its details' AccountId set to `id`).
  Ref<Dispatch> SaveNew(int16_t id, const std::string& name, const char* flag, int16_t group,
                        double opening = 0, const char* sign = "Dr");

  // Rebuilds a year table (base name) with its rows but without NOT NULL, defaults or keys, as
  // an older database may have it, so that tests can store Nulls and duplicates.
  void RelaxTable(const std::string& base);
};

}  // namespace orv::masters::testing
