// Conversions between Python values and automation Variants.
//
//   None                      <-> Empty
//   orv.Null                  <-> Null
//   bool                      <-> boolean
//   int                       <-> the integer type the receiving member declares
//   float                     <-> double
//   str                       <-> text (UTF-8)
//   datetime.datetime / date  <-> date (results are always datetime.datetime)
//   orv.Object                <-> object (an object reference set to nothing gives None)
//   list / tuple              <-> array (results are lists)
#pragma once

#include <pybind11/pybind11.h>

#include <string_view>

#include "orv/variant.h"

namespace orv::python {

namespace py = pybind11;

// The type of orv.Null: one immutable instance, so that `value is orv.Null` holds.
struct NullValue {
  static const NullValue& Instance() noexcept;
};

// `value` as an argument or property value of declared type `declared` (VarType::Empty: any
// variant). An int becomes that integer type (the overflow error when out of range), a double
// for a double, and otherwise the smallest of 16-bit, 32-bit and double that holds it; every
// other value keeps its own type and the member converts it as it would any variant. A Python
// value with no automation counterpart raises TypeError.
Variant ToVariant(py::handle value, VarType declared);

// The Python value of a Variant.
py::object FromVariant(const Variant& value);

// Texts cross as UTF-8; bytes that are not valid UTF-8 survive a round trip as surrogates.
py::str TextToPython(std::string_view text);
std::string TextFromPython(py::handle text);

}  // namespace orv::python
