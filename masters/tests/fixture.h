// A fresh year database (2008/2009) in a temporary folder with a connection opened on it, and
// helpers to drive the account master's classes the way a front-end does: created through the
// class registry and called only by late binding.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "orv/db/connection.h"
#include "orv/dispatch.h"

namespace orv::masters::testing {

inline constexpr int16_t kY1 = 2008;
inline constexpr int16_t kY2 = 2009;

class MastersTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A new clsAccount / clsAccountDetails from the registry.
  static Ref<Dispatch> NewAccount();
  static Ref<Dispatch> NewDetails();

  // Fills the account's properties and saves it "New" (its details' AccountId set to `id`).
  Ref<Dispatch> SaveNew(int16_t id, const std::string& name, const char* flag, int16_t group,
                        double opening = 0, const char* sign = "Dr");

  // Calls a method of `obj` with the connection and the year pair appended to `args`.
  Variant CallWithYear(Dispatch& obj, std::string_view method, std::vector<Variant> args);

  // Runs SQL on the test's own connection.
  void Exec(const std::string& sql);
  // The single value a query selects, or Empty when it selects no row.
  Variant Scalar(const std::string& sql);
  int64_t Count(const std::string& table_and_where);
  // Rebuilds a year table (base name) with its rows but without NOT NULL, defaults or keys, as
  // an older database may have it, so that tests can store Nulls and duplicates.
  void RelaxTable(const std::string& base);

  std::filesystem::path dir_;
  Variant cn_;
  db::IConnection* conn_ = nullptr;
};

// The error number `f` raises, or 0 when it raises none.
int ErrorNumberOf(const std::function<void()>& f);

}  // namespace orv::masters::testing
