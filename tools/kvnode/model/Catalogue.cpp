#include "model/Catalogue.h"

#include <algorithm>

namespace kvnode {

const std::vector<ClassInfo>& Classes()
{
    static const std::vector<ClassInfo> classes = [] {
        std::vector<ClassInfo> all;
        for (const kvnodedefine::RegisteredClass& c : kvnodedefine::RegisteredClasses())
            all.push_back(ClassInfo{c.cls, c.cls->m_lpszClassName, c.index, c.noun, AttributesOf(c.cls), c.children,
                                    c.constructionTypes});
        return all;
    }();
    return classes;
}

const ClassInfo& RootClass() { return *ClassOf(RUNTIME_CLASS(CNodeAttDef)); }

const ClassInfo* ClassOf(const CRuntimeClass* cls)
{
    for (const ClassInfo& info : Classes())
        if (info.cls == cls)
            return &info;
    return nullptr;
}

const ClassInfo* ClassOf(const CXMLBase& object) { return ClassOf(object.GetRuntimeClass()); }

const AttributeInfo* FindAttribute(const ClassInfo& info, const std::string& name)
{
    const auto it = std::find_if(info.attributes.begin(), info.attributes.end(),
                                 [&](const AttributeInfo& a) { return a.name == name; });
    return it == info.attributes.end() ? nullptr : &*it;
}

bool IsLibraryAttribute(const std::string& name)
{
    // and the XML ones an editor adds to point at the schema
    return name == "classtype" || name == "nodename" || name == "nodeindex" || name.compare(0, 5, "xmlns") == 0 ||
           name.compare(0, 4, "xsi:") == 0;
}

} // namespace kvnode
