#pragma once
// Marks what the shared library exports. The library is built with hidden visibility so that
// only the public classes and functions below carry symbols into other programs.
#if defined(_WIN32)
#if defined(TAVRO_BUILDING_LIBRARY)
#define TAVRO_API __declspec(dllexport)
#else
#define TAVRO_API __declspec(dllimport)
#endif
#else
#define TAVRO_API __attribute__((visibility("default")))
#endif
