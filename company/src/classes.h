// The classes of the company component: clsCompany opens the year database of a company and
// fiscal year; clsTables names that year's tables.
#pragma once

#include <array>
#include <string>

#include "orv/dispatch.h"

namespace orv::company {

class Tables final : public DispatchObject<Tables> {
 public:
  static const ClassTable<Tables>& Table();
  static const TypeInfo& Type_() { return Table().type(); }

  // Sets all ten names to base name + "_" + y1 + "_" + y2.
  void InitialiseTableNames(int16_t y1, int16_t y2);

  // One name per base table, in the order the names are derived; only the first two are
  // properties.
  std::array<std::string, 10> names;
};

class Company final : public DispatchObject<Company> {
 public:
  Company();
  static const ClassTable<Company>& Table();
  static const TypeInfo& Type_() { return Table().type(); }

  // Closes the connection if it is open, opens the year database, shows the two messages and
  // names the tables. Returns 0; errors reach the caller.
  int16_t Connect(const std::string& data_folder);

  std::string short_name;
  Variant cn;  // the connection object (by reference)
  int16_t year1 = 0;
  int16_t year2 = 0;
  Variant tables;  // the clsTables object (by reference)
};

}  // namespace orv::company
