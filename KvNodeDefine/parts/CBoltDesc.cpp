#include "BoltCommon.h"

#include <KvNodeDefine/CBoltDesc.h>
#include <KvNodeDefine/CPlaneDesc.h>
#include <KvNodeDefine/CPointDesc.h>

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

namespace {
const AttSpec kFather = kvnodedefine::NameOf(RUNTIME_CLASS(CBaseDesc), false);
const AttSpec kPoint = kvnodedefine::NameOf(RUNTIME_CLASS(CPointDesc), true);
const AttSpec kPlane = kvnodedefine::NameOf(RUNTIME_CLASS(CPlaneDesc), true);
} // namespace

bool CBoltDesc::RefreshAttListWithMember()
{
    CBaseDesc::RefreshAttListWithMember();
    SetAtt("material", m_Material);
    SetAtt("boltgrade", m_BoltGrade);
    SetAtt("diam", m_DiamExp, kvnodedefine::Needed());
    SetAtt("len", m_LenExp, kvnodedefine::Needed());
    SetAtt("dlen", m_DianBanLenExp);
    SetAtt("dwidth", m_DianBanWidthExp);
    SetAtt("dthick", m_DianBanThickExp);
    SetAtt("fathername", m_FatherName, kFather);
    SetAtt("point", m_PointName, kPoint);
    SetAtt("plane", m_PlaneName, kPlane);
    SetAtt("num", m_NumExp, kvnodedefine::Needed());
    return true;
}

bool CBoltDesc::RefreshMemberWithAttList()
{
    CBaseDesc::RefreshMemberWithAttList();
    GetAttEnum("material", m_Material);
    GetAttEnum("boltgrade", m_BoltGrade);
    GetAtt("diam", m_DiamExp, kvnodedefine::Needed());
    GetAtt("len", m_LenExp, kvnodedefine::Needed());
    GetAtt("dlen", m_DianBanLenExp);
    GetAtt("dwidth", m_DianBanWidthExp);
    GetAtt("dthick", m_DianBanThickExp);
    GetAtt("fathername", m_FatherName, kFather);
    GetAtt("point", m_PointName, kPoint);
    GetAtt("plane", m_PlaneName, kPlane);
    GetAtt("num", m_NumExp, kvnodedefine::Needed());
    return true;
}
