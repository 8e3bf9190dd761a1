// Building SQL text from values, and checking the fragments that callers pass verbatim.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "orv/db/connection.h"

namespace orv::db {

// "_" + y1 + "_" + y2, the suffix of every table of a fiscal year.
std::string YearSuffix(int16_t y1, int16_t y2);
// A text between single quotes with embedded quotes doubled, so that it can never end the
// literal early.
std::string Quote(std::string_view text);

// The refused-fragment error unless `op` is one of =, <>, <, <=, >, >=.
void CheckComparison(std::string_view op);
// The refused-fragment error unless `list` is column names, each with an optional ASC or DESC,
// separated by commas.
void CheckSortList(std::string_view list);
// The refused-fragment error unless `sql` is exactly one statement that reads and changes
// nothing (a SELECT), judged by the engine itself on the connection.
void CheckReadOnlyQuery(IConnection& cn, std::string_view sql);

// Splits a statement into a template whose literals after WHERE, SET, VALUES, ON and HAVING are
// `?` parameters, and the literals themselves; used by the statement cache.
struct LiftedSql {
  std::string text;
  struct Literal {
    enum Kind { kInteger, kReal, kText } kind;
    std::string value;  // digits, or the unquoted text
  };
  std::vector<Literal> literals;
};
LiftedSql LiftLiterals(std::string_view sql);

}  // namespace orv::db
