#include "orv/db/connection_string.h"

#include <algorithm>

#include "engine_error.h"
#include "orv/db/connection.h"
#include "orv/db/schema.h"

namespace orv::db {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

}  // namespace

std::string ConnectionStringFor(std::string_view data_source) {
  std::string value(data_source);
  const bool plain = value.find(';') == std::string::npos && value.find('"') != 0 &&
                     value.find('\'') != 0 && value.find(' ') != 0;
  if (!plain) {
    if (value.find('"') == std::string::npos)
      value = '"' + value + '"';
    else if (value.find('\'') == std::string::npos)
      value = '\'' + value + '\'';
    else
      ThrowDb(3044, "'" + value + "' is not a valid path.");
  }
  return "Provider=" + std::string(kProvider) + ";Data Source=" + value +
         ";Jet OLEDB:Database Password=" + std::string(kDatabasePassword);
}

std::unordered_map<std::string, std::string> ParseConnectionString(std::string_view s) {
  std::unordered_map<std::string, std::string> out;
  size_t i = 0;
  while (i < s.size()) {
    // One piece: a key up to "=", then a value up to the next ";" (or a quoted value).
    size_t end_of_key = i;
    while (end_of_key < s.size() && s[end_of_key] != '=' && s[end_of_key] != ';') ++end_of_key;
    if (end_of_key == s.size() || s[end_of_key] == ';') {
      if (!Trim(s.substr(i, end_of_key - i)).empty())
        ThrowDb(err::kInvalidArgument,
                "Invalid connection string: " + std::string(s.substr(i, end_of_key - i)));
      i = end_of_key + 1;
      continue;
    }
    const std::string key = LowerAscii(Trim(s.substr(i, end_of_key - i)));
    if (key.empty()) ThrowDb(err::kInvalidArgument, "Invalid connection string: empty key");
    size_t j = end_of_key + 1;
    while (j < s.size() && (s[j] == ' ' || s[j] == '\t')) ++j;
    std::string value;
    if (j < s.size() && (s[j] == '"' || s[j] == '\'')) {
      const char q = s[j];
      const size_t close = s.find(q, j + 1);
      if (close == std::string_view::npos)
        ThrowDb(err::kInvalidArgument, "Invalid connection string: unterminated quote");
      value = std::string(s.substr(j + 1, close - j - 1));
      j = close + 1;
      while (j < s.size() && (s[j] == ' ' || s[j] == '\t')) ++j;
      if (j < s.size() && s[j] != ';')
        ThrowDb(err::kInvalidArgument, "Invalid connection string: text after a quoted value");
    } else {
      const size_t end = std::min(s.find(';', j), s.size());
      value = std::string(Trim(s.substr(j, end - j)));
      j = end;
    }
    // A key given twice would let a value that ends early name another file: refuse it.
    if (!out.emplace(key, std::move(value)).second)
      ThrowDb(err::kInvalidArgument, "Invalid connection string: \"" + key + "\" given twice");
    i = j + 1;
  }
  return out;
}

std::string LowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return out;
}

}  // namespace orv::db
