#include <KvNodeDefine/CCutDesc.h>
#include <KvNodeDefine/CNodeGlobal.h>
#include <KvNodeDefine/CPlaneDesc.h>
#include <KvNodeDefine/CPlateDesc.h>
#include <KvNodeDefine/CVarItemDesc.h>
#include <KvNodeDefine/ChildList.h>

CPlateDesc::CPlateDesc() : m_Material(SteelSystem::Q215), m_Num(0) {}
CPlateDesc::~CPlateDesc() = default;

bool CPlateDesc::GetPlaneNames(CStringArray& names) const
{
    CNodeGlobal::SplitStringToStringArray(m_PlaneNames, names);
    return names.GetSize() == 3;
}

bool CPlateDesc::GetCutDescArray(AcArray<CCutDesc*>& cuts) const { return AppendChildrenOf(*this, cuts); }

namespace {
const AttSpec kPlanes = kvnodedefine::NameListOf(RUNTIME_CLASS(CPlaneDesc));
const AttSpec kVarItem = kvnodedefine::NameOf(RUNTIME_CLASS(CVarItemDesc), false);
} // namespace

bool CPlateDesc::RefreshAttListWithMember()
{
    CBaseDesc::RefreshAttListWithMember();
    SetAtt("material", m_Material);
    SetAtt("lenexp", m_LenExp, kvnodedefine::Needed());
    SetAtt("widthexp", m_WidthExp, kvnodedefine::Needed());
    SetAtt("thickexp", m_ThickExp, kvnodedefine::Needed());
    SetAtt("planes", m_PlaneNames, kPlanes);
    SetAtt("varitem", m_VarItemName, kVarItem);
    return true;
}

bool CPlateDesc::RefreshMemberWithAttList()
{
    CBaseDesc::RefreshMemberWithAttList();
    GetAttEnum("material", m_Material);
    GetAtt("lenexp", m_LenExp, kvnodedefine::Needed());
    GetAtt("widthexp", m_WidthExp, kvnodedefine::Needed());
    GetAtt("thickexp", m_ThickExp, kvnodedefine::Needed());
    GetAtt("planes", m_PlaneNames, kPlanes);
    GetAtt("varitem", m_VarItemName, kVarItem);
    return true;
}
