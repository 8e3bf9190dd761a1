// A fresh year database in a temporary folder, and a connection opened on it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "orv/db/connection.h"
#include "orv/db/schema.h"

namespace orv::db::testing {

class YearDatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Runs one statement on the test's connection and returns the single value it selects.
  Variant Scalar(const std::string& sql);

  std::filesystem::path dir_;
  std::filesystem::path file_;
  Variant cn_;  // the connection object, as components receive it
  IConnection* conn_ = nullptr;
};

// The error number `f` raises, or 0 when it raises none.
int ErrorNumberOf(const std::function<void()>& f);

}  // namespace orv::db::testing
