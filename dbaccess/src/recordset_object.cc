// The automation face of a recordset: Recordset, its Fields collection and a Field.
#include <strings.h>

#include "engine_error.h"
#include "orv/db/recordset.h"

namespace orv::db {
namespace {

class RecordsetObject;

// One column of the recordset's current row; it reads and writes through the recordset.
class FieldObject final : public DispatchObject<FieldObject> {
 public:
  FieldObject(Ref<RecordsetObject> rs, int index) : rs_(std::move(rs)), index_(index) {}
  static const ClassTable<FieldObject>& Table();

 private:
  Ref<RecordsetObject> rs_;
  int index_;
};

class FieldsObject final : public DispatchObject<FieldsObject> {
 public:
  explicit FieldsObject(Ref<RecordsetObject> rs) : rs_(std::move(rs)) {}
  static const ClassTable<FieldsObject>& Table();

 private:
  Ref<RecordsetObject> rs_;
};

class RecordsetObject final : public DispatchObject<RecordsetObject> {
 public:
  static const ClassTable<RecordsetObject>& Table();
  Recordset rs;

  int IndexOf(const Variant& item) {
    if (item.type() == VarType::Text) {
      const std::string name = item.text();
      for (int i = 0; i < rs.FieldCount(); ++i)
        if (strcasecmp(rs.FieldName(i).c_str(), name.c_str()) == 0) return i;
      ThrowDb(err::kItemNotFound,
              "Item cannot be found in the collection corresponding to the requested name or "
              "ordinal: " +
                  name);
    }
    return item.ToInt32();
  }
};

const ClassTable<FieldObject>& FieldObject::Table() {
  static const ClassTable<FieldObject> table(
      "Field", "{5F2B8C41-7D3E-4A69-B0C2-9E8F1A6D3B5B}", "Field",
      "{5F2B8C41-7D3E-4A69-B0C2-9E8F1A6D3B5C}",
      {
          {{"Value", 0, kPropertyGet | kPropertyPut},
           [](FieldObject& f) { return f.rs_->rs.Field(f.index_); },
           [](FieldObject& f, const Variant& v) { f.rs_->rs.SetField(f.index_, v); }},
          {{"Name", 1, kPropertyGet, VarType::Text},
           [](FieldObject& f) { return Variant(f.rs_->rs.FieldName(f.index_)); }},
      });
  return table;
}

const ClassTable<FieldsObject>& FieldsObject::Table() {
  static const ClassTable<FieldsObject> table(
      "Fields", "{5F2B8C41-7D3E-4A69-B0C2-9E8F1A6D3B5D}", "Fields",
      "{5F2B8C41-7D3E-4A69-B0C2-9E8F1A6D3B5E}",
      {
          {{"Item", 0, kMethod | kPropertyGet, VarType::Object, {{"Index", VarType::Empty}}},
           nullptr,
           nullptr,
           [](FieldsObject& f, std::span<Variant> a) {
             const int i = f.rs_->IndexOf(a[0]);
             if (i < 0 || i >= f.rs_->rs.FieldCount()) f.rs_->rs.FieldName(i);  // raises
             return Variant(MakeRef<FieldObject>(f.rs_, i));
           }},
          {{"Count", 1, kPropertyGet, VarType::Int32},
           [](FieldsObject& f) { return Variant(int32_t(f.rs_->rs.FieldCount())); }},
      });
  return table;
}

const ClassTable<RecordsetObject>& RecordsetObject::Table() {
  auto none = [](auto fn) {
    return [fn](RecordsetObject& r, std::span<Variant>) {
      fn(r.rs);
      return Variant();
    };
  };
  static const ClassTable<RecordsetObject> table(
      "Recordset", "{5F2B8C41-7D3E-4A69-B0C2-9E8F1A6D3B59}", "_Recordset",
      "{5F2B8C41-7D3E-4A69-B0C2-9E8F1A6D3B5A}",
      {
          {{"Open",
            1,
            kMethod,
            VarType::Empty,
            {{"Source", VarType::Text},
             {"ActiveConnection", VarType::Object, true},
             {"CursorType", VarType::Int32, false, true},
             {"LockType", VarType::Int32, false, true},
             {"Options", VarType::Int32, false, true}}},
           nullptr,
           nullptr,
           [](RecordsetObject& r, std::span<Variant> a) {
             if (a.size() < 2)
               ThrowDb(err::kConnectionNotUsable,
                       "The connection cannot be used to perform this operation.");
             r.rs.Open(a[0].JoinText(), a[1]);
             return Variant();
           }},
          {{"EOF", 2, kPropertyGet, VarType::Bool},
           [](RecordsetObject& r) { return Variant(r.rs.Eof()); }},
          {{"RecordCount", 3, kPropertyGet, VarType::Int32},
           [](RecordsetObject& r) { return Variant(r.rs.RecordCount()); }},
          {{"MoveNext", 4, kMethod}, nullptr, nullptr, none([](Recordset& rs) { rs.MoveNext(); })},
          {{"AddNew", 5, kMethod}, nullptr, nullptr, none([](Recordset& rs) { rs.AddNew(); })},
          {{"Update", 6, kMethod}, nullptr, nullptr, none([](Recordset& rs) { rs.Update(); })},
          {{"State", 7, kPropertyGet, VarType::Int32},
           [](RecordsetObject& r) { return Variant(r.rs.State()); }},
          {{"Close", 8, kMethod},
           nullptr,
           nullptr,
           [](RecordsetObject& r, std::span<Variant>) {
             if (r.rs.State() != kStateOpen)
               ThrowDb(err::kObjectClosed, "Operation is not allowed when the object is closed.");
             r.rs.Close();
             return Variant();
           }},
          {{"Fields", 0, kPropertyGet, VarType::Object},
           [](RecordsetObject& r) {
             return Variant(MakeRef<FieldsObject>(Ref<RecordsetObject>(&r)));
           }},
      });
  return table;
}

}  // namespace

Ref<Dispatch> NewRecordsetObject() {
  return Ref<Dispatch>(MakeRef<RecordsetObject>());
}

}  // namespace orv::db
