// Reference-counted objects and interface lookup by interface id.
//
// Every automation object derives from Object. Its lifetime is an intrusive reference count
// held through Ref<T>; the last Release destroys it with the destructor of the library that
// created it. Callers find an interface of an object with QueryInterface and an interface id,
// never with RTTI, so that objects made by one component library are usable from another.
#pragma once

#include <atomic>
#include <cstdint>
#include <utility>

#include "orv/export.h"
#include "orv/guid.h"

namespace orv {

// The identity every object answers to.
ORV_API extern const Guid kIidUnknown;

class ORV_API Object {
 public:
  Object() = default;
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;

  void AddRef() const noexcept { refs_.fetch_add(1, std::memory_order_relaxed); }
  void Release() const noexcept {
    if (refs_.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
  }
  uint32_t RefCount() const noexcept { return refs_.load(std::memory_order_relaxed); }

  // The object as the interface `iid`, or nullptr when it has no such interface. The pointer
  // is borrowed: it lives as long as the caller holds a reference to the object.
  virtual void* QueryInterface(const Guid& iid) noexcept;

 protected:
  virtual ~Object();

 private:
  mutable std::atomic<uint32_t> refs_{0};
};

// An owning pointer to a reference-counted object.
template <class T>
class Ref {
 public:
  Ref() noexcept = default;
  Ref(std::nullptr_t) noexcept {}
  explicit Ref(T* p) noexcept : p_(p) {
    if (p_) p_->AddRef();
  }
  Ref(const Ref& o) noexcept : Ref(o.p_) {}
  Ref(Ref&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  template <class U>
  Ref(const Ref<U>& o) noexcept : Ref(static_cast<T*>(o.get())) {}
  ~Ref() {
    if (p_) p_->Release();
  }
  Ref& operator=(Ref o) noexcept {
    std::swap(p_, o.p_);
    return *this;
  }

  T* get() const noexcept { return p_; }
  T* operator->() const noexcept { return p_; }
  T& operator*() const noexcept { return *p_; }
  explicit operator bool() const noexcept { return p_ != nullptr; }
  void reset() noexcept { Ref().swap(*this); }
  void swap(Ref& o) noexcept { std::swap(p_, o.p_); }

  friend bool operator==(const Ref& a, const Ref& b) noexcept { return a.p_ == b.p_; }

 private:
  T* p_ = nullptr;
};

// Creates an object of a class derived from Object and hands out the first reference.
template <class T, class... Args>
Ref<T> MakeRef(Args&&... args) {
  return Ref<T>(new T(std::forward<Args>(args)...));
}

// Looks up interface `I` (which names its id as I::kIid) on an object; nullptr when absent.
template <class I>
I* QueryAs(const Object* obj) noexcept {
  return obj ? static_cast<I*>(const_cast<Object*>(obj)->QueryInterface(I::kIid)) : nullptr;
}

}  // namespace orv
