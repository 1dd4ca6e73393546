#pragma once
#include <appframe/HostExport.h>

// Symbols of KvNodeDefine that hosts may use; everything else stays hidden.
#if defined(_WIN32)
#  if defined(KVNODE_BUILDING)
#    define KVNODE_API __declspec(dllexport)
#  else
#    define KVNODE_API __declspec(dllimport)
#  endif
#else
#  define KVNODE_API __attribute__((visibility("default")))
#endif

// A member of an exported class that only the library itself calls.
#if defined(_WIN32)
#  define KVNODE_LOCAL
#else
#  define KVNODE_LOCAL __attribute__((visibility("hidden")))
#endif
