// The entry points of the ORVCompany library.
#include "classes.h"
#include "orv/registry.h"

namespace orv::company {
namespace {

const ComponentInfo& Info() {
  static const ComponentInfo info{
      "ORVCompany",
      Guid::FromLiteral("{3AD43F7D-84DD-4F68-AF53-7179DE4F10F0}"),
      2,
      0,
      {
          {&Company::Type_, "ORVCompany.clsCompany",
           [] { return Ref<Dispatch>(MakeRef<Company>()); }},
          {&Tables::Type_, "ORVCompany.clsTables", [] { return Ref<Dispatch>(MakeRef<Tables>()); }},
      }};
  return info;
}

}  // namespace
}  // namespace orv::company

ORV_DEFINE_COMPONENT(orv::company::Info)
