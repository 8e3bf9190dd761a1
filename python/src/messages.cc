#include "messages.h"

#include <iostream>
#include <memory>
#include <string_view>

#include "orv/registry.h"
#include "values.h"

namespace orv::python {
namespace {

// The registry copies its handler for every message, possibly without the GIL held: the
// Python function is therefore shared through a pointer whose copies leave Python's reference
// count alone, and dropped under the GIL.
class PythonMessageHandler {
 public:
  explicit PythonMessageHandler(py::object fn)
      : fn_(new py::object(std::move(fn)), [](py::object* p) {
          if (!Py_IsInitialized()) return;  // the interpreter is gone: nothing to release
          py::gil_scoped_acquire gil;
          delete p;
        }) {}

  void operator()(std::string_view text) const {
    if (!Py_IsInitialized()) {
      std::cerr << text << std::endl;
      return;
    }
    py::gil_scoped_acquire gil;
    // A Python exception leaves as error_already_set; the components let it pass and the
    // binding hands it back to the Python caller.
    (*fn_)(TextToPython(text));
  }

 private:
  std::shared_ptr<py::object> fn_;
};

}  // namespace

void SetMessageHandler(py::object handler) {
  if (handler.is_none()) {
    Registry::Instance().SetMessageHandler(nullptr);
    return;
  }
  if (!PyCallable_Check(handler.ptr()))
    throw py::type_error("orv.set_message_handler needs a callable or None");
  Registry::Instance().SetMessageHandler(PythonMessageHandler(std::move(handler)));
}

}  // namespace orv::python
