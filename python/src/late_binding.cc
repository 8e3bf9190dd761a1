#include "late_binding.h"

#include <cstdio>
#include <vector>

#include "values.h"

namespace orv::python {
namespace {

// Python's own protocol names are never members: answering them from the members would
// confuse copy, pickle and the like, which probe for them.
bool IsSpecialName(const std::string& name) {
  return name.size() > 4 && name.starts_with("__") && name.ends_with("__");
}

// A member read as an attribute is a property get when it is a property without parameters;
// everything else callable is handed out as a bound method.
bool IsPlainProperty(const MemberInfo& m) {
  return (m.kinds & kPropertyGet) && m.params.empty();
}

}  // namespace

ObjectHandle::ObjectHandle(Ref<Object> object)
    : object_(std::move(object)),
      dispatch_(QueryAs<Dispatch>(object_.get())),
      identity_(object_ ? object_->QueryInterface(kIidUnknown) : nullptr) {}

const MemberInfo* ObjectHandle::FindMember(const std::string& name) const {
  return dispatch_ && !IsSpecialName(name) ? dispatch_->Type().Find(name) : nullptr;
}

void ObjectHandle::ThrowNoMember(const std::string& name) const {
  const std::string class_name =
      dispatch_ ? std::string(dispatch_->Type().class_name) : "orv.Object";
  throw py::attribute_error("'" + class_name + "' object has no member '" + name + "'");
}

const MemberInfo& ObjectHandle::Member(const std::string& name) const {
  const MemberInfo* m = FindMember(name);
  if (!m) ThrowNoMember(name);
  return *m;
}

py::object ObjectHandle::GetAttribute(py::handle self, py::handle name) const {
  // This replaces Python's attribute lookup (a failed lookup before a fallback would cost an
  // exception on every member read): members first, then what Python itself finds.
  const std::string text = TextFromPython(name);
  const MemberInfo* m = FindMember(text);
  if (!m) {
    PyObject* own = PyObject_GenericGetAttr(self.ptr(), name.ptr());
    if (own) return py::reinterpret_steal<py::object>(own);
    if (IsSpecialName(text)) throw py::error_already_set();
    PyErr_Clear();
    ThrowNoMember(text);
  }
  if (IsPlainProperty(*m) || !(m->kinds & (kMethod | kPropertyGet)))
    // A member that can be neither read nor called (a put-only property) gets the runtime's
    // own no-such-member error.
    return FromVariant(dispatch_->Invoke(m->id, kPropertyGet, {}));
  return py::cast(BoundMethod(dispatch_, *m));
}

void ObjectHandle::SetAttribute(const std::string& name, py::handle value) const {
  const MemberInfo& m = Member(name);
  const InvokeKind kind =
      (m.kinds & kPropertyPutRef) && !(m.kinds & kPropertyPut) ? kPropertyPutRef : kPropertyPut;
  Variant arg = ToVariant(value, m.type);
  dispatch_->Invoke(m.id, kind, std::span<Variant>(&arg, 1));
}

py::list ObjectHandle::MemberNames() const {
  py::list names;
  if (dispatch_)
    for (const MemberInfo& m : dispatch_->Type().members) names.append(TextToPython(m.name));
  return names;
}

std::string ObjectHandle::Repr() const {
  char address[32];
  std::snprintf(address, sizeof address, "%p", identity_);
  const std::string class_name =
      dispatch_ ? std::string(dispatch_->Type().class_name) : std::string("object");
  return "<orv.Object " + class_name + " at " + address + ">";
}

BoundMethod::BoundMethod(Ref<Dispatch> dispatch, const MemberInfo& member)
    : dispatch_(std::move(dispatch)), member_(&member) {}

py::object BoundMethod::Call(const py::args& args) const {
  const MemberInfo& m = *member_;
  std::vector<Variant> values;
  values.reserve(args.size());
  for (size_t i = 0; i < args.size(); ++i)
    values.push_back(ToVariant(args[i], i < m.params.size() ? m.params[i].type : VarType::Empty));

  const InvokeKind kind = (m.kinds & kMethod) ? kMethod : kPropertyGet;
  py::object result = FromVariant(dispatch_->Invoke(m.id, kind, values));

  // The arrays a method fills through by-reference parameters come back beside its result.
  std::vector<py::object> arrays;
  for (size_t i = 0; i < m.params.size(); ++i)
    if (m.params[i].by_ref && m.params[i].type == VarType::Array)
      arrays.push_back(i < values.size() ? FromVariant(values[i]) : py::none());
  if (arrays.empty()) return result;
  py::tuple out(arrays.size() + 1);
  out[0] = std::move(result);
  for (size_t i = 0; i < arrays.size(); ++i) out[i + 1] = std::move(arrays[i]);
  return out;
}

std::string BoundMethod::Repr() const {
  return "<orv method " + std::string(dispatch_->Type().class_name) + "." +
         std::string(member_->name) + ">";
}

}  // namespace orv::python
