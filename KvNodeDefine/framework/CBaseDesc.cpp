#include <KvNodeDefine/CBaseDesc.h>

#include <utility>

CBaseDesc::CBaseDesc() = default;
CBaseDesc::CBaseDesc(CString name, CString showName) : m_Name(std::move(name)), m_ShowName(std::move(showName)) {}
CBaseDesc::~CBaseDesc() = default;

CString CBaseDesc::GetName() const { return m_Name; }
CString CBaseDesc::GetShowName() const { return m_ShowName; }
void CBaseDesc::SetName(CString name) { m_Name = std::move(name); }
void CBaseDesc::SetShowName(CString showName) { m_ShowName = std::move(showName); }

bool CBaseDesc::Serialize(MSXML2::IXMLDOMNode& node, MSXML2::IXMLDOMDocument* pDoc, bool bLoad, bool bChildren)
{
    if (!bLoad)
        RefreshAttListWithMember();
    const bool ok = CXMLComposite::Serialize(node, pDoc, bLoad, bChildren);
    if (bLoad)
        RefreshMemberWithAttList();
    return ok;
}

bool CBaseDesc::RefreshAttListWithMember()
{
    CXMLComposite::RefreshAttListWithMember();
    SetAtt("name", m_Name);
    SetAtt("showname", m_ShowName);
    return true;
}

bool CBaseDesc::RefreshMemberWithAttList()
{
    CXMLComposite::RefreshMemberWithAttList();
    GetAtt("name", m_Name);
    GetAtt("showname", m_ShowName);
    return true;
}

int CBaseDesc::GetAttInt(const char* name, const AttSpec& spec) const
{
    CString text;
    ReadAtt(*this, name, spec, text);
    return text.IsEmpty() && spec.ifEmpty ? TextToInt(spec.ifEmpty) : TextToInt(text);
}
