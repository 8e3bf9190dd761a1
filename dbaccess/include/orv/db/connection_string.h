// Building and parsing of connection strings: "key=value;key=value", keys without regard to case, a
// value optionally between double or single quotes (so that it may hold a semicolon).
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

namespace orv::db {

// Keys come back in lower case with blanks around them removed. A piece without "=" or with an
// empty key, or an unterminated quote, is the invalid-argument error.
std::unordered_map<std::string, std::string> ParseConnectionString(std::string_view text);

// The connection string of a year database at `data_source` (a path, `\` allowed as the
// separator), with the provider and database password the components use. The path goes between
// quotes when it holds a semicolon, so that it can never end the value and add keys of its own;
// a path that cannot be quoted either way is the invalid-path error.
std::string ConnectionStringFor(std::string_view data_source);

// `s` with the letters A-Z in lower case and every other byte as it is: how keys and provider
// names compare without regard to case.
std::string LowerAscii(std::string_view s);

}  // namespace orv::db
