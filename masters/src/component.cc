// The entry points of the ORVMasters library.
#include "classes.h"
#include "orv/registry.h"

namespace orv::masters {
namespace {

const ComponentInfo& Info() {
  static const ComponentInfo info{"ORVMasters",
                                  Guid::FromLiteral("{3D57D298-F466-4660-AF88-C7F21CC6AF4C}"),
                                  5,
                                  0,
                                  {
                                      {&Account::Type_, "ORVMasters.clsAccount",
                                       [] { return Ref<Dispatch>(MakeRef<Account>()); }},
                                      {&AccountDetails::Type_, "ORVMasters.clsAccountDetails",
                                       [] { return Ref<Dispatch>(MakeRef<AccountDetails>()); }},
                                  }};
  return info;
}

}  // namespace
}  // namespace orv::masters

ORV_DEFINE_COMPONENT(orv::masters::Info)
