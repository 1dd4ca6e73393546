#pragma once

// The headers use C++17: a host built to an older standard is told so here,
// rather than by an error inside them.
#if (defined(_MSVC_LANG) ? _MSVC_LANG : __cplusplus) < 201703L
#error "KvNodeDefine's headers need C++17 or later: compile with -std=c++17 (or /std:c++17)"
#endif

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
