#include "model/AttributeOrder.h"

#include "model/Catalogue.h"

#include <algorithm>
#include <numeric>

namespace kvnode {

std::vector<size_t> CanonicalOrder(const CXMLBase& object, const std::vector<XmlAttributeMarkup>& attributes)
{
    std::vector<size_t> order(attributes.size());
    std::iota(order.begin(), order.end(), size_t{0});
    const ClassInfo* info = ClassOf(object);
    if (!info)
        return order;
    // classtype, the class's own by their place in its list, then the rest
    const size_t others = info->attributes.size() + 1;
    std::vector<size_t> rank(attributes.size(), others);
    for (size_t i = 0; i < attributes.size(); ++i) {
        const std::string name = attributes[i].name.GetString();
        if (name == "classtype") {
            rank[i] = 0;
        } else if (const AttributeInfo* known = FindAttribute(*info, name)) {
            rank[i] = 1 + static_cast<size_t>(known - info->attributes.data());
        }
    }
    std::stable_sort(order.begin(), order.end(), [&rank](size_t a, size_t b) { return rank[a] < rank[b]; });
    return order;
}

} // namespace kvnode
