#include <KvNodeDefine/CBaseDesc.h>
#include <KvNodeDefine/framework/DescAttributes.h>

#include <utility>

using namespace kvnodedefine;

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
    SetAtt(*this, "name", m_Name);
    SetAtt(*this, "showname", m_ShowName);
    return true;
}

bool CBaseDesc::RefreshMemberWithAttList()
{
    CXMLComposite::RefreshMemberWithAttList();
    GetAtt(*this, "name", m_Name);
    GetAtt(*this, "showname", m_ShowName);
    return true;
}
