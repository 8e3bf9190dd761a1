#include "values.h"

#include <datetime.h>

#include <limits>

#include "late_binding.h"
#include "orv/error.h"

namespace orv::python {
namespace {

// The datetime C API is looked up once per process; importing it again is harmless.
void EnsureDateTimeApi() {
  if (!PyDateTimeAPI) {
    PyDateTime_IMPORT;
    if (!PyDateTimeAPI) throw py::error_already_set();
  }
}

Variant IntToVariant(py::handle value, VarType declared) {
  int overflow = 0;
  const long long v = PyLong_AsLongLongAndOverflow(value.ptr(), &overflow);
  if (v == -1 && PyErr_Occurred()) throw py::error_already_set();
  const bool fits16 = !overflow && v >= std::numeric_limits<int16_t>::min() &&
                      v <= std::numeric_limits<int16_t>::max();
  const bool fits32 = !overflow && v >= std::numeric_limits<int32_t>::min() &&
                      v <= std::numeric_limits<int32_t>::max();
  switch (declared) {
    case VarType::Int16:
      if (!fits16) ThrowOverflow();
      return Variant(static_cast<int16_t>(v));
    case VarType::Int32:
      if (!fits32) ThrowOverflow();
      return Variant(static_cast<int32_t>(v));
    default:
      if (fits16) return Variant(static_cast<int16_t>(v));
      if (fits32) return Variant(static_cast<int32_t>(v));
      break;
  }
  // A double for a double parameter, and for any parameter when no integer type holds it.
  const double d = PyLong_AsDouble(value.ptr());
  if (d == -1.0 && PyErr_Occurred()) {
    PyErr_Clear();  // beyond the range of a double
    ThrowOverflow();
  }
  return Variant(d);
}

Variant DateTimeToVariant(py::handle value) {
  const bool has_time = PyDateTime_Check(value.ptr());
  DateParts p;
  p.year = PyDateTime_GET_YEAR(value.ptr());
  p.month = PyDateTime_GET_MONTH(value.ptr());
  p.day = PyDateTime_GET_DAY(value.ptr());
  int micro = 0;
  if (has_time) {
    p.hour = PyDateTime_DATE_GET_HOUR(value.ptr());
    p.minute = PyDateTime_DATE_GET_MINUTE(value.ptr());
    p.second = PyDateTime_DATE_GET_SECOND(value.ptr());
    micro = PyDateTime_DATE_GET_MICROSECOND(value.ptr());
  }
  Date d = MakeDate(p);  // the type mismatch error outside the years 100 to 9999
  // The fraction of a second counts forward in time like the rest of the time of day, which
  // before the epoch means away from zero.
  const double fraction = micro / 86400e6;
  d.value += d.value < 0 ? -fraction : fraction;
  return Variant(d);
}

Variant ArrayToVariant(py::handle value) {
  SafeArray a;
  const py::sequence items = py::reinterpret_borrow<py::sequence>(value);
  a.items.reserve(items.size());
  for (py::handle item : items) a.items.push_back(ToVariant(item, VarType::Empty));
  return Variant(std::move(a));
}

py::object DateFromVariant(Date d) {
  EnsureDateTimeApi();
  const DateParts p = SplitDate(d);
  PyObject* r = PyDateTime_FromDateAndTime(p.year, p.month, p.day, p.hour, p.minute, p.second, 0);
  if (!r) throw py::error_already_set();
  return py::reinterpret_steal<py::object>(r);
}

}  // namespace

const NullValue& NullValue::Instance() noexcept {
  static const NullValue null;
  return null;
}

py::str TextToPython(std::string_view text) {
  PyObject* s = PyUnicode_DecodeUTF8(text.data(), Py_ssize_t(text.size()), "surrogateescape");
  if (!s) throw py::error_already_set();
  return py::reinterpret_steal<py::str>(s);
}

std::string TextFromPython(py::handle text) {
  PyObject* b = PyUnicode_AsEncodedString(text.ptr(), "utf-8", "surrogateescape");
  if (!b) throw py::error_already_set();
  const py::bytes bytes = py::reinterpret_steal<py::bytes>(b);
  return std::string(bytes);
}

Variant ToVariant(py::handle value, VarType declared) {
  if (value.is_none()) return Variant();
  if (py::isinstance<NullValue>(value)) return Variant::MakeNull();
  // bool before int: a bool is an int to Python.
  if (PyBool_Check(value.ptr())) return Variant(value.ptr() == Py_True);
  if (PyLong_Check(value.ptr())) return IntToVariant(value, declared);
  if (PyFloat_Check(value.ptr())) return Variant(PyFloat_AS_DOUBLE(value.ptr()));
  if (PyUnicode_Check(value.ptr())) return Variant(TextFromPython(value));
  if (py::isinstance<ObjectHandle>(value))
    return Variant(value.cast<const ObjectHandle&>().object());
  if (PyList_Check(value.ptr()) || PyTuple_Check(value.ptr())) return ArrayToVariant(value);
  EnsureDateTimeApi();
  if (PyDate_Check(value.ptr())) return DateTimeToVariant(value);  // date and datetime
  throw py::type_error("orv: a value of type '" +
                       std::string(py::str(value.get_type().attr("__name__"))) +
                       "' cannot be passed to an automation object");
}

py::object FromVariant(const Variant& value) {
  switch (value.type()) {
    case VarType::Empty:
      return py::none();
    case VarType::Null:
      return py::cast(&NullValue::Instance(), py::return_value_policy::reference);
    case VarType::Int16:
      return py::int_(value.int16());
    case VarType::Int32:
      return py::int_(value.int32());
    case VarType::Double:
      return py::float_(value.dbl());
    case VarType::Date:
      return DateFromVariant(value.ToDate());
    case VarType::Text:
      return TextToPython(value.text());
    case VarType::Bool:
      return py::bool_(value.boolean());
    case VarType::Object:
      if (!value.object()) return py::none();
      return py::cast(ObjectHandle(value.object()));
    case VarType::Array: {
      const SafeArray& a = value.array();
      py::list out(a.items.size());
      for (size_t i = 0; i < a.items.size(); ++i) out[i] = FromVariant(a.items[i]);
      return out;
    }
  }
  return py::none();
}

}  // namespace orv::python
