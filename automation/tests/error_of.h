// The error that a call raises, as the tests of every layer look at it.
#pragma once

#include <functional>
#include <string>

#include "orv/error.h"

namespace orv {

// The error number `f` raises, or 0 when it raises none.
inline int ErrorNumberOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const AutomationError& e) {
    return e.number();
  }
  return 0;
}

// The description of the error `f` raises, or "" when it raises none.
inline std::string ErrorTextOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const AutomationError& e) {
    return e.description();
  }
  return "";
}

}  // namespace orv
