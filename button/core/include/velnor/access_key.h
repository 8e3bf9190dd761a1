// The access key a caption gives its control: the character after the marking "&", in lower
// case, looking past at most one doubled "&&" before it.
#pragma once

#include <string>
#include <string_view>

#include "velnor/export.h"

namespace velnor {

// The key for `caption` (UTF-8), or "" when it has none. Positions count characters, not bytes.
VELNOR_API std::string AccessKeyFor(std::string_view caption);

}  // namespace velnor
