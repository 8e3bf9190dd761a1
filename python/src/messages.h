// Modal messages of the components shown by a Python function.
#pragma once

#include <pybind11/pybind11.h>

namespace orv::python {

namespace py = pybind11;

// Makes `handler(text)` show each modal message; None restores the runtime's default (standard
// error). An exception the handler raises ends the component method that showed the message
// and reaches the Python caller of that method unchanged.
void SetMessageHandler(py::object handler);

}  // namespace orv::python
