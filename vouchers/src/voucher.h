// clsVoucher: one row of the year's voucher table, found by (V_Id, V_EntryNo). Save replaces
// the row, Read loads it and looks up the name of its account in the account master.
#pragma once

#include <span>

#include "orv/db/connection.h"
#include "orv/db/record.h"
#include "orv/dispatch.h"

namespace orv::vouchers {

// Positions of the row's properties in VoucherFields(): the interface order, which is also
// the order in which Save writes the columns and Read fills the properties.
namespace vf {
enum : size_t {
  kId,
  kAccId,
  kDate,
  kAmt,
  kAmtSign,
  kVoucherType,
  kEntryNo,
  kRemarks,
  kPVoucherNo,
  kPVoucherType,
  kVchPrefix,
  kVchPrefix2,
  kVchSuffix,
  kVchNo,
  kStrVchNo,
  kVchType1,
  kVchType2,
  kVchType3,
  kVchFlag,
  kExtra1,
  kExtra2,
  kExtra3,
  kExtra4,
  kExtra5,
  kAccountName,  // get only, not a column: set by Read from the account master
  kCount
};
}  // namespace vf

// The property table of clsVoucher.
std::span<const db::FieldSpec> VoucherFields();

class Voucher final : public DispatchObject<Voucher> {
 public:
  // The component's own interface: the row object behind a _clsVoucher reference, so that the
  // multi-leg vouchers can fill and persist their legs without late binding.
  static const Guid kRowIid;

  Voucher();
  static const ClassTable<Voucher>& Table();
  static const TypeInfo& Type_() { return Table().type(); }
  void* QueryInterface(const Guid& iid) noexcept override;

  // Deletes the row (V_Id, V_EntryNo) and inserts the properties anew, both or neither.
  // Returns 0.
  int16_t Save(const Variant& cn, int16_t y1, int16_t y2);
  // The delete and the insert alone, for a caller that already holds a write unit on `cn`.
  void Write(const Variant& cn, int16_t y1, int16_t y2);
  // Sets V_Id and V_EntryNo, then loads the row if there is one and the name of its account.
  void Read(int16_t id, int16_t entry_no, const Variant& cn, int16_t y1, int16_t y2);

  db::Record row;  // the property values, by VoucherFields()
};

// The row behind a _clsVoucher reference: nullptr for nothing, the type mismatch error for an
// object that is not a voucher row.
Ref<Voucher> VoucherOf(const Variant& v);

}  // namespace orv::vouchers
