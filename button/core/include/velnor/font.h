// A font description, the value the host's font holds and the property bag stores.
#pragma once

#include <string>

namespace velnor {

struct Font {
  std::string name = "MS Sans Serif";
  double size = 8.25;  // points
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikethrough = false;

  friend bool operator==(const Font&, const Font&) = default;
};

}  // namespace velnor
