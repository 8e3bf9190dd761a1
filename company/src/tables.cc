#include "classes.h"

#include "orv/db/sql.h"

namespace orv::company {
namespace {

// Base names of the year's tables, in the order they are derived.
constexpr std::array<std::string_view, 10> kBaseNames = {
    "ACC_MASTER", "ACC_DETAILS", "ACC_BALANCE",        "ITEMS",     "VOUCHERS",
    "VOUCHER_DETAILS", "PURCHASES", "CUSTOMER_ITEM_RATE", "REFERENCE", "STOCK"};

MemberDef<Tables> NameProperty(std::string_view name, DispId id, size_t index) {
  return {{name, id, kPropertyGet | kPropertyPut, VarType::Text},
          [index](Tables& t) { return Variant(t.names[index]); },
          [index](Tables& t, const Variant& v) { t.names[index] = v.ToText(); }};
}

}  // namespace

void Tables::InitialiseTableNames(int16_t y1, int16_t y2) {
  const std::string suffix = db::YearSuffix(y1, y2);
  for (size_t i = 0; i < kBaseNames.size(); ++i) names[i] = std::string(kBaseNames[i]) + suffix;
}

const ClassTable<Tables>& Tables::Table() {
  static const ClassTable<Tables> table(
      "clsTables", "{C383D064-4DFB-4844-B0A8-69CB1D918AA7}", "_clsTables",
      "{848BA8A9-D07C-4F89-990B-1889B23E94BB}",
      {
          NameProperty("AM", 0x40030000, 0),
          NameProperty("AD", 0x40030001, 1),
          {{"Initialise_Table_Names", 0x60030000, kMethod, VarType::Empty,
            {{"intY1", VarType::Int16}, {"intY2", VarType::Int16}}},
           nullptr,
           nullptr,
           [](Tables& t, std::span<Variant> a) {
             t.InitialiseTableNames(a[0].ToInt16(), a[1].ToInt16());
             return Variant();
           }},
      });
  return table;
}

}  // namespace orv::company
