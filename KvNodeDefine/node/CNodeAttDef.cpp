#include <KvNodeDefine/Attributes.h>
#include <KvNodeDefine/CNodeAttDef.h>
#include <KvNodeDefine/TextConvert.h>

CNodeAttDef::CNodeAttDef() : m_Version(1) {}
CNodeAttDef::~CNodeAttDef() = default;

bool CNodeAttDef::Serialize(MSXML2::IXMLDOMNode& node, MSXML2::IXMLDOMDocument* pDoc, bool bLoad, bool bChildren)
{
    if (!bLoad)
        RefreshAttListWithMember();
    const bool ok = CXMLComposite::Serialize(node, pDoc, bLoad, bChildren);
    if (bLoad)
        RefreshMemberWithAttList();
    return ok;
}

bool CNodeAttDef::RefreshAttListWithMember()
{
    WriteAtt(*this, "Version", AttSpec{AttType::Integer}, IntToText(m_Version));
    return true;
}

bool CNodeAttDef::RefreshMemberWithAttList()
{
    CString text;
    ReadAtt(*this, "Version", AttSpec{AttType::Integer}, text);
    m_Version = TextToInt(text);
    return true;
}
