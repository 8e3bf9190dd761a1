#include "orv/db/record.h"

namespace orv::db {
namespace {

Variant ZeroOf(VarType t) {
  switch (t) {
    case VarType::Int16:
      return Variant(int16_t{0});
    case VarType::Int32:
      return Variant(int32_t{0});
    case VarType::Double:
      return Variant(0.0);
    case VarType::Bool:
      return Variant(false);
    case VarType::Date:
      return Variant(Date{0});
    case VarType::Text:
      return Variant(std::string());
    default:
      return Variant();
  }
}

}  // namespace

Record::Record(std::span<const FieldSpec> fields) : fields_(fields) {
  values_.reserve(fields.size());
  for (const FieldSpec& f : fields) values_.push_back(ZeroOf(f.type));
}

void Record::Set(size_t i, const Variant& v) {
  values_[i] = v.ConvertTo(fields_[i].type);
}

void WriteFields(Recordset& rs, const Record& r, size_t first, size_t last) {
  for (size_t i = first; i < last; ++i)
    if (!r.fields()[i].column.empty()) rs.SetField(r.fields()[i].column, r[i]);
}

void ReadFields(Recordset& rs, Record& r, size_t first, size_t last) {
  for (size_t i = first; i < last; ++i) {
    const FieldSpec& f = r.fields()[i];
    if (f.read == ReadMode::kNone || f.column.empty()) continue;
    r.Set(i, ReadAs(rs.Field(f.column), f.read, f.type));
  }
}

}  // namespace orv::db
