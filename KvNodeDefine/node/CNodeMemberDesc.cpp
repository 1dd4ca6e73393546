#include <KvNodeDefine/CCutDesc.h>
#include <KvNodeDefine/CNodeGlobal.h>
#include <KvNodeDefine/CNodeMemberDesc.h>
#include <KvNodeDefine/framework/ChildList.h>
#include <KvNodeDefine/framework/DescAttributes.h>

#include <utility>

using namespace kvnodedefine;

namespace {

// the texts these attributes compare whole: "linkplanes" of exactly "0" is a
// connection at the member's end (any other text lists sides), "directused"
// of exactly "0" is a member not used directly (any other text, or none, is)
const EnumText kEndConnectRows[] = {{0, "0"}};
const EnumTable kEndConnect{kEndConnectRows, 1};
const EnumText kDirectUsedRows[] = {{0, "0"}, {1, "1"}};
const EnumTable kDirectUsed{kDirectUsedRows, 2};

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
    SetAtt(*this, "kind", m_KindArray);
    SetAtt(*this, "sectype", m_SecTypeArray);
    SetAtt(*this, "linkplanes", m_StrLinkPlanes, kLinkPlanes);
    SetAtt(*this, "rotangles", m_RotateAngles, AttType::NumberList);
    SetAtt(*this, "linkto", m_LinkTo);
    if (!m_DirectUsed)
        SetAtt(*this, "directused", kDirectUsedRows[0].text, kDirectUsedSpec);
    if (!m_SectDesc.IsEmpty())
        SetAtt(*this, "sectdesc", m_SectDesc);
    return true;
}

bool CNodeMemberDesc::RefreshMemberWithAttList()
{
    CBaseDesc::RefreshMemberWithAttList();
    GetAttIntList(*this, "kind", m_KindArray);
    GetAttIntList(*this, "sectype", m_SecTypeArray);
    GetAtt(*this, "linkplanes", m_StrLinkPlanes, kLinkPlanes);
    GetAtt(*this, "rotangles", m_RotateAngles, AttType::NumberList);
    GetAtt(*this, "linkto", m_LinkTo);
    CString directUsed;
    GetAtt(*this, "directused", directUsed, kDirectUsedSpec);
    m_DirectUsed = directUsed != kDirectUsedRows[0].text;
    GetAtt(*this, "sectdesc", m_SectDesc);
    return true;
}
