// The entry points of the ORVVchr library.
#include "classes.h"
#include "orv/registry.h"

namespace orv::trade {
namespace {

const ComponentInfo& Info() {
  static const ComponentInfo info{
      "ORVVchr",
      Guid::FromLiteral("{C994E07C-98E7-416B-85C6-F4F0DE58886D}"),
      1,
      0,
      {
          {&Vchr::Type_, "ORVVchr.clsVchr", [] { return Ref<Dispatch>(MakeRef<Vchr>()); }},
          {&SalesType, "ORVVchr.Sales",
           [] { return Ref<Dispatch>(MakeRef<TradeVoucher>(SalesClass())); }},
          {&PurchaseType, "ORVVchr.Purchase",
           [] { return Ref<Dispatch>(MakeRef<TradeVoucher>(PurchaseClass())); }},
      }};
  return info;
}

}  // namespace
}  // namespace orv::trade

ORV_DEFINE_COMPONENT(orv::trade::Info)
