#include "orv/variant.h"

#include <cerrno>
#include <cfenv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "orv/error.h"

namespace orv {

std::string_view VarTypeName(VarType t) noexcept {
  switch (t) {
    case VarType::Empty: return "Empty";
    case VarType::Null: return "Null";
    case VarType::Int16: return "Integer";
    case VarType::Int32: return "Long";
    case VarType::Double: return "Double";
    case VarType::Date: return "Date";
    case VarType::Text: return "String";
    case VarType::Bool: return "Boolean";
    case VarType::Object: return "Object";
    case VarType::Array: return "Array";
  }
  return "?";
}

// ---- numbers -------------------------------------------------------------------------------

int16_t RoundToInt16(double v) {
  // nearbyint rounds in the current mode, which is round-to-nearest-even unless someone
  // changed it; the runtime never does.
  const double r = std::nearbyint(v);
  if (!(r >= -32768.0 && r <= 32767.0)) ThrowOverflow();
  return static_cast<int16_t>(r);
}

int32_t RoundToInt32(double v) {
  const double r = std::nearbyint(v);
  if (!(r >= -2147483648.0 && r <= 2147483647.0)) ThrowOverflow();
  return static_cast<int32_t>(r);
}

int16_t AddInt16(int16_t a, int16_t b) {
  const int32_t s = int32_t(a) + int32_t(b);
  if (s < -32768 || s > 32767) ThrowOverflow();
  return static_cast<int16_t>(s);
}

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Scans the longest number at the start of `s` (after `pos`); returns the end of it, or `pos`
// when there is no digit.
size_t ScanNumber(std::string_view s, size_t pos) {
  size_t i = pos;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  size_t digits = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return pos;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    size_t exp_digits = 0;
    while (j < s.size() && s[j] >= '0' && s[j] <= '9') ++j, ++exp_digits;
    if (exp_digits > 0) i = j;
  }
  return i;
}

double ToDoubleChecked(std::string_view s) {
  std::string tmp(s);
  errno = 0;
  const double v = std::strtod(tmp.c_str(), nullptr);
  if (errno == ERANGE && std::isinf(v)) ThrowOverflow();
  return v;
}

// The whole text as a number (blanks around it allowed); type mismatch otherwise.
double StrictTextToDouble(std::string_view s) {
  size_t b = 0;
  while (b < s.size() && IsBlank(s[b])) ++b;
  const size_t e = ScanNumber(s, b);
  if (e == b) ThrowTypeMismatch();
  size_t rest = e;
  while (rest < s.size() && IsBlank(s[rest])) ++rest;
  if (rest != s.size()) ThrowTypeMismatch();
  return ToDoubleChecked(s.substr(b, e - b));
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

}  // namespace

double ParseNumber(std::string_view text) noexcept {
  size_t b = 0;
  while (b < text.size() && IsBlank(text[b])) ++b;
  const size_t e = ScanNumber(text, b);
  if (e == b) return 0;
  std::string tmp(text.substr(b, e - b));
  return std::strtod(tmp.c_str(), nullptr);
}

std::string FormatDouble(double v) {
  if (std::isnan(v)) return "NaN";
  if (std::isinf(v)) return v > 0 ? "Infinity" : "-Infinity";
  if (v == 0) return "0";
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.15G", v);
  return buf;
}

// ---- dates ---------------------------------------------------------------------------------

namespace {

// Days from 1970-01-01 to a civil date (proleptic Gregorian).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int* y, int* m, int* d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t yy = static_cast<int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  *d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  *m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  *y = static_cast<int>(yy + (*m <= 2));
}

const int64_t kEpoch = DaysFromCivil(1899, 12, 30);

int DaysInMonth(int y, int m) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return m == 2 && leap ? 29 : kDays[m - 1];
}

}  // namespace

Date MakeDate(const DateParts& p) {
  if (p.month < 1 || p.month > 12 || p.day < 1 || p.day > DaysInMonth(p.year, p.month) ||
      p.hour < 0 || p.hour > 23 || p.minute < 0 || p.minute > 59 || p.second < 0 || p.second > 59 ||
      p.year < 100 || p.year > 9999)
    ThrowTypeMismatch();
  const double days = double(DaysFromCivil(p.year, unsigned(p.month), unsigned(p.day)) - kEpoch);
  const double frac = (p.hour * 3600 + p.minute * 60 + p.second) / 86400.0;
  // Before the epoch the time of day still counts forward from midnight, so the value is the
  // day number minus the fraction.
  return Date{days < 0 ? days - frac : days + frac};
}

DateParts SplitDate(Date d) {
  double days = std::trunc(d.value);
  double frac = std::fabs(d.value - days);
  int64_t secs = std::llround(frac * 86400.0);
  if (secs >= 86400) {
    secs -= 86400;
    days += d.value < 0 ? -1 : 1;
  }
  DateParts p;
  CivilFromDays(static_cast<int64_t>(days) + kEpoch, &p.year, &p.month, &p.day);
  p.hour = int(secs / 3600);
  p.minute = int(secs / 60 % 60);
  p.second = int(secs % 60);
  return p;
}

std::string FormatDate(Date d) {
  const DateParts p = SplitDate(d);
  char buf[32];
  if (p.hour == 0 && p.minute == 0 && p.second == 0)
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", p.year, p.month, p.day);
  else
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", p.year, p.month, p.day, p.hour,
                  p.minute, p.second);
  return buf;
}

bool ParseDate(std::string_view s, Date* out) noexcept {
  auto num = [&](size_t pos, size_t len, int* v) {
    if (pos + len > s.size()) return false;
    int x = 0;
    for (size_t i = pos; i < pos + len; ++i) {
      if (s[i] < '0' || s[i] > '9') return false;
      x = x * 10 + (s[i] - '0');
    }
    *v = x;
    return true;
  };
  DateParts p;
  if (!num(0, 4, &p.year) || s.size() < 10 || s[4] != '-' || !num(5, 2, &p.month) || s[7] != '-' ||
      !num(8, 2, &p.day))
    return false;
  if (s.size() > 10) {
    if ((s[10] != ' ' && s[10] != 'T') || !num(11, 2, &p.hour) || s.size() < 16 || s[13] != ':' ||
        !num(14, 2, &p.minute))
      return false;
    if (s.size() == 16) {
    } else if (s.size() == 19 && s[16] == ':' && num(17, 2, &p.second)) {
    } else {
      return false;
    }
  }
  try {
    *out = MakeDate(p);
  } catch (const AutomationError&) {
    return false;
  }
  return true;
}

// ---- Variant -------------------------------------------------------------------------------

Variant::Variant(Ref<Object> v) noexcept : type_(VarType::Object), object_(std::move(v)) {}

Variant::Variant(SafeArray a)
    : type_(VarType::Array), array_(std::make_unique<SafeArray>(std::move(a))) {}

Variant::Variant(const Variant& o)
    : type_(o.type_),
      u_(o.u_),
      text_(o.text_),
      object_(o.object_),
      array_(o.array_ ? std::make_unique<SafeArray>(*o.array_) : nullptr) {}

Variant& Variant::operator=(const Variant& o) {
  if (this != &o) {
    Variant copy(o);
    *this = std::move(copy);
  }
  return *this;
}

Variant::~Variant() = default;

bool Variant::IsNumeric() const noexcept {
  switch (type_) {
    case VarType::Int16:
    case VarType::Int32:
    case VarType::Double:
    case VarType::Bool:
    case VarType::Date:
      return true;
    default:
      return false;
  }
}

SafeArray& Variant::array() {
  if (type_ != VarType::Array) ThrowTypeMismatch();
  return *array_;
}

const SafeArray& Variant::array() const {
  if (type_ != VarType::Array) ThrowTypeMismatch();
  return *array_;
}

double Variant::ToDouble() const {
  switch (type_) {
    case VarType::Empty: return 0;
    case VarType::Null: ThrowInvalidUseOfNull();
    case VarType::Int16: return u_.i16;
    case VarType::Int32: return u_.i32;
    case VarType::Double:
    case VarType::Date: return u_.d;
    case VarType::Bool: return u_.b ? -1 : 0;
    case VarType::Text: return StrictTextToDouble(text_);
    case VarType::Object:
    case VarType::Array: ThrowTypeMismatch();
  }
  ThrowTypeMismatch();
}

int16_t Variant::ToInt16() const {
  switch (type_) {
    case VarType::Int16: return u_.i16;
    case VarType::Bool: return u_.b ? -1 : 0;
    default: return RoundToInt16(ToDouble());
  }
}

int32_t Variant::ToInt32() const {
  switch (type_) {
    case VarType::Int16: return u_.i16;
    case VarType::Int32: return u_.i32;
    case VarType::Bool: return u_.b ? -1 : 0;
    default: return RoundToInt32(ToDouble());
  }
}

bool Variant::ToBool() const {
  switch (type_) {
    case VarType::Bool: return u_.b;
    case VarType::Text:
      if (EqualsNoCase(text_, "True")) return true;
      if (EqualsNoCase(text_, "False")) return false;
      return StrictTextToDouble(text_) != 0;
    default: return ToDouble() != 0;
  }
}

std::string Variant::ToText() const {
  switch (type_) {
    case VarType::Empty: return {};
    case VarType::Null: ThrowInvalidUseOfNull();
    case VarType::Int16: return std::to_string(u_.i16);
    case VarType::Int32: return std::to_string(u_.i32);
    case VarType::Double: return FormatDouble(u_.d);
    case VarType::Date: return FormatDate(Date{u_.d});
    case VarType::Bool: return u_.b ? "True" : "False";
    case VarType::Text: return text_;
    case VarType::Object:
    case VarType::Array: ThrowTypeMismatch();
  }
  ThrowTypeMismatch();
}

Date Variant::ToDate() const {
  switch (type_) {
    case VarType::Date: return Date{u_.d};
    case VarType::Text: {
      Date d;
      if (ParseDate(text_, &d)) return d;
      ThrowTypeMismatch();
    }
    case VarType::Bool: ThrowTypeMismatch();
    default: return Date{ToDouble()};
  }
}

Ref<Object> Variant::ToObject() const {
  if (type_ == VarType::Empty) return nullptr;
  if (type_ == VarType::Object) return object_;
  ThrowTypeMismatch();
}

std::string Variant::JoinText() const { return IsNull() ? std::string() : ToText(); }

double Variant::ParseNumber() const { return orv::ParseNumber(JoinText()); }

Variant Variant::ConvertTo(VarType t) const {
  if (t == VarType::Empty || t == type_) return *this;
  if (type_ == VarType::Null) ThrowInvalidUseOfNull();
  switch (t) {
    case VarType::Int16: return Variant(ToInt16());
    case VarType::Int32: return Variant(ToInt32());
    case VarType::Double: return Variant(ToDouble());
    case VarType::Date: return Variant(ToDate());
    case VarType::Text: return Variant(ToText());
    case VarType::Bool: return Variant(ToBool());
    case VarType::Object: return Variant(ToObject());
    case VarType::Null:
    case VarType::Empty:
    case VarType::Array: break;
  }
  ThrowTypeMismatch();
}

bool operator==(const Variant& a, const Variant& b) {
  if (a.type_ != b.type_) return false;
  switch (a.type_) {
    case VarType::Empty:
    case VarType::Null: return true;
    case VarType::Int16: return a.u_.i16 == b.u_.i16;
    case VarType::Int32: return a.u_.i32 == b.u_.i32;
    case VarType::Double:
    case VarType::Date: return a.u_.d == b.u_.d;
    case VarType::Bool: return a.u_.b == b.u_.b;
    case VarType::Text: return a.text_ == b.text_;
    case VarType::Object: return a.object_ == b.object_;
    case VarType::Array:
      return a.array_->lower == b.array_->lower && a.array_->items == b.array_->items;
  }
  return false;
}

}  // namespace orv
