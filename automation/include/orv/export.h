// Symbol visibility for the automation runtime. Everything is built with hidden visibility;
// the runtime marks what it shares with component libraries, and each component exports only
// its entry points.
#pragma once

// One definition serves both sides: on ELF the same attribute exports a symbol from the runtime
// and makes the importing side bind to it.
#define ORV_API __attribute__((visibility("default")))

#define ORV_EXPORT extern "C" __attribute__((visibility("default")))
