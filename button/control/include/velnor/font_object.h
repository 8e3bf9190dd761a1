// The font object of the button's Font property: a late-bound object with the properties Name,
// Size, Bold, Italic, Underline and Strikethrough, holding a Font value.
//
// Reading the control's Font gives a new font object with the control's font; changing that
// object changes nothing until it is set back with a put by reference. Any object with the same
// property names can be set as the font.
#pragma once

#include "orv/dispatch.h"
#include "velnor/export.h"
#include "velnor/font.h"

namespace velnor {

class VELNOR_API FontObject final : public orv::DispatchObject<FontObject> {
 public:
  static const orv::ClassTable<FontObject>& Table();
  static orv::Ref<FontObject> Create(Font value);

  explicit FontObject(Font value) : value_(std::move(value)) {}
  const Font& value() const { return value_; }

 private:
  Font value_;
};

// The font a variant's object describes, read through its properties by name. The object-not-set
// error for nothing, type mismatch for a value that is no object.
VELNOR_API Font FontFromVariant(const orv::Variant& v);

}  // namespace velnor
