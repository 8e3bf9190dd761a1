#include "orv/dispatch.h"

#include <cstdio>

namespace orv {
namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool NameEquals(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

std::string HexId(DispId id) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08X", static_cast<uint32_t>(id));
  return buf;
}

}  // namespace

const Guid Dispatch::kIid = Guid::FromLiteral("{00020400-0000-0000-C000-000000000046}");

const MemberInfo* TypeInfo::Find(DispId id) const noexcept {
  for (const MemberInfo& m : members)
    if (m.id == id) return &m;
  return nullptr;
}

const MemberInfo* TypeInfo::Find(std::string_view name) const noexcept {
  for (const MemberInfo& m : members)
    if (NameEquals(m.name, name)) return &m;
  return nullptr;
}

DispId Dispatch::IdOfName(std::string_view name) const {
  const MemberInfo* m = Type().Find(name);
  if (!m)
    ThrowError(err::kNoSuchMember, std::string(Type().class_name),
               "Object doesn't support this property or method: " + std::string(name));
  return m->id;
}

Variant Dispatch::Get(std::string_view name) { return Invoke(IdOfName(name), kPropertyGet, {}); }

void Dispatch::Put(std::string_view name, Variant value) {
  Invoke(IdOfName(name), kPropertyPut, std::span<Variant>(&value, 1));
}

void Dispatch::PutRef(std::string_view name, Variant value) {
  Invoke(IdOfName(name), kPropertyPutRef, std::span<Variant>(&value, 1));
}

Variant Dispatch::Call(std::string_view name, std::span<Variant> args) {
  return Invoke(IdOfName(name), kMethod, args);
}

Variant Dispatch::Call(std::string_view name, std::initializer_list<Variant> args) {
  std::vector<Variant> v(args);
  return Invoke(IdOfName(name), kMethod, v);
}

void* Dispatch::QueryInterface(const Guid& iid) noexcept {
  if (iid == kIid || iid == Type().iid) return this;
  return Object::QueryInterface(iid);
}

Ref<Dispatch> AsDispatch(const Variant& v) {
  Ref<Object> obj = v.ToObject();
  if (!obj) ThrowObjectNotSet();
  Dispatch* d = QueryAs<Dispatch>(obj.get());
  if (!d) ThrowTypeMismatch();
  return Ref<Dispatch>(d);
}

void CheckArgCount(const MemberInfo& m, size_t given) {
  size_t required = 0;
  for (const ParamInfo& p : m.params)
    if (!p.optional) ++required;
  if (given < required || given > m.params.size())
    ThrowError(err::kWrongArgumentCount, std::string(m.name),
               "Wrong number of arguments or invalid property assignment");
}

void ThrowNoSuchMember(const TypeInfo& type, DispId id) {
  const MemberInfo* m = type.Find(id);
  ThrowError(err::kNoSuchMember, std::string(type.class_name),
             "Object doesn't support this property or method: " +
                 (m ? std::string(m->name) : HexId(id)));
}

}  // namespace orv
