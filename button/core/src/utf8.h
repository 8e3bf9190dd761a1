// UTF-8 helpers for captions: the button counts characters, not bytes.
#pragma once

#include <string>
#include <string_view>

namespace velnor::utf8 {

// The code points of `text`; a malformed byte stands for itself (as Latin-1).
std::u32string Decode(std::string_view text);
std::string Encode(std::u32string_view text);
// The text from character `start` (1-based) to the end; "" when it has fewer characters.
std::string From(std::string_view text, size_t start);
// Lower case for ASCII and Latin-1 letters; other characters are returned unchanged.
char32_t ToLower(char32_t c);

}  // namespace velnor::utf8
