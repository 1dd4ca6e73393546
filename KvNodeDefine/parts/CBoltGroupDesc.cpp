#include "BoltCommon.h"

#include <KvNodeDefine/CBoltGroupDesc.h>
#include <KvNodeDefine/framework/DescAttributes.h>

#include <utility>

using namespace kvnodedefine;

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
    SetAtt(*this, "material", m_Material);
    SetAtt(*this, "boltgrade", m_BoltGrade);
    SetAtt(*this, "bolttype", m_BoltType);
    SetAtt(*this, "diam", m_DiamExp, kvnodedefine::Needed());
    SetAtt(*this, "len", m_LenExp, kvnodedefine::Needed());
    SetAtt(*this, "num", m_NumExp, kvnodedefine::Needed());
    SetAtt(*this, "fathername", m_FatherName, kFather);
    SetAtt(*this, "fatherindex", m_FatherSideIndex);
    SetAtt(*this, "priorflag", m_PriorFlag);
    return true;
}

bool CBoltGroupDesc::RefreshMemberWithAttList()
{
    CBaseDesc::RefreshMemberWithAttList();
    GetAttEnum(*this, "material", m_Material);
    GetAttEnum(*this, "boltgrade", m_BoltGrade);
    GetAttEnum(*this, "bolttype", m_BoltType);
    GetAtt(*this, "diam", m_DiamExp, kvnodedefine::Needed());
    GetAtt(*this, "len", m_LenExp, kvnodedefine::Needed());
    GetAtt(*this, "num", m_NumExp, kvnodedefine::Needed());
    GetAtt(*this, "fathername", m_FatherName, kFather);
    GetAtt(*this, "fatherindex", m_FatherSideIndex);
    GetAtt(*this, "priorflag", m_PriorFlag);
    return true;
}
