// Events through connection points: a control raises each event, by dispatch id, to every sink
// attached to its source interface.
#pragma once

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "orv/dispatch.h"
#include "orv/export.h"

namespace orv {

class ORV_API ConnectionPoint {
 public:
  explicit ConnectionPoint(Guid source_iid) : iid_(source_iid) {}

  const Guid& iid() const noexcept { return iid_; }
  // Attaches a sink; the cookie detaches it.
  uint32_t Advise(Ref<Dispatch> sink);
  // False when no sink has that cookie.
  bool Unadvise(uint32_t cookie);
  size_t size() const noexcept { return sinks_.size(); }

  // Invokes `id` as a method on every sink, in the order they were attached. By-reference
  // arguments changed by one sink are seen by the next and by the raiser.
  void Raise(DispId id, std::span<Variant> args);

 private:
  Guid iid_;
  uint32_t next_cookie_ = 1;
  std::vector<std::pair<uint32_t, Ref<Dispatch>>> sinks_;
};

// Implemented by objects that raise events.
class ORV_API ConnectionPointContainer {
 public:
  static const Guid kIid;
  virtual ConnectionPoint* FindConnectionPoint(const Guid& source_iid) noexcept = 0;

 protected:
  ~ConnectionPointContainer() = default;
};

}  // namespace orv
