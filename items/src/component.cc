// The entry points of the ORVItems library.
#include "items.h"
#include "orv/registry.h"

namespace orv::items {
namespace {

const ComponentInfo& Info() {
  static const ComponentInfo info{
      "ORVItems",
      Guid::FromLiteral("{A2C47EF8-8DB5-4C0D-A26F-8224E0BD498C}"),
      2,
      0,
      {
          {&Items::Type_, "ORVItems.clsItems", [] { return Ref<Dispatch>(MakeRef<Items>()); }},
      }};
  return info;
}

}  // namespace
}  // namespace orv::items

ORV_DEFINE_COMPONENT(orv::items::Info)
