// Fuzzes the runtime's numeric parse, text form and 16-bit conversion with their invariants:
// the parse never fails, a number's text form reads back as the same number to 15 significant
// digits, and a 16-bit conversion either gives the nearest whole number or a conversion error.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "orv/error.h"
#include "orv/variant.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

// The 15-digit text form of a double near the largest one rounds past it and reads back as
// infinity (the original runtime raised overflow there); every other double reads back.
void CheckReadsBack(double d) {
  const double back = orv::ParseNumber(orv::FormatDouble(d));
  if (std::isinf(back) && std::fabs(d) > 1.79769313486231e308) return;
  Check(d == 0 ? back == 0 : std::fabs(back - d) <= std::fabs(d) * 1e-14);
}

void CheckInt16(const orv::Variant& v, double expected) {
  try {
    const int16_t r = v.ToInt16();
    Check(std::fabs(double(r) - expected) <= 0.5);
  } catch (const orv::AutomationError& e) {
    Check(e.number() == orv::err::kOverflow || e.number() == orv::err::kTypeMismatch);
    if (e.number() == orv::err::kOverflow) Check(!(expected > -32768.5 && expected < 32767.5));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const double parsed = orv::ParseNumber(text);
  if (std::isfinite(parsed)) {
    CheckReadsBack(parsed);
    CheckInt16(orv::Variant(parsed), parsed);
  }
  try {
    orv::Variant(text).ToInt16();
  } catch (const orv::AutomationError& e) {
    Check(e.number() == orv::err::kOverflow || e.number() == orv::err::kTypeMismatch);
  }
  if (size >= sizeof(double)) {
    double d;
    std::memcpy(&d, data, sizeof d);
    if (!std::isnan(d)) CheckInt16(orv::Variant(d), d);
    if (std::isfinite(d)) CheckReadsBack(d);
  }
  return 0;
}
