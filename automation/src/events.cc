#include "orv/events.h"

#include <algorithm>

namespace orv {

const Guid ConnectionPointContainer::kIid =
    Guid::FromLiteral("{B196B284-BAB4-101A-B69C-00AA00341D07}");

uint32_t ConnectionPoint::Advise(Ref<Dispatch> sink) {
  if (!sink) ThrowObjectNotSet();
  const uint32_t cookie = next_cookie_++;
  sinks_.emplace_back(cookie, std::move(sink));
  return cookie;
}

bool ConnectionPoint::Unadvise(uint32_t cookie) {
  auto it = std::find_if(sinks_.begin(), sinks_.end(),
                         [&](const auto& s) { return s.first == cookie; });
  if (it == sinks_.end()) return false;
  sinks_.erase(it);
  return true;
}

void ConnectionPoint::Raise(DispId id, std::span<Variant> args) {
  // A sink may detach itself (or others) while handling the event: iterate over a snapshot.
  const auto snapshot = sinks_;
  for (const auto& [cookie, sink] : snapshot) {
    const MemberInfo* m = sink->Type().Find(id);
    if (m && !(m->kinds & kMethod)) continue;
    if (!m) continue;  // sinks handle only the events they declare
    sink->Invoke(id, kMethod, args);
  }
}

}  // namespace orv
