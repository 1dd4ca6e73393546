#include "BoltCommon.h"

#include <KvNodeDefine/CBoltDesc.h>
#include <KvNodeDefine/framework/DescAttributes.h>

using namespace kvnodedefine;

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
    SetAtt(*this, "material", m_Material);
    SetAtt(*this, "boltgrade", m_BoltGrade);
    SetAtt(*this, "diam", m_DiamExp);
    SetAtt(*this, "len", m_LenExp);
    SetAtt(*this, "dlen", m_DianBanLenExp);
    SetAtt(*this, "dwidth", m_DianBanWidthExp);
    SetAtt(*this, "dthick", m_DianBanThickExp);
    SetAtt(*this, "fathername", m_FatherName);
    SetAtt(*this, "point", m_PointName);
    SetAtt(*this, "plane", m_PlaneName);
    SetAtt(*this, "num", m_NumExp);
    return true;
}

bool CBoltDesc::RefreshMemberWithAttList()
{
    CBaseDesc::RefreshMemberWithAttList();
    GetAttEnum(*this, "material", m_Material);
    GetAttEnum(*this, "boltgrade", m_BoltGrade);
    GetAtt(*this, "diam", m_DiamExp);
    GetAtt(*this, "len", m_LenExp);
    GetAtt(*this, "dlen", m_DianBanLenExp);
    GetAtt(*this, "dwidth", m_DianBanWidthExp);
    GetAtt(*this, "dthick", m_DianBanThickExp);
    GetAtt(*this, "fathername", m_FatherName);
    GetAtt(*this, "point", m_PointName);
    GetAtt(*this, "plane", m_PlaneName);
    GetAtt(*this, "num", m_NumExp);
    return true;
}
