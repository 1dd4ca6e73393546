#include "model/ElementPaths.h"

#include "model/Model.h"

#include <xmlobj/CXMLUnknown.h>

#include <cstring>
#include <map>

namespace kvnode {

namespace {

bool IsText(const CXMLBase& object) { return object.IsKindOf(RUNTIME_CLASS(CXMLText)); }

std::string NameOf(const CXMLBase& element)
{
    return Utf8(element.GetElementName(), std::strlen(element.GetElementName()));
}

} // namespace

const std::string& ElementPaths::Of(const CXMLBase& object)
{
    const CXMLBase& element = IsText(object) && object.GetParent() ? *object.GetParent() : object;
    const auto known = m_paths.find(&element);
    if (known != m_paths.end())
        return known->second;
    const CXMLBase* parent = element.GetParent();
    if (!parent)
        return m_paths[&element] = NameOf(element);
    const std::string above = Of(*parent);
    std::map<std::string, int> counts;
    for (const CXMLBase* child : ChildrenOf(*parent))
        if (!IsText(*child)) {
            const std::string name = NameOf(*child);
            m_paths[child] = above + "/" + name + "[" + std::to_string(++counts[name]) + "]";
        }
    return m_paths[&element];
}

} // namespace kvnode
