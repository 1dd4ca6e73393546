#include <KvNodeDefine/CBoltPlaneDesc.h>
#include <KvNodeDefine/CPlaneDesc.h>
#include <KvNodeDefine/framework/DescAttributes.h>

using namespace kvnodedefine;

CBoltPlaneDesc::CBoltPlaneDesc() = default;
CBoltPlaneDesc::~CBoltPlaneDesc() = default;

namespace {
const AttSpec kPlane = kvnodedefine::NameOf(RUNTIME_CLASS(CPlaneDesc), true);
const AttSpec kFather = kvnodedefine::NameOf(RUNTIME_CLASS(CBaseDesc), false);
} // namespace

bool CBoltPlaneDesc::RefreshAttListWithMember()
{
    CBaseDesc::RefreshAttListWithMember();
    SetAtt(*this, "plane", m_PlaneName, kPlane);
    SetAtt(*this, "father", m_FatherName, kFather);
    return true;
}

bool CBoltPlaneDesc::RefreshMemberWithAttList()
{
    CBaseDesc::RefreshMemberWithAttList();
    GetAtt(*this, "plane", m_PlaneName, kPlane);
    GetAtt(*this, "father", m_FatherName, kFather);
    return true;
}
