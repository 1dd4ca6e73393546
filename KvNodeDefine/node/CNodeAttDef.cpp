#include <KvNodeDefine/CNodeAttDef.h>
#include <KvNodeDefine/TextConvert.h>

CNodeAttDef::CNodeAttDef() : m_Version(1) {}
CNodeAttDef::~CNodeAttDef() = default;

bool CNodeAttDef::Serialize(MSXML2::IXMLDOMNode& node, MSXML2::IXMLDOMDocument* pDoc, bool bLoad, bool bChildren)
{
    if (!bLoad)
        SetAttText("Version", IntToText(m_Version));
    const bool ok = CXMLComposite::Serialize(node, pDoc, bLoad, bChildren);
    if (bLoad) {
        CString text;
        GetAttText("Version", text);
        m_Version = TextToInt(text);
    }
    return ok;
}

bool CNodeAttDef::RefreshAttListWithMember() { return true; }
bool CNodeAttDef::RefreshMemberWithAttList() { return true; }
