// The entry points of the ORVVouchers library.
#include "classes.h"
#include "orv/registry.h"

namespace orv::vouchers {
namespace {

template <class T>
Ref<Dispatch> Create() {
  return Ref<Dispatch>(MakeRef<T>());
}

const ComponentInfo& Info() {
  static const ComponentInfo info{
      "ORVVouchers",
      Guid::FromLiteral("{25D763DD-0844-437A-816F-BEBA804A3706}"),
      3,
      0,
      {
          {&Voucher::Type_, "ORVVouchers.clsVoucher", &Create<Voucher>},
          {&RcptVoucher::Type_, "ORVVouchers.clsRcptVoucher", &Create<RcptVoucher>},
          {&PymtVoucher::Type_, "ORVVouchers.clsPymtVoucher", &Create<PymtVoucher>},
          {&ContraVoucher::Type_, "ORVVouchers.clsContraVoucher", &Create<ContraVoucher>},
          {&BankVoucher::Type_, "ORVVouchers.clsBankVoucher", &Create<BankVoucher>},
      }};
  return info;
}

}  // namespace
}  // namespace orv::vouchers

ORV_DEFINE_COMPONENT(orv::vouchers::Info)
