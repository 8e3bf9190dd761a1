// How a column's value becomes a property value.
#pragma once

#include "orv/variant.h"

namespace orv::db {

enum class ReadMode : uint8_t {
  kStrict,        // converted to the property's type; Null is the invalid-use-of-Null error
  kNullTolerant,  // joined with the empty text: Null gives ""
  kNumeric,       // the null-tolerant text read as a number (nothing numeric gives 0)
  kNone,          // not read from a column
};

// Converts a column value to a property of type `type` by `mode`. Overflow outside the 16-bit
// range for 16-bit properties.
Variant ReadAs(const Variant& column_value, ReadMode mode, VarType type);

}  // namespace orv::db
