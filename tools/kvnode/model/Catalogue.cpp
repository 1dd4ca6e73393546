#include "model/Catalogue.h"

#include <algorithm>
#include <memory>

namespace kvnode {

namespace {

// which lists look for which children: the getters of each class
const std::pair<Kind, std::vector<Kind>> kChildren[] = {
    {Kind::Other, {Kind::NodeType}},
    {Kind::NodeType,
     {Kind::Member, Kind::Plate, Kind::BoltGroup, Kind::Bolt, Kind::LinkBar, Kind::VarItem, Kind::Point, Kind::Line,
      Kind::Plane, Kind::Vector, Kind::Distance}},
    {Kind::Member, {Kind::Cut}},
    {Kind::Plate, {Kind::Cut}},
    {Kind::LinkBar, {Kind::Plane, Kind::Cut}},
    {Kind::Bolt, {Kind::BoltPlane}},
    {Kind::BoltGroup, {Kind::BoltPlane}},
    {Kind::VarItem, {Kind::Var}},
    {Kind::Var, {Kind::ValueList}},
};

ClassInfo Describe(CRuntimeClass* cls, Kind kind)
{
    ClassInfo info{cls, kind, cls->m_lpszClassName, std::string(), AttributesOf(cls), {}};
    const std::unique_ptr<CObject> sample(cls->CreateObject());
    if (auto* object = dynamic_cast<CXMLBase*>(sample.get()))
        info.index = object->GetClassIndex().GetString();
    for (const auto& c : kChildren)
        if (c.first == kind)
            info.children = c.second;
    return info;
}

} // namespace

const std::vector<ClassInfo>& Classes()
{
    static const std::vector<ClassInfo> classes = [] {
        std::vector<ClassInfo> all{Describe(RUNTIME_CLASS(CNodeAttDef), Kind::Other)};
        for (int k = static_cast<int>(Kind::NodeType); k <= static_cast<int>(Kind::Distance); ++k)
            all.push_back(Describe(RuntimeClassOf(static_cast<Kind>(k)), static_cast<Kind>(k)));
        return all;
    }();
    return classes;
}

const ClassInfo& RootClass() { return Classes().front(); }

const ClassInfo* ClassOf(const CXMLBase& object)
{
    const CRuntimeClass* cls = object.GetRuntimeClass();
    for (const ClassInfo& info : Classes())
        if (info.cls == cls)
            return &info;
    return nullptr;
}

const ClassInfo* ClassOfKind(Kind kind)
{
    for (const ClassInfo& info : Classes())
        if (info.kind == kind)
            return &info;
    return nullptr;
}

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
