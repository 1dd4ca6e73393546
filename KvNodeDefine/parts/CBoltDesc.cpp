#include "BoltCommon.h"

#include <KvNodeDefine/CBoltDesc.h>
#include <KvNodeDefine/CPlaneDesc.h>
#include <KvNodeDefine/CPointDesc.h>
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

namespace {
const AttSpec kFather = kvnodedefine::NameOf(RUNTIME_CLASS(CBaseDesc), false);
const AttSpec kPoint = kvnodedefine::NameOf(RUNTIME_CLASS(CPointDesc), true);
const AttSpec kPlane = kvnodedefine::NameOf(RUNTIME_CLASS(CPlaneDesc), true);
} // namespace

bool CBoltDesc::RefreshAttListWithMember()
{
    CBaseDesc::RefreshAttListWithMember();
    SetAtt(*this, "material", m_Material);
    SetAtt(*this, "boltgrade", m_BoltGrade);
    SetAtt(*this, "diam", m_DiamExp, kvnodedefine::Needed());
    SetAtt(*this, "len", m_LenExp, kvnodedefine::Needed());
    SetAtt(*this, "dlen", m_DianBanLenExp);
    SetAtt(*this, "dwidth", m_DianBanWidthExp);
    SetAtt(*this, "dthick", m_DianBanThickExp);
    SetAtt(*this, "fathername", m_FatherName, kFather);
    SetAtt(*this, "point", m_PointName, kPoint);
    SetAtt(*this, "plane", m_PlaneName, kPlane);
    SetAtt(*this, "num", m_NumExp, kvnodedefine::Needed());
    return true;
}

bool CBoltDesc::RefreshMemberWithAttList()
{
    CBaseDesc::RefreshMemberWithAttList();
    GetAttEnum(*this, "material", m_Material);
    GetAttEnum(*this, "boltgrade", m_BoltGrade);
    GetAtt(*this, "diam", m_DiamExp, kvnodedefine::Needed());
    GetAtt(*this, "len", m_LenExp, kvnodedefine::Needed());
    GetAtt(*this, "dlen", m_DianBanLenExp);
    GetAtt(*this, "dwidth", m_DianBanWidthExp);
    GetAtt(*this, "dthick", m_DianBanThickExp);
    GetAtt(*this, "fathername", m_FatherName, kFather);
    GetAtt(*this, "point", m_PointName, kPoint);
    GetAtt(*this, "plane", m_PlaneName, kPlane);
    GetAtt(*this, "num", m_NumExp, kvnodedefine::Needed());
    return true;
}
