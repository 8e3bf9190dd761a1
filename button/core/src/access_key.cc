#include "velnor/access_key.h"

#include "utf8.h"

namespace velnor {

std::string AccessKeyFor(std::string_view caption) {
  const std::u32string chars = utf8::Decode(caption);
  const size_t n = chars.size();
  if (n <= 1) return {};
  const size_t a = chars.find(U'&');
  if (a == std::u32string::npos || a + 1 == n) return {};
  if (chars[a + 1] != U'&') return utf8::Encode(std::u32string(1, utf8::ToLower(chars[a + 1])));

  // "&&" at a shows a single "&"; look past this one pair for the marking "&".
  const size_t c = chars.find(U'&', a + 2);
  if (c == std::u32string::npos) return {};
  if (c + 1 == n) return {};  // the caption ends in the "&": nothing follows it
  if (chars[c + 1] == U'&') return {};
  return utf8::Encode(std::u32string(1, utf8::ToLower(chars[c + 1])));
}

}  // namespace velnor
