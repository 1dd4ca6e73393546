#pragma once
#include <KvNodeDefine/DescClass.h>
#include <xmlobj/CXMLComposite.h>

// The root of a node definition document: its format version ("Version")
// and, as children, the node types it defines. Created by the reader from
// class index "8_0", or by CreateNew; it has no name.
class KVNODE_API CNodeAttDef : public CXMLComposite {
    KV_DECLARE_CLASS(CNodeAttDef)
public:
    CNodeAttDef();
    ~CNodeAttDef() override;

    // the format version the document declares
    int GetVersion() const noexcept { return m_Version; }
    void SetVersion(int version) noexcept { m_Version = version; }

    // persistence: the root is no descriptor, so Serialize runs the refresh pair itself
    bool Serialize(MSXML2::IXMLDOMNode& node, MSXML2::IXMLDOMDocument* pDoc, bool bLoad, bool bChildren) override;
    bool RefreshAttListWithMember() override;
    bool RefreshMemberWithAttList() override;

private:
    int m_Version;
};
