// Errors raised by the button core. The control object turns them into automation errors with
// the classic numbers at its late-bound boundary.
#pragma once

#include <stdexcept>

#include "velnor/export.h"

namespace velnor {

// A coordinate computation left the 32-bit range.
class VELNOR_API OverflowError : public std::overflow_error {
 public:
  OverflowError() : std::overflow_error("Overflow") {}
};

}  // namespace velnor
