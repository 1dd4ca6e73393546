#include <KvNodeDefine/CCutDesc.h>
#include <KvNodeDefine/CNodeGlobal.h>
#include <KvNodeDefine/CNodeMemberDesc.h>
#include <KvNodeDefine/ChildList.h>

#include <utility>

namespace {

// the texts these attributes compare whole: "linkplanes" of exactly "0" is a
// connection at the member's end (any other text lists sides), "directused"
// of exactly "0" is a member not used directly (any other text, or none, is)
const SteelSystem::EnumText kEndConnectRows[] = {{0, "0"}};
const SteelSystem::EnumTable kEndConnect{kEndConnectRows, 1};
const SteelSystem::EnumText kDirectUsedRows[] = {{0, "0"}, {1, "1"}};
const SteelSystem::EnumTable kDirectUsed{kDirectUsedRows, 2};

const AttSpec kLinkPlanes(AttType::IntegerList, &kEndConnect);
const AttSpec kDirectUsedSpec(AttType::Keyword, &kDirectUsed);

} // namespace

CNodeMemberDesc::CNodeMemberDesc() : m_DirectUsed(true) {}

CNodeMemberDesc::CNodeMemberDesc(CString name, CString showName, CString linkPlanes, CString rotateAngles)
    : CBaseDesc(std::move(name), std::move(showName)), m_StrLinkPlanes(std::move(linkPlanes)),
      m_RotateAngles(std::move(rotateAngles)), m_DirectUsed(true)
{
}

CNodeMemberDesc::CNodeMemberDesc(const CNodeMemberDesc& other) : CBaseDesc(), m_DirectUsed(true) { Set(other); }

void CNodeMemberDesc::operator=(const CNodeMemberDesc& other) { Set(other); }

CNodeMemberDesc::~CNodeMemberDesc() = default;

void CNodeMemberDesc::Set(const CNodeMemberDesc& other)
{
    m_StrLinkPlanes = other.m_StrLinkPlanes;
    m_RotateAngles = other.m_RotateAngles;
}

bool CNodeMemberDesc::IsEndConnect() const { return m_StrLinkPlanes == kEndConnectRows[0].text; }

bool CNodeMemberDesc::GetAllowConnectSides(AcArray<int>& sides) const
{
    return !IsEndConnect() && CNodeGlobal::SplitStringToIntArray(m_StrLinkPlanes, sides);
}

bool CNodeMemberDesc::GetAllowRotateAngles(AcArray<double>& angles) const
{
    return IsEndConnect() && CNodeGlobal::SplitStringToDoubleArray(m_RotateAngles, angles);
}

bool CNodeMemberDesc::GetCutDescArray(AcArray<CCutDesc*>& cuts) const { return AppendChildrenOf(*this, cuts); }

bool CNodeMemberDesc::RefreshAttListWithMember()
{
    CBaseDesc::RefreshAttListWithMember();
    SetAtt("kind", m_KindArray);
    SetAtt("sectype", m_SecTypeArray);
    SetAtt("linkplanes", m_StrLinkPlanes, kLinkPlanes);
    SetAtt("rotangles", m_RotateAngles, AttType::NumberList);
    SetAtt("linkto", m_LinkTo);
    if (!m_DirectUsed)
        SetAtt("directused", kDirectUsedRows[0].text, kDirectUsedSpec);
    if (!m_SectDesc.IsEmpty())
        SetAtt("sectdesc", m_SectDesc);
    return true;
}

bool CNodeMemberDesc::RefreshMemberWithAttList()
{
    CBaseDesc::RefreshMemberWithAttList();
    GetAttList("kind", m_KindArray);
    GetAttList("sectype", m_SecTypeArray);
    GetAtt("linkplanes", m_StrLinkPlanes, kLinkPlanes);
    GetAtt("rotangles", m_RotateAngles, AttType::NumberList);
    GetAtt("linkto", m_LinkTo);
    CString directUsed;
    GetAtt("directused", directUsed, kDirectUsedSpec);
    m_DirectUsed = directUsed != kDirectUsedRows[0].text;
    GetAtt("sectdesc", m_SectDesc);
    return true;
}
