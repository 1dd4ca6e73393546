#include <KvNodeDefine/CBoltPlaneDesc.h>
#include <KvNodeDefine/framework/DescAttributes.h>

using namespace kvnodedefine;

CBoltPlaneDesc::CBoltPlaneDesc() = default;
CBoltPlaneDesc::~CBoltPlaneDesc() = default;

bool CBoltPlaneDesc::RefreshAttListWithMember()
{
    CBaseDesc::RefreshAttListWithMember();
    SetAtt(*this, "plane", m_PlaneName);
    SetAtt(*this, "father", m_FatherName);
    return true;
}

bool CBoltPlaneDesc::RefreshMemberWithAttList()
{
    CBaseDesc::RefreshMemberWithAttList();
    GetAtt(*this, "plane", m_PlaneName);
    GetAtt(*this, "father", m_FatherName);
    return true;
}
