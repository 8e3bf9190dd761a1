#include "orv/guid.h"

#include <cstdio>
#include <cstdlib>

namespace orv {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<Guid> Guid::Parse(std::string_view text) {
  if (text.size() == 38) {
    if (text.front() != '{' || text.back() != '}') return std::nullopt;
    text = text.substr(1, 36);
  }
  if (text.size() != 36) return std::nullopt;
  uint8_t bytes[16];
  size_t b = 0;
  for (size_t i = 0; i < 36;) {
    if (i == 8 || i == 13 || i == 18 || i == 23) {
      if (text[i] != '-') return std::nullopt;
      ++i;
      continue;
    }
    const int hi = HexValue(text[i]), lo = HexValue(text[i + 1]);
    if (hi < 0 || lo < 0) return std::nullopt;
    bytes[b++] = static_cast<uint8_t>(hi << 4 | lo);
    i += 2;
  }
  Guid g;
  g.data1 = uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16 | uint32_t(bytes[2]) << 8 | bytes[3];
  g.data2 = static_cast<uint16_t>(bytes[4] << 8 | bytes[5]);
  g.data3 = static_cast<uint16_t>(bytes[6] << 8 | bytes[7]);
  for (int i = 0; i < 8; ++i) g.data4[i] = bytes[8 + i];
  return g;
}

Guid Guid::FromLiteral(std::string_view text) {
  auto g = Parse(text);
  if (!g) {
    std::fprintf(stderr, "malformed identifier literal: %.*s\n", int(text.size()), text.data());
    std::abort();
  }
  return *g;
}

std::string Guid::ToString() const {
  char buf[39];
  std::snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", data1, data2,
                data3, data4[0], data4[1], data4[2], data4[3], data4[4], data4[5], data4[6],
                data4[7]);
  return buf;
}

}  // namespace orv

size_t std::hash<orv::Guid>::operator()(const orv::Guid& g) const noexcept {
  uint64_t a = uint64_t(g.data1) << 32 | uint64_t(g.data2) << 16 | g.data3;
  uint64_t b = 0;
  for (uint8_t x : g.data4) b = b << 8 | x;
  return std::hash<uint64_t>()(a * 0x9E3779B97F4A7C15ull ^ b);
}
