#pragma once
// Where elements stand, in UTF-8, as the reader's messages name them:
// "CNodeAttDef/CNodeTypeDesc[2]/CPlateDesc[1]", each element below the root
// counted among its siblings of its name. A text's path is its element's.
// The children of a parent are counted once, for all of them, so that many
// findings on many siblings cost one count.
#include <xmlobj/CXMLBase.h>

#include <string>
#include <unordered_map>

namespace kvnode {

class ElementPaths {
public:
    const std::string& Of(const CXMLBase& object);

private:
    std::unordered_map<const CXMLBase*, std::string> m_paths;
};

} // namespace kvnode
