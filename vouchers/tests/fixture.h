// A fresh year database for each test, opened on a connection as the front-end hands it to the
// voucher classes, and helpers that drive those classes by late binding only.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "orv/db/connection.h"
#include "orv/dispatch.h"

namespace orv::vouchers::testing {

inline constexpr int16_t kY1 = 2008;
inline constexpr int16_t kY2 = 2009;
inline const std::string kVouchers = "VOUCHERS_2008_2009";
// The error of a row refused by RefuseRowsSignedRefuse: the engine reports a trigger's refusal
// as a constraint failure.
inline constexpr int kRowRefused = 3022;

class VoucherTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A new object of the component, created through the registry by ProgID.
  static Ref<Dispatch> New(const std::string& class_name);

  // obj.Save("New", cn, 2008, 2009) and obj.Read(id[, entry], cn, 2008, 2009).
  Variant Save(Dispatch& obj, const char* flag = "New");
  void Read(Dispatch& obj, int16_t id);
  void ReadRow(Dispatch& obj, int16_t id, int16_t entry);

  // Direct access to the database, for arranging rows and checking what was written.
  void Exec(const std::string& sql);
  std::vector<std::vector<Variant>> Rows(const std::string& sql);
  Variant Scalar(const std::string& sql);
  int64_t VoucherRowCount();
  // An account row of the account master, which Read asks for names.
  void AddAccount(int16_t id, const std::string& name);
  // Makes every insert of a voucher row whose V_AmtSign is 'refuse' fail (one leg of a voucher,
  // chosen by its sign).
  void RefuseRowsSignedRefuse();

  std::filesystem::path dir_;
  Variant cn_;
  db::IConnection* conn_ = nullptr;
};

// The error number `f` raises, or 0 when it raises none.
int ErrorNumberOf(const std::function<void()>& f);

// The member names of a class in interface order.
std::vector<std::string> MemberNames(Dispatch& obj);

}  // namespace orv::vouchers::testing
