#include <KvNodeDefine/CBoltDesc.h>
#include <KvNodeDefine/CBoltGroupDesc.h>
#include <KvNodeDefine/CDistDesc.h>
#include <KvNodeDefine/CLineDesc.h>
#include <KvNodeDefine/CLinkBarDesc.h>
#include <KvNodeDefine/CNodeMemberDesc.h>
#include <KvNodeDefine/CNodeTypeDesc.h>
#include <KvNodeDefine/CPlaneDesc.h>
#include <KvNodeDefine/CPlateDesc.h>
#include <KvNodeDefine/CPointDesc.h>
#include <KvNodeDefine/CVarItemDesc.h>
#include <KvNodeDefine/CVecDesc.h>
#include <KvNodeDefine/framework/ChildList.h>
#include <KvNodeDefine/framework/DescAttributes.h>

#include <utility>

using namespace kvnodedefine;

CNodeTypeDesc::CNodeTypeDesc() : m_NodeType(kLinkSmallNone) {}

CNodeTypeDesc::CNodeTypeDesc(CString name, CString showName, LinkSmallType nodeType)
    : CBaseDesc(std::move(name), std::move(showName)), m_NodeType(nodeType)
{
}

CNodeTypeDesc::CNodeTypeDesc(const CNodeTypeDesc& other) : CBaseDesc(), m_NodeType(kLinkSmallNone) { Set(other); }
void CNodeTypeDesc::operator=(const CNodeTypeDesc& other) { Set(other); }
CNodeTypeDesc::~CNodeTypeDesc() = default;

void CNodeTypeDesc::Set(const CNodeTypeDesc& other) { m_NodeType = other.m_NodeType; }

LinkBigType CNodeTypeDesc::GetLinkBigType() const { return kLinkBigDefault; }

LinkWholeType CNodeTypeDesc::GetLinkWholeType() const
{
    const int whole = m_NodeType / 10000;
    return whole >= 2 && whole <= 4 ? static_cast<LinkWholeType>(whole) : kLinkWhole1;
}

bool CNodeTypeDesc::GetMemberDescArray(AcArray<CNodeMemberDesc*>& items) const { return AppendChildrenOf(*this, items); }
bool CNodeTypeDesc::GetPlateDescArray(AcArray<CPlateDesc*>& items) const { return AppendChildrenOf(*this, items); }
bool CNodeTypeDesc::GetBoltGroupDescArray(AcArray<CBoltGroupDesc*>& items) const { return AppendChildrenOf(*this, items); }
bool CNodeTypeDesc::GetBoltDescArray(AcArray<CBoltDesc*>& items) const { return AppendChildrenOf(*this, items); }
bool CNodeTypeDesc::GetLinkBarDescArray(AcArray<CLinkBarDesc*>& items) const { return AppendChildrenOf(*this, items); }
bool CNodeTypeDesc::GetVarItemDescArray(AcArray<CVarItemDesc*>& items) const { return AppendChildrenOf(*this, items); }
bool CNodeTypeDesc::GetPointDescArray(AcArray<CPointDesc*>& items) const { return AppendChildrenOf(*this, items); }
bool CNodeTypeDesc::GetLineDescArray(AcArray<CLineDesc*>& items) const { return AppendChildrenOf(*this, items); }
bool CNodeTypeDesc::GetPlaneDescArray(AcArray<CPlaneDesc*>& items) const { return AppendChildrenOf(*this, items); }
bool CNodeTypeDesc::GetVecDescArray(AcArray<CVecDesc*>& items) const { return AppendChildrenOf(*this, items); }
bool CNodeTypeDesc::GetDistDescArray(AcArray<CDistDesc*>& items) const { return AppendChildrenOf(*this, items); }

CNodeMemberDesc* CNodeTypeDesc::FindMemberByName(CString name) const
{
    return FindChildByName<CNodeMemberDesc>(*this, name);
}

CPlateDesc* CNodeTypeDesc::FindPlateByName(CString name) const { return FindChildByName<CPlateDesc>(*this, name); }

CLinkBarDesc* CNodeTypeDesc::FindLinkBarByName(CString name) const
{
    return FindChildByName<CLinkBarDesc>(*this, name);
}

bool CNodeTypeDesc::RefreshAttListWithMember()
{
    CBaseDesc::RefreshAttListWithMember();
    SetAtt(*this, "nodetype", m_NodeType);
    return true;
}

bool CNodeTypeDesc::RefreshMemberWithAttList()
{
    CBaseDesc::RefreshMemberWithAttList();
    GetAttEnum(*this, "nodetype", m_NodeType);
    return true;
}
