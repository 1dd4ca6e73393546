#include "BoltCommon.h"

#include <KvNodeDefine/CBoltGroupDesc.h>

#include <utility>

CBoltGroupDesc::CBoltGroupDesc()
    : m_Material(SteelSystem::Q215), m_BoltGrade(SteelSystem::Grade3_6), m_BoltType(SteelSystem::OrdinaryHexA)
{
}

CBoltGroupDesc::CBoltGroupDesc(CString name, CString showName, CString fatherName, CString fatherSideIndex,
                               SteelSystem::Material material, SteelSystem::BoltGrade boltGrade,
                               SteelSystem::BoltType boltType, CString diamExp, CString lenExp, CString numExp)
    : CBaseDesc(std::move(name), std::move(showName)), m_FatherName(std::move(fatherName)),
      m_FatherSideIndex(std::move(fatherSideIndex)), m_Material(material), m_BoltGrade(boltGrade),
      m_BoltType(boltType), m_DiamExp(std::move(diamExp)), m_LenExp(std::move(lenExp)), m_NumExp(std::move(numExp))
{
}

CBoltGroupDesc::~CBoltGroupDesc() = default;

CString CBoltGroupDesc::GetVarItemName() const
{
    return VarItemNameFromExpressions(m_LenExp, m_DiamExp, m_NumExp, "_BoltDiam");
}

bool CBoltGroupDesc::GetBoltPlaneDescArray(AcArray<CBoltPlaneDesc*>& planes) const
{
    return AppendBoltPlanes(*this, planes);
}

namespace {
const AttSpec kFather = kvnodedefine::NameOf(RUNTIME_CLASS(CBaseDesc), false);
} // namespace

bool CBoltGroupDesc::RefreshAttListWithMember()
{
    CBaseDesc::RefreshAttListWithMember();
    SetAtt("material", m_Material);
    SetAtt("boltgrade", m_BoltGrade);
    SetAtt("bolttype", m_BoltType);
    SetAtt("diam", m_DiamExp, kvnodedefine::Needed());
    SetAtt("len", m_LenExp, kvnodedefine::Needed());
    SetAtt("num", m_NumExp, kvnodedefine::Needed());
    SetAtt("fathername", m_FatherName, kFather);
    SetAtt("fatherindex", m_FatherSideIndex);
    SetAtt("priorflag", m_PriorFlag);
    return true;
}

bool CBoltGroupDesc::RefreshMemberWithAttList()
{
    CBaseDesc::RefreshMemberWithAttList();
    GetAttEnum("material", m_Material);
    GetAttEnum("boltgrade", m_BoltGrade);
    GetAttEnum("bolttype", m_BoltType);
    GetAtt("diam", m_DiamExp, kvnodedefine::Needed());
    GetAtt("len", m_LenExp, kvnodedefine::Needed());
    GetAtt("num", m_NumExp, kvnodedefine::Needed());
    GetAtt("fathername", m_FatherName, kFather);
    GetAtt("fatherindex", m_FatherSideIndex);
    GetAtt("priorflag", m_PriorFlag);
    return true;
}
