#include "orv/db/read_mode.h"

#include "orv/error.h"

namespace orv::db {

Variant ReadAs(const Variant& v, ReadMode mode, VarType type) {
  switch (mode) {
    case ReadMode::kStrict:
      if (v.IsNull()) ThrowInvalidUseOfNull();
      return v.ConvertTo(type);
    case ReadMode::kNullTolerant:
      return Variant(v.JoinText());
    case ReadMode::kNumeric: {
      const double d = v.ParseNumber();
      if (type == VarType::Int16) return Variant(RoundToInt16(d));
      if (type == VarType::Text) return Variant(FormatDouble(d));
      return Variant(d).ConvertTo(type);
    }
    case ReadMode::kNone:
      break;
  }
  return v;
}

}  // namespace orv::db
