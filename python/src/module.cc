// The module orv: creates automation objects through the class registry and drives them by
// late binding; see values.h for how values cross and late_binding.h for attribute access.
//
// Every call into a component keeps the GIL: the components expect one thread at a time, so
// Python threads take turns with them. The message handler takes the GIL itself (messages.cc).
#include <dlfcn.h>
#include <pybind11/eval.h>
#include <pybind11/pybind11.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "late_binding.h"
#include "messages.h"
#include "orv/db/schema.h"
#include "orv/error.h"
#include "orv/registry.h"
#include "values.h"

namespace orv::python {
namespace {

namespace fs = std::filesystem;

// orv.Error is a plain Python exception class: its attributes and its text are Python's own.
constexpr const char* kErrorClass = R"py(
class Error(Exception):
    """An automation error: its number, the source that raised it and its description."""

    def __init__(self, number=0, source="", description=""):
        super().__init__(number, source, description)
        self.number = number
        self.source = source
        self.description = description

    def __str__(self):
        return f"{self.description} ({self.source}, error {self.number})"
)py";

void DefineError(py::module_& m) {
  py::dict scope;
  scope["__name__"] = m.attr("__name__");
  scope["__builtins__"] = py::module_::import("builtins");
  py::exec(kErrorClass, scope);
  m.attr("Error") = scope["Error"];
}

// Raises an AutomationError as orv.Error. The class is the one in the imported module: the
// translator is a plain function and keeps no Python object of its own.
void TranslateAutomationError(std::exception_ptr p) {
  try {
    if (p) std::rethrow_exception(p);
  } catch (const AutomationError& e) {
    const py::object type = py::module_::import("orv").attr("Error");
    const py::object error =
        type(e.number(), TextToPython(e.source()), TextToPython(e.description()));
    PyErr_SetObject(type.ptr(), error.ptr());
  }
}

// True when this module file is the one built in its build tree (not an installed copy).
bool LoadedFromBuildTree() {
  Dl_info info{};
  if (!dladdr(reinterpret_cast<void*>(&LoadedFromBuildTree), &info) || !info.dli_fname)
    return false;
  std::error_code ec;
  return fs::equivalent(fs::path(info.dli_fname).parent_path(), ORV_PYTHON_BUILD_DIR, ec);
}

// A module imported from its build tree creates that build's components unless ORV_REGISTRY
// names another registry file.
void UseBuildRegistryByDefault() {
  const char* env = std::getenv("ORV_REGISTRY");
  if ((!env || !*env) && LoadedFromBuildTree()) Registry::Instance().SetFile(ORV_BUILD_REGISTRY);
}

ObjectHandle Create(const std::string& name) {
  return ObjectHandle(Ref<Object>(Registry::Instance().Create(name)));
}

int16_t Year(py::handle year) {
  if (!PyLong_Check(year.ptr()) || PyBool_Check(year.ptr()))
    throw py::type_error("orv.create_year_database: a year must be an int");
  return ToVariant(year, VarType::Int16).int16();
}

// What `orvdb create` does: the year database <folder>/<short>/<short>_<y1>_<y2>.mdb.
py::str CreateYearDatabase(py::object folder, const std::string& short_name, py::handle year1,
                           py::handle year2) {
  const py::object path = py::module_::import("os").attr("fspath")(folder);
  const fs::path dir = PyBytes_Check(path.ptr()) ? fs::path(std::string(py::bytes(path)))
                                                 : fs::path(TextFromPython(path));
  // The short name becomes a folder and a file name: it must not lead anywhere else.
  if (short_name.empty() || short_name == "." || short_name == ".." ||
      short_name.find_first_of(std::string("/\\\0", 3)) != std::string::npos)
    throw py::value_error("orv.create_year_database: the short name must be a plain file name");
  const int16_t y1 = Year(year1), y2 = Year(year2);
  const fs::path file = fs::absolute(db::YearDatabaseFile(dir, short_name, y1, y2));
  db::CreateYearDatabase(file, y1, y2);
  return TextToPython(file.string());
}

}  // namespace
}  // namespace orv::python

PYBIND11_MODULE(orv, m) {
  using namespace orv::python;

  m.doc() =
      "Late-bound access to the automation components: orv.create(ProgID or class id) gives an\n"
      "object whose attributes are its properties and whose methods are called with positional\n"
      "arguments. Failures raise orv.Error(number, source, description).";

  UseBuildRegistryByDefault();
  DefineError(m);
  py::register_exception_translator(&TranslateAutomationError);

  py::class_<NullValue>(m, "NullType", "The type of orv.Null, the automation Null value.")
      .def("__repr__", [](const NullValue&) { return "orv.Null"; })
      .def("__bool__", [](const NullValue&) { return false; })
      .def("__reduce__", [](const NullValue&) { return "Null"; });
  m.attr("Null") = py::cast(&NullValue::Instance(), py::return_value_policy::reference);

  py::class_<ObjectHandle>(m, "Object",
                           "An automation object. Attributes are its members, found without "
                           "regard to case; == compares identity.")
      .def("__getattribute__",
           [](py::handle self, py::handle name) {
             if (!PyUnicode_Check(name.ptr())) throw py::type_error("attribute name must be a str");
             return self.cast<const ObjectHandle&>().GetAttribute(self, name);
           })
      .def("__setattr__", &ObjectHandle::SetAttribute)
      .def("__dir__", &ObjectHandle::MemberNames)
      .def("__repr__", &ObjectHandle::Repr)
      .def("__eq__",
           [](const ObjectHandle& self, py::handle other) -> py::object {
             if (!py::isinstance<ObjectHandle>(other))
               return py::reinterpret_borrow<py::object>(Py_NotImplemented);
             return py::bool_(self.identity() == other.cast<const ObjectHandle&>().identity());
           })
      .def("__hash__",
           [](const ObjectHandle& self) { return std::hash<const void*>{}(self.identity()); });

  py::class_<BoundMethod>(m, "Method", "A method of an automation object.")
      .def("__call__", &BoundMethod::Call)
      .def("__repr__", &BoundMethod::Repr);

  m.def("create", &Create, py::arg("name"),
        "Creates an object by ProgID (\"ORVMasters.clsAccount\") or class id (\"{...}\").");
  m.def("set_message_handler", &SetMessageHandler, py::arg("handler"),
        "handler(text) shows each modal message; None restores the default (standard error).");
  m.def("create_year_database", &CreateYearDatabase, py::arg("folder"), py::arg("short_name"),
        py::arg("year1"), py::arg("year2"),
        "Creates the year database <folder>/<short>/<short>_<year1>_<year2>.mdb and returns its "
        "path.");
  m.def(
      "registry_file", [] { return TextToPython(orv::Registry::Instance().File().string()); },
      "The registry file that orv.create looks classes up in.");
}
