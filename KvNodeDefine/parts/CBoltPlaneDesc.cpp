#include <KvNodeDefine/CBoltPlaneDesc.h>
#include <KvNodeDefine/CPlaneDesc.h>

CBoltPlaneDesc::CBoltPlaneDesc() = default;
CBoltPlaneDesc::~CBoltPlaneDesc() = default;

namespace {
const AttSpec kPlane = kvnodedefine::NameOf(RUNTIME_CLASS(CPlaneDesc), true);
const AttSpec kFather = kvnodedefine::NameOf(RUNTIME_CLASS(CBaseDesc), false);
} // namespace

bool CBoltPlaneDesc::RefreshAttListWithMember()
{
    CBaseDesc::RefreshAttListWithMember();
    SetAtt("plane", m_PlaneName, kPlane);
    SetAtt("father", m_FatherName, kFather);
    return true;
}

bool CBoltPlaneDesc::RefreshMemberWithAttList()
{
    CBaseDesc::RefreshMemberWithAttList();
    GetAtt("plane", m_PlaneName, kPlane);
    GetAtt("father", m_FatherName, kFather);
    return true;
}
