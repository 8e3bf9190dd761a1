#include "velnor/font_object.h"

namespace velnor {

const orv::ClassTable<FontObject>& FontObject::Table() {
  using orv::kPropertyGet;
  using orv::kPropertyPut;
  using orv::Variant;
  using orv::VarType;
  constexpr uint8_t kGetPut = kPropertyGet | kPropertyPut;
  // Dispatch ids as font objects of the platform number them.
  static const orv::ClassTable<FontObject> table(
      "VelnorFont", "{5279685B-D1DA-4566-A2AF-3EF69100A878}", "_VelnorFont",
      "{822A4646-E852-4C6C-AF39-16E2927DACAE}",
      {
          {{"Name", 0, kGetPut, VarType::Text, {}},
           [](FontObject& f) { return Variant(f.value_.name); },
           [](FontObject& f, const Variant& v) { f.value_.name = v.ToText(); },
           nullptr},
          {{"Size", 2, kGetPut, VarType::Double, {}},
           [](FontObject& f) { return Variant(f.value_.size); },
           [](FontObject& f, const Variant& v) { f.value_.size = v.ToDouble(); },
           nullptr},
          {{"Bold", 3, kGetPut, VarType::Bool, {}},
           [](FontObject& f) { return Variant(f.value_.bold); },
           [](FontObject& f, const Variant& v) { f.value_.bold = v.ToBool(); },
           nullptr},
          {{"Italic", 4, kGetPut, VarType::Bool, {}},
           [](FontObject& f) { return Variant(f.value_.italic); },
           [](FontObject& f, const Variant& v) { f.value_.italic = v.ToBool(); },
           nullptr},
          {{"Underline", 5, kGetPut, VarType::Bool, {}},
           [](FontObject& f) { return Variant(f.value_.underline); },
           [](FontObject& f, const Variant& v) { f.value_.underline = v.ToBool(); },
           nullptr},
          {{"Strikethrough", 6, kGetPut, VarType::Bool, {}},
           [](FontObject& f) { return Variant(f.value_.strikethrough); },
           [](FontObject& f, const Variant& v) { f.value_.strikethrough = v.ToBool(); },
           nullptr},
      });
  return table;
}

orv::Ref<FontObject> FontObject::Create(Font value) {
  return orv::MakeRef<FontObject>(std::move(value));
}

Font FontFromVariant(const orv::Variant& v) {
  orv::Ref<orv::Dispatch> d = orv::AsDispatch(v);
  Font f;
  f.name = d->Get("Name").ToText();
  f.size = d->Get("Size").ToDouble();
  f.bold = d->Get("Bold").ToBool();
  f.italic = d->Get("Italic").ToBool();
  f.underline = d->Get("Underline").ToBool();
  f.strikethrough = d->Get("Strikethrough").ToBool();
  return f;
}

}  // namespace velnor
