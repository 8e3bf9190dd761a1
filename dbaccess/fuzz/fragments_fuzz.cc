// Fuzzes the checks of callers' SQL fragments, the literal lifting of the statement cache and the
// connection-string parser. An accepted fragment must hold nothing that could end or extend a
// statement; lifting must keep every literal; the parser must either refuse or return keys in
// lower case.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "orv/db/connection_string.h"
#include "orv/db/sql.h"
#include "orv/error.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

bool Accepted(void (*check)(std::string_view), std::string_view text) {
  try {
    check(text);
    return true;
  } catch (const orv::AutomationError& e) {
    Check(e.number() == orv::err::kUnsafeSqlFragment);
    return false;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);

  if (Accepted(orv::db::CheckComparison, text))
    Check(text == "=" || text == "<>" || text == "<" || text == "<=" || text == ">" ||
          text == ">=");

  if (Accepted(orv::db::CheckSortList, text)) {
    // Outside bracketed names nothing may end the statement, open a comment or an expression;
    // inside them the engine reads everything up to the closing bracket as the name, so only
    // control characters (a NUL ends the text the engine reads) are out of place.
    bool in_brackets = false;
    for (char c : text) {
      if (in_brackets) {
        Check(static_cast<unsigned char>(c) >= 0x20);
        in_brackets = c != ']';
      } else {
        Check(c != ';' && c != '\'' && c != '"' && c != '(' && c != ')' && c != '-' && c != '/' &&
              c != '\0');
        in_brackets = c == '[';
      }
    }
  }

  const std::string quoted = orv::db::Quote(text);
  size_t quotes = 0;
  for (char c : quoted) quotes += c == '\'';
  Check(quotes % 2 == 0 && quoted.front() == '\'' && quoted.back() == '\'');

  const orv::db::LiftedSql lifted = orv::db::LiftLiterals("Select * from T where A=" + text);
  if (text.find('?') == std::string::npos) {
    // Every '?' of the template is a lifted literal, and every literal left a '?'.
    size_t marks = 0;
    for (char c : lifted.text) marks += c == '?';
    Check(marks == lifted.literals.size());
  }

  try {
    for (const auto& [key, value] : orv::db::ParseConnectionString(text)) {
      Check(!key.empty());
      for (char c : key) Check(!(c >= 'A' && c <= 'Z') && c != ';' && c != '=');
    }
  } catch (const orv::AutomationError& e) {
    Check(e.number() == orv::err::kInvalidArgument);
  }
  return 0;
}
