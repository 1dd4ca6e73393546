#pragma once
// The classes of the format as the tool needs them, all told by the library:
// each one's element, class index, noun, attributes (KvNodeDefine/Attributes.h)
// and the classes its child lists see (KvNodeDefine/ClassRegistry.h).
#include "model/Model.h"

#include <string>
#include <vector>

namespace kvnode {

struct ClassInfo {
    CRuntimeClass* cls;
    std::string element; // "CPlateDesc"
    std::string index;   // "8_3"
    std::string noun;    // "plate"
    std::vector<AttributeInfo> attributes; // in save order; none for a value list, whose names are free
    std::vector<CRuntimeClass*> children;  // the classes its lists see
    const SteelSystem::EnumTable* constructionTypes; // a construction's types, or null
    bool IsRoot() const { return cls == RUNTIME_CLASS(CNodeAttDef); }
    bool IsConstruction() const { return constructionTypes != nullptr; }
};

// every registered class, in registry order
const std::vector<ClassInfo>& Classes();
const ClassInfo& RootClass();
// the class of object exactly, or null (an unknown element, a host's class)
const ClassInfo* ClassOf(const CXMLBase& object);
const ClassInfo* ClassOf(const CRuntimeClass* cls);
const AttributeInfo* FindAttribute(const ClassInfo& info, const std::string& name);
// "classtype", "nodename", "nodeindex": the object library's own, on any
// element; and xmlns and xsi: attributes, which point an editor at the schema
bool IsLibraryAttribute(const std::string& name);
// a value list's attribute names are free, each attribute one value
inline bool HasFreeAttributes(const ClassInfo& info) { return info.attributes.empty(); }

} // namespace kvnode
