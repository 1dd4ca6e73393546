#pragma once

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

// Around members of the host SDK's AcArray, held by value as the SDK's own
// classes hold it: a header template has no dll-interface, so Visual C++
// warns (C4251) in every module that includes the class. Each module
// compiles the same inline code from the same header and the template has
// no static data, so the warning says nothing here (docs/design.md, Platforms).
#if defined(_MSC_VER)
#  define KVNODE_SDK_MEMBERS_BEGIN __pragma(warning(push)) __pragma(warning(disable : 4251))
#  define KVNODE_SDK_MEMBERS_END __pragma(warning(pop))
#else
#  define KVNODE_SDK_MEMBERS_BEGIN
#  define KVNODE_SDK_MEMBERS_END
#endif
