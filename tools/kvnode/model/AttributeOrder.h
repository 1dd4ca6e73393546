#pragma once
// The canonical order of attributes that `kvnode fmt` writes, so that two
// files with the same content format alike: classtype, then the class's own
// attributes in the order the class writes them (a construction's whole
// table, whatever its type), then those the class does not know, in the
// order they were written. An element of no known class keeps its order.
#include <xmlobj/CXMLDocument.h>

#include <vector>

namespace kvnode {

// the indexes of object's attributes, as written, in the order to write them
std::vector<size_t> CanonicalOrder(const CXMLBase& object, const std::vector<XmlAttributeMarkup>& attributes);

} // namespace kvnode
