#pragma once
#include <KvNodeDefine/KvExport.h>
#include <KvNodeDefine/SteelSystem.h>
#include <appframe/CObject.h>

#include <vector>

namespace kvnodedefine {

// One persistent class as the library registers it, with what tools need to
// know of it, so that they keep no copy: the library's own statements of the
// format.
struct RegisteredClass {
    CRuntimeClass* cls; // the class's run-time class
    const char* index;  // the class index, 8_3 for a plate
    const char* noun;   // how a message names one object of the class: bolt group
    // The classes its child lists hand out, in the order of its getters. A
    // document root holds node types, which the host walks without a getter.
    std::vector<CRuntimeClass*> children;
    // a construction's types (a save writes the attributes of its type only); null for the other classes
    const SteelSystem::EnumTable* constructionTypes;
};

// every persistent class, in registry order
KVNODE_API const std::vector<RegisteredClass>& RegisteredClasses();
// the registered class that is exactly cls, or null
KVNODE_API const RegisteredClass* FindRegisteredClass(const CRuntimeClass* cls);

} // namespace kvnodedefine
