// Record classes as tables: each property is one row of a FieldSpec table (name, type, column,
// read mode, dispatch id). The table drives the property members, the order in which a save
// writes the columns and the order in which a read fills the properties.
#pragma once

#include <functional>
#include <span>
#include <string_view>
#include <vector>

#include "orv/db/read_mode.h"
#include "orv/db/recordset.h"
#include "orv/dispatch.h"

namespace orv::db {

struct FieldSpec {
  std::string_view property;
  VarType type;             // Int16, Double, Text, Bool or Date
  std::string_view column;  // the column saved and read; empty when the property is not stored
  ReadMode read;            // kNone: not read from the column
  DispId dispid;
  bool get_only = false;
};

// Short names for writing a field table, brought into a component's source file (never a
// header) with `using namespace db::field_table;`.
namespace field_table {
inline constexpr VarType kInt16 = VarType::Int16;
inline constexpr VarType kDouble = VarType::Double;
inline constexpr VarType kText = VarType::Text;
inline constexpr VarType kBool = VarType::Bool;
inline constexpr VarType kDate = VarType::Date;
inline constexpr ReadMode kStrict = ReadMode::kStrict;              // Null fails
inline constexpr ReadMode kNullTolerant = ReadMode::kNullTolerant;  // Null gives ""
inline constexpr ReadMode kNumeric = ReadMode::kNumeric;  // Null or non-numeric text gives 0
inline constexpr ReadMode kNotRead = ReadMode::kNone;     // not read from the column
}  // namespace field_table

// The values of a record's properties, one per field, each always of its field's type.
class Record {
 public:
  explicit Record(std::span<const FieldSpec> fields);

  std::span<const FieldSpec> fields() const noexcept { return fields_; }
  const Variant& operator[](size_t i) const noexcept { return values_[i]; }
  // Stores `v` converted to the field's type (the conversion errors of an assignment).
  void Set(size_t i, const Variant& v);

  int16_t Int16(size_t i) const noexcept { return values_[i].int16(); }
  double Double(size_t i) const noexcept { return values_[i].dbl(); }
  const std::string& Text(size_t i) const noexcept { return values_[i].text(); }
  bool Bool(size_t i) const noexcept { return values_[i].boolean(); }

 private:
  std::span<const FieldSpec> fields_;
  std::vector<Variant> values_;
};

// Sets the columns of fields [first, last) on the recordset's current row, in table order.
// Fields without a column are skipped.
void WriteFields(Recordset& rs, const Record& r, size_t first, size_t last);
// Reads fields [first, last) from the current row by their read modes, in table order. A failing
// column stops the read; the fields before it keep their new values.
void ReadFields(Recordset& rs, Record& r, size_t first, size_t last);

// Appends a property member (get, and put unless get-only) for every field of `record`'s table.
template <class T>
void AddFieldMembers(std::vector<MemberDef<T>>& defs, std::span<const FieldSpec> fields,
                     Record T::*record) {
  for (size_t i = 0; i < fields.size(); ++i) {
    const FieldSpec& f = fields[i];
    MemberDef<T> d;
    d.info = MemberInfo{f.property, f.dispid,
                        uint8_t(f.get_only ? kPropertyGet : kPropertyGet | kPropertyPut), f.type};
    d.get = [record, i](T& self) { return (self.*record)[i]; };
    if (!f.get_only) d.put = [record, i](T& self, const Variant& v) { (self.*record).Set(i, v); };
    defs.push_back(std::move(d));
  }
}

}  // namespace orv::db
