#pragma once
#include <KvNodeDefine/KvExport.h>

// The version of the KvNodeDefine library the program runs with, as
// "major.minor.patch". A host built against 1.x runs with any later 1.y.
//
// The CMake package and the pkg-config file make the host refer to this
// function, so that the library is loaded with the host even when the host
// names no descriptor class: its classes register when it loads, and a host
// that only reads documents needs them registered.
extern "C" KVNODE_API const char* KvNodeDefineVersion(void);
