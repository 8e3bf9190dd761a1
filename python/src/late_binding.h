// The Python face of an automation object: attribute reads are property gets, assignments
// property puts, calls method invocations, all found by name without regard to case.
#pragma once

#include <pybind11/pybind11.h>

#include <string>

#include "orv/dispatch.h"

namespace orv::python {

namespace py = pybind11;

// orv.Object: holds one reference to an automation object, released when Python drops it.
class ObjectHandle {
 public:
  explicit ObjectHandle(Ref<Object> object);

  const Ref<Object>& object() const noexcept { return object_; }
  // The object's identity: equal for every interface of the same object.
  const void* identity() const noexcept { return identity_; }

  // A property's value, or a bound method for a method; Python's own attributes of `self` (this
  // handle's Python object) for the names no member has. AttributeError for an unknown name.
  py::object GetAttribute(py::handle self, py::handle name) const;
  // A property put, or a put by reference where the member takes only that. AttributeError for
  // an unknown name.
  void SetAttribute(const std::string& name, py::handle value) const;
  // The names of the members, in interface order.
  py::list MemberNames() const;
  std::string Repr() const;

 private:
  // The member called `name`, or nullptr.
  const MemberInfo* FindMember(const std::string& name) const;
  // The member called `name`, or AttributeError.
  const MemberInfo& Member(const std::string& name) const;
  [[noreturn]] void ThrowNoMember(const std::string& name) const;

  Ref<Object> object_;
  Ref<Dispatch> dispatch_;  // null for an object without late-bound members
  const void* identity_;
};

// A method of one object, as `obj.Save` returns it; calling it invokes the method.
class BoundMethod {
 public:
  BoundMethod(Ref<Dispatch> dispatch, const MemberInfo& member);

  // Invokes the method with positional arguments. When the method has by-reference array
  // parameters, returns (result, array, ...) with those arrays as the call left them.
  py::object Call(const py::args& args) const;
  std::string Repr() const;

 private:
  Ref<Dispatch> dispatch_;
  const MemberInfo* member_;  // in the class's type information, which lives as long as its library
};

}  // namespace orv::python
