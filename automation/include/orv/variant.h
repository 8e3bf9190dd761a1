// Variant: the value type of late binding, with the conversions of the original runtime.
//
// A Variant is Empty, Null, a 16-bit or 32-bit integer, a double, a date (days since
// 30 December 1899, the fraction being the time of day), a text (UTF-8), a boolean (true is -1),
// an object reference or an array of variants. Copies of arrays are deep (arrays are values);
// copies of objects share the object.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "orv/export.h"
#include "orv/object.h"

namespace orv {

enum class VarType : uint8_t { Empty, Null, Int16, Int32, Double, Date, Text, Bool, Object, Array };

ORV_API std::string_view VarTypeName(VarType t) noexcept;

class Variant;

// A one-dimensional array with its lower bound, as the list methods resize it.
struct ORV_API SafeArray {
  int32_t lower = 0;
  std::vector<Variant> items;
};

struct Date {
  double value = 0;  // days since 30 Dec 1899
};

struct Null {};

class ORV_API Variant {
 public:
  Variant() noexcept = default;
  Variant(Null) noexcept : type_(VarType::Null) {}
  Variant(int16_t v) noexcept : type_(VarType::Int16) { u_.i16 = v; }
  Variant(int32_t v) noexcept : type_(VarType::Int32) { u_.i32 = v; }
  Variant(double v) noexcept : type_(VarType::Double) { u_.d = v; }
  Variant(Date v) noexcept : type_(VarType::Date) { u_.d = v.value; }
  Variant(bool v) noexcept : type_(VarType::Bool) { u_.b = v; }
  Variant(std::string v) : type_(VarType::Text), text_(std::move(v)) {}
  Variant(std::string_view v) : Variant(std::string(v)) {}
  Variant(const char* v) : Variant(std::string(v)) {}
  Variant(Ref<Object> v) noexcept;
  template <class T>
  Variant(const Ref<T>& v) noexcept : Variant(Ref<Object>(v.get())) {}
  Variant(SafeArray a);

  Variant(const Variant& o);
  Variant(Variant&& o) noexcept = default;
  Variant& operator=(const Variant& o);
  Variant& operator=(Variant&& o) noexcept = default;
  ~Variant();

  static Variant MakeNull() { return Variant(Null{}); }

  VarType type() const noexcept { return type_; }
  bool IsEmpty() const noexcept { return type_ == VarType::Empty; }
  bool IsNull() const noexcept { return type_ == VarType::Null; }
  bool IsNumeric() const noexcept;

  // Raw access; the caller has checked type().
  int16_t int16() const noexcept { return u_.i16; }
  int32_t int32() const noexcept { return u_.i32; }
  double dbl() const noexcept { return u_.d; }
  bool boolean() const noexcept { return u_.b; }
  const std::string& text() const noexcept { return text_; }
  const Ref<Object>& object() const noexcept { return object_; }
  SafeArray& array();
  const SafeArray& array() const;

  // Conversions of the original runtime. Null gives the invalid-use-of-Null error, a value
  // outside the target's range the overflow error, a value of no numeric meaning the type
  // mismatch error.
  int16_t ToInt16() const;  // rounds halves to the even neighbour
  int32_t ToInt32() const;
  double ToDouble() const;
  bool ToBool() const;      // 0 is false, every other number true
  std::string ToText() const;  // the text form
  Date ToDate() const;
  // The object held, or nullptr for Empty and for an object reference set to nothing.
  // Other types give the type mismatch error.
  Ref<Object> ToObject() const;

  // The value joined with the empty text: Null gives "", anything else its text form.
  std::string JoinText() const;
  // The null-tolerant text form read as a decimal number (see ParseNumber).
  double ParseNumber() const;

  // The value converted to `t`, as an assignment to a property of that type converts it:
  // Empty gives the type's zero value, Null the invalid-use-of-Null error. Converting to
  // VarType::Empty returns the value unchanged (a property of variant type).
  Variant ConvertTo(VarType t) const;

  friend ORV_API bool operator==(const Variant& a, const Variant& b);

 private:
  VarType type_ = VarType::Empty;
  union {
    int16_t i16;
    int32_t i32;
    double d;
    bool b;
  } u_{};
  std::string text_;
  Ref<Object> object_;
  std::unique_ptr<SafeArray> array_;
};

// Rounds to the nearest whole number, halves to the even neighbour, and checks the 16-bit
// range (overflow error outside -32768..32767).
ORV_API int16_t RoundToInt16(double v);
ORV_API int32_t RoundToInt32(double v);
// 16-bit arithmetic with the overflow error.
ORV_API int16_t AddInt16(int16_t a, int16_t b);

// Reads a decimal number from the start of a text: leading blanks skipped, then an optional
// sign, digits, an optional point with more digits and an optional exponent, up to the first
// other character. Text with no number at its start gives 0.
ORV_API double ParseNumber(std::string_view text) noexcept;

// The text form of a double: up to 15 significant digits, no trailing zeros, exponent form
// ("1E+20", "1E-05") for very large and very small magnitudes.
ORV_API std::string FormatDouble(double v);

// Automation dates. A date's text form is "YYYY-MM-DD", with " HH:MM:SS" when the time of day
// is not midnight.
struct DateParts {
  int year = 1899, month = 12, day = 30, hour = 0, minute = 0, second = 0;
};
ORV_API Date MakeDate(const DateParts& p);  // type mismatch error for an impossible date
ORV_API DateParts SplitDate(Date d);
ORV_API std::string FormatDate(Date d);
// Parses "YYYY-MM-DD" with an optional " HH:MM[:SS]" (or a 'T' separator); false when the
// text is not such a date.
ORV_API bool ParseDate(std::string_view text, Date* out) noexcept;

}  // namespace orv
