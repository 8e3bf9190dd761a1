#include "velnor/variant_bag.h"

#include <algorithm>

#include "velnor/btn_velnor.h"
#include "velnor/font_object.h"

namespace velnor {

bool VariantPropertyBag::KeyLess::operator()(std::string_view a, std::string_view b) const {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [&](char x, char y) { return lower(x) < lower(y); });
}

std::optional<orv::Variant> VariantPropertyBag::Get(std::string_view key) const {
  auto it = values_.find(key);
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

void VariantPropertyBag::Set(std::string_view key, orv::Variant value) {
  values_.insert_or_assign(std::string(key), std::move(value));
}

void VariantPropertyBag::Store(std::string_view key, orv::Variant value, bool differs) {
  if (differs) {
    Set(key, std::move(value));
  } else if (auto it = values_.find(key); it != values_.end()) {
    values_.erase(it);
  }
}

bool VariantPropertyBag::ReadBool(std::string_view key, bool default_value) {
  auto v = Get(key);
  return v ? v->ToBool() : default_value;
}

std::string VariantPropertyBag::ReadText(std::string_view key, const std::string& default_value) {
  auto v = Get(key);
  return v ? v->ToText() : default_value;
}

ColorRef VariantPropertyBag::ReadColor(std::string_view key, ColorRef default_value) {
  auto v = Get(key);
  return v ? ColorFromVariant(*v) : default_value;
}

Font VariantPropertyBag::ReadFont(std::string_view key, const Font& default_value) {
  auto v = Get(key);
  return v ? FontFromVariant(*v) : default_value;
}

void VariantPropertyBag::WriteBool(std::string_view key, bool value, bool default_value) {
  Store(key, orv::Variant(value), value != default_value);
}

void VariantPropertyBag::WriteText(std::string_view key, const std::string& value,
                                   const std::string& default_value) {
  Store(key, orv::Variant(value), value != default_value);
}

void VariantPropertyBag::WriteColor(std::string_view key, ColorRef value,
                                    std::optional<ColorRef> default_value) {
  Store(key, ColorToVariant(value), !default_value || value != *default_value);
}

void VariantPropertyBag::WriteFont(std::string_view key, const Font& value,
                                   const Font& default_value) {
  Store(key, orv::Variant(FontObject::Create(value)), value != default_value);
}

}  // namespace velnor
