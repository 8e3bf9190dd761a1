// What every component's tests share: a fresh year database (2008/2009) in a temporary folder
// with a connection opened on it, plain-SQL helpers to arrange its rows and look at them behind the
// components' backs, late-bound calls that pass the connection and the year pair, and (from
// error_of.h) the error that a call raises.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "error_of.h"
#include "orv/db/connection.h"
#include "orv/db/schema.h"
#include "orv/dispatch.h"

namespace orv::db::testing {

inline constexpr int16_t kY1 = 2008;
inline constexpr int16_t kY2 = 2009;

class YearDatabaseTest : public ::testing::Test {
 protected:
  // `folder_prefix` starts the name of each test's temporary folder, followed by the process id
  // and a counter.
  explicit YearDatabaseTest(std::string folder_prefix = "orv-test");

  void SetUp() override;
  void TearDown() override;

  // Runs a statement that returns no rows on the test's connection.
  void Exec(const std::string& sql);
  // The first column of the first row that `sql` selects; raises "No current record" when it
  // selects no row.
  Variant Scalar(const std::string& sql);
  // The number of rows in `table_and_where` ("TABLE" or "TABLE where ...").
  int64_t Count(const std::string& table_and_where);
  // Every row that `sql` selects, each as its column values.
  std::vector<std::vector<Variant>> Rows(const std::string& sql);
  // Makes the engine refuse every insert into `table` for which `when` holds (a trigger named
  // `trigger` that aborts the statement).
  void RefuseInserts(const std::string& trigger, const std::string& table, const std::string& when);

  // obj.method(args..., cn, 2008, 2009), late bound.
  Variant CallWithYear(Dispatch& obj, std::string_view method, std::vector<Variant> args);
  // obj.Save(flag, cn, 2008, 2009).
  Variant Save(Dispatch& obj, const char* flag = "New");

  std::filesystem::path dir_;
  std::filesystem::path file_;
  Variant cn_;  // the connection object, as components receive it
  IConnection* conn_ = nullptr;

 private:
  std::string folder_prefix_;
};

using orv::ErrorNumberOf;
using orv::ErrorTextOf;

// The member names of a class in interface order.
std::vector<std::string> MemberNames(Dispatch& obj);

}  // namespace orv::db::testing
