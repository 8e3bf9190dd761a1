// Symbol visibility of the button library. The project builds with hidden visibility; the
// classes a front-end uses (the widget, the control object and the value types in their
// interfaces) are marked so that they are reachable through the shared library.
#pragma once

#define VELNOR_API __attribute__((visibility("default")))
