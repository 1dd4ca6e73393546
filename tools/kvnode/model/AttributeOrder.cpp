#include "model/AttributeOrder.h"

#include "model/Catalogue.h"

#include <vector>

namespace kvnode {

namespace {

// CXMLBase keeps its attribute list to itself and its own classes; the
// formatter is the one place outside that reorders it.
struct AttributeListOf : CXMLBase {
    static CStringArray& Of(CXMLBase& object) { return object.*(&AttributeListOf::m_AttList); }
};

void Reorder(CXMLBase& object, const ClassInfo& info)
{
    CStringArray& list = AttributeListOf::Of(object);
    const INT_PTR pairs = list.GetSize() / 2;
    std::vector<char> taken(static_cast<size_t>(pairs), 0);
    CStringArray ordered;
    const auto take = [&](const char* name) {
        for (INT_PTR i = 0; i < pairs; ++i) {
            if (!taken[static_cast<size_t>(i)] && list[2 * i] == name) {
                taken[static_cast<size_t>(i)] = 1;
                ordered.Add(list[2 * i]);
                ordered.Add(list[2 * i + 1]);
                return;
            }
        }
    };
    take("classtype");
    for (const AttributeInfo& a : info.attributes)
        take(a.name.c_str());
    for (INT_PTR i = 0; i < pairs; ++i) {
        if (!taken[static_cast<size_t>(i)]) {
            ordered.Add(list[2 * i]);
            ordered.Add(list[2 * i + 1]);
        }
    }
    list.RemoveAll();
    for (INT_PTR i = 0; i < ordered.GetSize(); ++i)
        list.Add(ordered[i]);
}

} // namespace

void PutAttributesInCanonicalOrder(CXMLDocument& doc)
{
    if (!doc.GetRoot())
        return;
    ForEachObject(*doc.GetRoot(), [](const CXMLBase& o) {
        const ClassInfo* info = ClassOf(o);
        if (!info)
            return;
        auto& object = const_cast<CXMLBase&>(o);
        object.RefreshAttListWithMember();
        Reorder(object, *info);
    });
}

} // namespace kvnode
