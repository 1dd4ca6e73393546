#pragma once

// Symbols of the host library (kvhost) that other modules may use; everything else stays hidden.
#if defined(_WIN32)
#  if defined(KVHOST_BUILDING)
#    define KVHOST_API __declspec(dllexport)
#  else
#    define KVHOST_API __declspec(dllimport)
#  endif
#else
#  define KVHOST_API __attribute__((visibility("default")))
#endif

// What an exported class holds but no other module may use (its inner parts).
#if defined(_WIN32)
#  define KVHOST_LOCAL
#else
#  define KVHOST_LOCAL __attribute__((visibility("hidden")))
#endif
