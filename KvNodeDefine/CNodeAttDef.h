#pragma once
#include <KvNodeDefine/DescClass.h>
#include <xmlobj/CXMLComposite.h>

// The root of a node definition document: its format version ("Version")
// and, as children, the node types it defines. Created by the reader from
// class index "8_0", by CreateNew, or by a host that builds a document in
// code; it has no name. The version is compared with nothing: a document
// of any version loads the same way and saves its number again.
class KVNODE_API CNodeAttDef : public CXMLComposite {
    KV_DECLARE_CLASS(CNodeAttDef)
public:
    // A root of version 1.
    CNodeAttDef();
    // The composite deletes the children.
    ~CNodeAttDef() override;

    // The format version the document declares: the atoi value of "Version" after a load.
    int GetVersion() const noexcept { return m_Version; }
    // Sets the version that the next save writes.
    void SetVersion(int version) noexcept { m_Version = version; }

    // Converts "Version" itself: saving, sets it from the version and then
    // saves as the composite does; loading, loads as the composite does and
    // then reads the version by the atoi rule (0 when missing). Returns the
    // composite's result.
    bool Serialize(MSXML2::IXMLDOMNode& node, MSXML2::IXMLDOMDocument* pDoc, bool bLoad, bool bChildren) override;
    // Does nothing: neither the attribute list nor the version changes; true.
    bool RefreshAttListWithMember() override;
    // Does nothing: neither the attribute list nor the version changes; true.
    bool RefreshMemberWithAttList() override;

private:
    int m_Version;
};
