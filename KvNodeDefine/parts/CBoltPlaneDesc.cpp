#include <KvNodeDefine/CBoltPlaneDesc.h>

CBoltPlaneDesc::CBoltPlaneDesc() = default;
CBoltPlaneDesc::~CBoltPlaneDesc() = default;

bool CBoltPlaneDesc::RefreshAttListWithMember()
{
    CBaseDesc::RefreshAttListWithMember();
    SetAtt("plane", m_PlaneName);
    SetAtt("father", m_FatherName);
    return true;
}

bool CBoltPlaneDesc::RefreshMemberWithAttList()
{
    CBaseDesc::RefreshMemberWithAttList();
    GetAtt("plane", m_PlaneName);
    GetAtt("father", m_FatherName);
    return true;
}
