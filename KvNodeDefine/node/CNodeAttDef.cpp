#include <KvNodeDefine/Attributes.h>
#include <KvNodeDefine/CNodeAttDef.h>
#include <KvNodeDefine/TextConvert.h>

using namespace kvnodedefine;

CNodeAttDef::CNodeAttDef() : m_Version(1) {}
CNodeAttDef::~CNodeAttDef() = default;

// The root converts "Version" here and only here: its refresh pair does
// nothing, so a host that runs the pair keeps the version it set.
bool CNodeAttDef::Serialize(MSXML2::IXMLDOMNode& node, MSXML2::IXMLDOMDocument* pDoc, bool bLoad, bool bChildren)
{
    if (!bLoad)
        WriteAtt(*this, "Version", AttSpec{AttType::Integer}, IntToText(m_Version));
    const bool ok = CXMLComposite::Serialize(node, pDoc, bLoad, bChildren);
    if (bLoad) {
        CString text;
        ReadAtt(*this, "Version", AttSpec{AttType::Integer}, text);
        m_Version = TextToInt(text);
    }
    return ok;
}

bool CNodeAttDef::RefreshAttListWithMember() { return true; }
bool CNodeAttDef::RefreshMemberWithAttList() { return true; }
