#pragma once
// The classes of the format as the tool needs them: each one's element, class
// index and attributes, which the classes list themselves (see
// KvNodeDefine/Attributes.h), and the children each one's lists see.
#include "model/Model.h"

#include <string>
#include <vector>

namespace kvnode {

struct ClassInfo {
    CRuntimeClass* cls;
    Kind kind;              // Other for the root
    std::string element;    // "CPlateDesc"
    std::string index;      // "8_3"
    std::vector<AttributeInfo> attributes; // in save order; none for a value list, whose names are free
    std::vector<Kind> children;            // the kinds its lists see
    bool IsRoot() const { return kind == Kind::Other; }
};

// the root of a document first, then each descriptor class
const std::vector<ClassInfo>& Classes();
const ClassInfo& RootClass();
// the class of object exactly, or null (an unknown element, a host's class)
const ClassInfo* ClassOf(const CXMLBase& object);
const ClassInfo* ClassOfKind(Kind kind);
const AttributeInfo* FindAttribute(const ClassInfo& info, const std::string& name);
// "classtype", "nodename", "nodeindex": the object library's own, on any
// element; and xmlns and xsi: attributes, which point an editor at the schema
bool IsLibraryAttribute(const std::string& name);
// a value list's attribute names are free, each attribute one value
inline bool HasFreeAttributes(const ClassInfo& info) { return info.kind == Kind::ValueList; }

} // namespace kvnode
