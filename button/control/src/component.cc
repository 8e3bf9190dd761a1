// The entry points of the VelnorButton library: its component description for the class
// registry and self-registration.
#include "orv/registry.h"
#include "velnor/btn_velnor.h"

namespace velnor {
namespace {

const orv::TypeInfo& BtnVelnorType() {
  return BtnVelnor::Table().type();
}
orv::Ref<orv::Dispatch> CreateBtnVelnor() {
  return BtnVelnor::Create();
}

}  // namespace

const orv::ComponentInfo& VelnorComponent() {
  static const orv::ComponentInfo info{
      kLibraryName,
      orv::Guid::FromLiteral(kLibraryId),
      kLibMajor,
      kLibMinor,
      {orv::ClassEntry{&BtnVelnorType, kProgId, &CreateBtnVelnor}},
  };
  return info;
}

}  // namespace velnor

ORV_DEFINE_COMPONENT(velnor::VelnorComponent)
