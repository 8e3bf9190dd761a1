// The multi-leg voucher classes of the component. Each is a LegVoucher driven by its own leg
// table; the bank voucher also lists vouchers by a caller's query.
#pragma once

#include "leg_voucher.h"

namespace orv::vouchers {

// A receipt: Bank 1, SalesReturn 2, RateDifference 3, Discount 4, Customer 5; header from
// Customer.
class RcptVoucher final : public DispatchObject<RcptVoucher>, public LegVoucher {
 public:
  RcptVoucher();
  static const LegLayout& Layout();
  static const ClassTable<RcptVoucher>& Table();
  static const TypeInfo& Type_() { return Table().type(); }
};

// A payment: Bank 1, PurchaseReturn 2, TDS 3, Discount 4, Supplier 5; header from Supplier.
class PymtVoucher final : public DispatchObject<PymtVoucher>, public LegVoucher {
 public:
  PymtVoucher();
  static const LegLayout& Layout();
  static const ClassTable<PymtVoucher>& Table();
  static const TypeInfo& Type_() { return Table().type(); }
};

// A contra entry: Cash 1, Bank 2, saved in that order; header from Cash.
class ContraVoucher final : public DispatchObject<ContraVoucher>, public LegVoucher {
 public:
  ContraVoucher();
  static const LegLayout& Layout();
  static const ClassTable<ContraVoucher>& Table();
  static const TypeInfo& Type_() { return Table().type(); }
};

// A bank receipt, bank payment or contra entry, laid out by V_VoucherType; header from row 1.
class BankVoucher final : public DispatchObject<BankVoucher>, public LegVoucher {
 public:
  BankVoucher();
  static const LegLayout& Layout();
  static const ClassTable<BankVoucher>& Table();
  static const TypeInfo& Type_() { return Table().type(); }

  // Runs the caller's query (one read-only statement with a V_Id column) and reads one bank
  // voucher per result row into `a1`, resized to count + 1 elements, the last left empty.
  // Returns the count.
  static int16_t Get_Vouchers_With_Details(const std::string& sql, const Variant& cn, int16_t y1,
                                           int16_t y2, Variant& a1);
};

}  // namespace orv::vouchers
