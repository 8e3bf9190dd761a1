// The voucher classes' test fixture: the shared year database of test_support.h, opened on a
// connection as the front-end hands it to the voucher classes, and helpers that drive those
// classes by late binding only.
#pragma once

#include <string>

#include "test_support.h"

namespace orv::vouchers::testing {

using db::testing::ErrorNumberOf;
using db::testing::kY1;
using db::testing::kY2;
using db::testing::MemberNames;

inline const std::string kVouchers = "VOUCHERS_2008_2009";
// The error of a row refused by RefuseRowsSignedRefuse: the engine reports a trigger's refusal
// as a constraint failure.
inline constexpr int kRowRefused = 3022;

class VoucherTest : public db::testing::YearDatabaseTest {
 protected:
  VoucherTest() : YearDatabaseTest("orv-vouchers") {}

  // A new object of the component, created through the registry by ProgID.
  static Ref<Dispatch> New(const std::string& class_name);

  // obj.Read(id[, entry], cn, 2008, 2009).
  void Read(Dispatch& obj, int16_t id);
  void ReadRow(Dispatch& obj, int16_t id, int16_t entry);

  int64_t VoucherRowCount();
  // An account row of the account master, which Read asks for names.
  void AddAccount(int16_t id, const std::string& name);
  // Makes every insert of a voucher row whose V_AmtSign is 'refuse' fail (one leg of a voucher,
  // chosen by its sign).
  void RefuseRowsSignedRefuse();
};

}  // namespace orv::vouchers::testing
