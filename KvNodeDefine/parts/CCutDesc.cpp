#include <KvNodeDefine/CCutDesc.h>
#include <KvNodeDefine/CNodeGlobal.h>
#include <KvNodeDefine/CPlaneDesc.h>

CCutDesc::CCutDesc() = default;
CCutDesc::CCutDesc(CPlaneDesc*) {}
CCutDesc::CCutDesc(const CCutDesc&) : CBaseDesc() {}
void CCutDesc::operator=(const CCutDesc&) {}
CCutDesc::~CCutDesc() = default;

bool CCutDesc::GetPlaneNames(CStringArray& names) const
{
    CNodeGlobal::SplitStringToStringArray(m_PlaneNames, names);
    return names.GetSize() >= 1;
}

namespace {
const AttSpec kPlanes = kvnodedefine::NameListOf(RUNTIME_CLASS(CPlaneDesc));
} // namespace

bool CCutDesc::RefreshAttListWithMember()
{
    CBaseDesc::RefreshAttListWithMember();
    SetAtt("planes", m_PlaneNames, kPlanes);
    return true;
}

bool CCutDesc::RefreshMemberWithAttList()
{
    CBaseDesc::RefreshMemberWithAttList();
    GetAtt("planes", m_PlaneNames, kPlanes);
    return true;
}
