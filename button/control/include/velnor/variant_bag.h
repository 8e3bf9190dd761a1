// A property bag of automation values, as a container keeps the saved properties of a form.
//
// Keys compare without regard to case. A write stores the value only when it differs from the
// default given with it (or always, when no default is given) and removes the key otherwise;
// a read of a missing key gives the default. Reads convert with the runtime's conversions and
// fail with its errors (type mismatch, overflow) for a value of the wrong kind.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "orv/variant.h"
#include "velnor/export.h"
#include "velnor/host.h"

namespace velnor {

class VELNOR_API VariantPropertyBag final : public PropertyBag {
 public:
  struct KeyLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
  };
  using Values = std::map<std::string, orv::Variant, KeyLess>;

  const Values& values() const { return values_; }
  std::optional<orv::Variant> Get(std::string_view key) const;
  void Set(std::string_view key, orv::Variant value);

  bool ReadBool(std::string_view key, bool default_value) override;
  std::string ReadText(std::string_view key, const std::string& default_value) override;
  ColorRef ReadColor(std::string_view key, ColorRef default_value) override;
  Font ReadFont(std::string_view key, const Font& default_value) override;

  void WriteBool(std::string_view key, bool value, bool default_value) override;
  void WriteText(std::string_view key, const std::string& value,
                 const std::string& default_value) override;
  void WriteColor(std::string_view key, ColorRef value,
                  std::optional<ColorRef> default_value) override;
  void WriteFont(std::string_view key, const Font& value, const Font& default_value) override;

 private:
  void Store(std::string_view key, orv::Variant value, bool differs);

  Values values_;
};

}  // namespace velnor
