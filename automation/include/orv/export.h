// Symbol visibility for the automation runtime. Everything is built with hidden visibility;
// the runtime marks what it shares with component libraries, and each component exports only
// its entry points.
#pragma once

#if defined(ORV_BUILDING_AUTOMATION)
#define ORV_API __attribute__((visibility("default")))
#else
#define ORV_API __attribute__((visibility("default")))
#endif

#define ORV_EXPORT extern "C" __attribute__((visibility("default")))
