#include "BoltCommon.h"

#include <KvNodeDefine/CBoltDesc.h>

CBoltDesc::CBoltDesc() : m_Material(SteelSystem::Q215), m_BoltGrade(SteelSystem::Grade3_6) {}
CBoltDesc::~CBoltDesc() = default;

CString CBoltDesc::GetVarItemName() const
{
    return VarItemNameFromExpressions(m_LenExp, m_DiamExp, m_NumExp, "_MaoDiam");
}

bool CBoltDesc::GetBoltPlaneDescArray(AcArray<CBoltPlaneDesc*>& planes) const
{
    return AppendBoltPlanes(*this, planes);
}

bool CBoltDesc::RefreshAttListWithMember()
{
    CBaseDesc::RefreshAttListWithMember();
    SetAtt("material", m_Material);
    SetAtt("boltgrade", m_BoltGrade);
    SetAtt("diam", m_DiamExp);
    SetAtt("len", m_LenExp);
    SetAtt("dlen", m_DianBanLenExp);
    SetAtt("dwidth", m_DianBanWidthExp);
    SetAtt("dthick", m_DianBanThickExp);
    SetAtt("fathername", m_FatherName);
    SetAtt("point", m_PointName);
    SetAtt("plane", m_PlaneName);
    SetAtt("num", m_NumExp);
    return true;
}

bool CBoltDesc::RefreshMemberWithAttList()
{
    CBaseDesc::RefreshMemberWithAttList();
    GetAttEnum("material", m_Material);
    GetAttEnum("boltgrade", m_BoltGrade);
    GetAtt("diam", m_DiamExp);
    GetAtt("len", m_LenExp);
    GetAtt("dlen", m_DianBanLenExp);
    GetAtt("dwidth", m_DianBanWidthExp);
    GetAtt("dthick", m_DianBanThickExp);
    GetAtt("fathername", m_FatherName);
    GetAtt("point", m_PointName);
    GetAtt("plane", m_PlaneName);
    GetAtt("num", m_NumExp);
    return true;
}
