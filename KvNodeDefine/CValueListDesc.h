#pragma once
#include <KvNodeDefine/DescClass.h>
#include <xmlobj/CXMLBase.h>

// The values a variable may take: the texts of its element's attributes, in
// document order. The attribute names carry no meaning. A plain attribute
// object, not a descriptor: no name, no children, no fields.
class KVNODE_API CValueListDesc : public CXMLBase {
    KV_DECLARE_CLASS(CValueListDesc)
public:
    // An empty value list.
    CValueListDesc();
    // Releases the attribute list.
    ~CValueListDesc() override;

    // Appends every attribute text after what values holds, except those of
    // "classtype", "nodename" and "nodeindex" and any text that is exactly
    // "ValueString"; true.
    bool GetValueList(CStringArray& values) const;
};
