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

