#include <KvNodeDefine/Attributes.h>
#include <KvNodeDefine/BuildDesc.h>
#include <KvNodeDefine/TextConvert.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace kvnodedefine {

namespace {

const AttText* Given(std::initializer_list<AttText> attributes, const char* name)
{
    for (const AttText& a : attributes)
        if (a.first && std::strcmp(a.first, name) == 0)
            return &a;
    return nullptr;
}

// whether a save of an object whose fields read empty texts, of the type given, writes a
bool WrittenWhenEmpty(const AttributeInfo& a, int type)
{
    const std::vector<int>& types = a.writtenForTypes;
    return a.written && !a.writtenOnlyWhenSet &&
           (types.empty() || std::find(types.begin(), types.end(), type) != types.end());
}

} // namespace

std::unique_ptr<CXMLBase> BuildDesc(CRuntimeClass* cls, std::initializer_list<AttText> attributes)
{
    if (!cls || (!cls->IsDerivedFrom(RUNTIME_CLASS(CBaseDesc)) && !cls->IsDerivedFrom(RUNTIME_CLASS(CValueListDesc))))
        return nullptr;
    std::unique_ptr<CXMLBase> desc(static_cast<CXMLBase*>(cls->CreateObject()));
    if (!desc)
        return nullptr;
    // Every attribute a save will write takes its place first, empty where
    // no text is given: an empty text reads as a missing one, and the save
    // then writes over it in place.
    const AttText* type = Given(attributes, "type");
    const int typeValue = type ? TextToInt(type->second) : 0;
    const std::vector<AttributeInfo> order = AttributesOf(cls);
    for (const AttributeInfo& a : order) {
        if (const AttText* given = Given(attributes, a.name.c_str()))
            desc->SetAttText(given->first, given->second);
        else if (WrittenWhenEmpty(a, typeValue))
            desc->SetAttText(a.name.c_str(), CString());
    }
    for (const AttText& a : attributes)
        if (a.first && std::none_of(order.begin(), order.end(), [&](const AttributeInfo& o) { return o.name == a.first; }))
            desc->SetAttText(a.first, a.second);
    desc->RefreshMemberWithAttList();
    return desc;
}

} // namespace kvnodedefine
