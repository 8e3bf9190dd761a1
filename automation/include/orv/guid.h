// A 128-bit class, interface or library identifier, written
// {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}.
#pragma once

#include <array>
#include <compare>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "orv/export.h"

namespace orv {

struct ORV_API Guid {
  uint32_t data1 = 0;
  uint16_t data2 = 0;
  uint16_t data3 = 0;
  std::array<uint8_t, 8> data4{};

  // Accepts the braced form and the bare 36-character form, hex digits in either case.
  static std::optional<Guid> Parse(std::string_view text);
  // Parses a literal known to be valid; a malformed literal is a programming error and aborts.
  static Guid FromLiteral(std::string_view text);
  // The braced upper-case form.
  std::string ToString() const;

  bool IsNull() const { return *this == Guid{}; }
  friend bool operator==(const Guid&, const Guid&) = default;
  friend auto operator<=>(const Guid&, const Guid&) = default;
};

}  // namespace orv

template <>
struct std::hash<orv::Guid> {
  size_t operator()(const orv::Guid& g) const noexcept;
};
