#include "orv/object.h"

namespace orv {

const Guid kIidUnknown = Guid::FromLiteral("{00000000-0000-0000-C000-000000000046}");

Object::~Object() = default;

void* Object::QueryInterface(const Guid& iid) noexcept {
  return iid == kIidUnknown ? this : nullptr;
}

}  // namespace orv
