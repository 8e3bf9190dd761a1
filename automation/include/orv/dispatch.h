// Late-bound dispatch: members found by name (without regard to case) or by dispatch id and
// invoked as a method, a property get, a property put or a put by reference.
//
// Each class writes its members once, in a ClassTable: name, dispatch id, kinds, parameter
// types and the handler. The table gives the interface order, the type information that
// callers read, and the dispatch itself.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "orv/error.h"
#include "orv/export.h"
#include "orv/object.h"
#include "orv/variant.h"

namespace orv {

using DispId = int32_t;

enum InvokeKind : uint8_t {
  kMethod = 1,
  kPropertyGet = 2,
  kPropertyPut = 4,
  kPropertyPutRef = 8,
};

struct ParamInfo {
  std::string_view name;
  VarType type = VarType::Empty;  // Empty: any variant
  bool by_ref = false;
  bool optional = false;
};

struct MemberInfo {
  std::string_view name;
  DispId id = 0;
  uint8_t kinds = 0;                  // InvokeKind flags
  VarType type = VarType::Empty;      // property type, or a method's result (Empty: none/variant)
  std::vector<ParamInfo> params;      // a method's parameters; a property's are empty
};

// The type information of one class and its default interface.
struct ORV_API TypeInfo {
  std::string_view class_name;
  Guid clsid;
  std::string_view interface_name;
  Guid iid;
  std::vector<MemberInfo> members;  // in interface order

  const MemberInfo* Find(DispId id) const noexcept;
  const MemberInfo* Find(std::string_view name) const noexcept;  // case-insensitive
};

// An object that answers late-bound calls.
class ORV_API Dispatch : public Object {
 public:
  static const Guid kIid;

  virtual const TypeInfo& Type() const noexcept = 0;
  // `args` are in declaration order; a by-reference parameter is written back into its slot.
  virtual Variant Invoke(DispId id, InvokeKind kind, std::span<Variant> args) = 0;

  // The dispatch id of a member; the no-such-member error when the class has none.
  DispId IdOfName(std::string_view name) const;

  // Conveniences for callers that bind by name.
  Variant Get(std::string_view name);
  void Put(std::string_view name, Variant value);
  void PutRef(std::string_view name, Variant value);
  Variant Call(std::string_view name, std::span<Variant> args);
  Variant Call(std::string_view name, std::initializer_list<Variant> args);

  void* QueryInterface(const Guid& iid) noexcept override;
};

// The dispatch object of a variant holding one; the object-not-set error for nothing and the
// type mismatch error for anything else.
ORV_API Ref<Dispatch> AsDispatch(const Variant& v);

// Checks a call's argument count against a member's parameters (wrong-argument-count error).
ORV_API void CheckArgCount(const MemberInfo& m, size_t given);
// Raises the no-such-member error for `kind` on a member that lacks it.
[[noreturn]] ORV_API void ThrowNoSuchMember(const TypeInfo& type, DispId id);

// One member of class T: its type information and its handlers.
template <class T>
struct MemberDef {
  MemberInfo info;
  std::function<Variant(T&)> get;
  std::function<void(T&, const Variant&)> put;  // put, and put by reference where allowed
  std::function<Variant(T&, std::span<Variant>)> call;
};

// The member table of class T, built once and immutable afterwards.
template <class T>
class ClassTable {
 public:
  ClassTable(std::string_view class_name, std::string_view clsid, std::string_view interface_name,
             std::string_view iid, std::vector<MemberDef<T>> defs)
      : defs_(std::move(defs)) {
    type_.class_name = class_name;
    type_.clsid = Guid::FromLiteral(clsid);
    type_.interface_name = interface_name;
    type_.iid = Guid::FromLiteral(iid);
    for (size_t i = 0; i < defs_.size(); ++i) {
      type_.members.push_back(defs_[i].info);
      by_id_.emplace(defs_[i].info.id, i);
    }
  }

  const TypeInfo& type() const noexcept { return type_; }

  Variant Invoke(T& self, DispId id, InvokeKind kind, std::span<Variant> args) const {
    auto it = by_id_.find(id);
    if (it == by_id_.end()) ThrowNoSuchMember(type_, id);
    const MemberDef<T>& d = defs_[it->second];
    if (!(d.info.kinds & kind)) ThrowNoSuchMember(type_, id);
    switch (kind) {
      case kMethod:
        CheckArgCount(d.info, args.size());
        return d.call(self, args);
      case kPropertyGet:
        if (!args.empty()) ThrowError(err::kWrongArgumentCount, std::string(type_.class_name),
                                      "Wrong number of arguments or invalid property assignment");
        return d.get(self);
      case kPropertyPut:
      case kPropertyPutRef:
        if (args.size() != 1) ThrowError(err::kWrongArgumentCount, std::string(type_.class_name),
                                          "Wrong number of arguments or invalid property assignment");
        d.put(self, args[0]);
        return {};
    }
    ThrowNoSuchMember(type_, id);
  }

 private:
  TypeInfo type_;
  std::vector<MemberDef<T>> defs_;
  std::unordered_map<DispId, size_t> by_id_;
};

// Base for a class whose members live in `static const ClassTable<T>& T::Table()`.
template <class T>
class DispatchObject : public Dispatch {
 public:
  const TypeInfo& Type() const noexcept override { return T::Table().type(); }
  Variant Invoke(DispId id, InvokeKind kind, std::span<Variant> args) override {
    return T::Table().Invoke(static_cast<T&>(*this), id, kind, args);
  }
};

}  // namespace orv
