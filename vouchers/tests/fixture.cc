#include "fixture.h"

#include "orv/registry.h"

namespace orv::vouchers::testing {

Ref<Dispatch> VoucherTest::New(const std::string& class_name) {
  return CreateObject("ORVVouchers." + class_name);
}

void VoucherTest::Read(Dispatch& obj, int16_t id) {
  CallWithYear(obj, "Read", {Variant(id)});
}

void VoucherTest::ReadRow(Dispatch& obj, int16_t id, int16_t entry) {
  CallWithYear(obj, "Read", {Variant(id), Variant(entry)});
}

int64_t VoucherTest::VoucherRowCount() {
  return Count(kVouchers);
}

void VoucherTest::AddAccount(int16_t id, const std::string& name) {
  Exec(
      "Insert into ACC_MASTER_2008_2009 (AM_AccId, AM_AccName, AM_GrpFlag, AM_GrpNo, "
      "AM_LevelNo, AM_AccType) values (" +
      std::to_string(id) + ", '" + name + "', 'L', 0, 1, 'Asset')");
}

void VoucherTest::RefuseRowsSignedRefuse() {
  RefuseInserts("refuse_marked", kVouchers, "NEW.V_AmtSign = 'refuse'");
}

}  // namespace orv::vouchers::testing
