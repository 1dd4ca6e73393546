#include <KvNodeDefine/CCutDesc.h>
#include <KvNodeDefine/CNodeGlobal.h>
#include <KvNodeDefine/CPlaneDesc.h>
#include <KvNodeDefine/CPlateDesc.h>
#include <KvNodeDefine/CVarItemDesc.h>
#include <KvNodeDefine/framework/ChildList.h>
#include <KvNodeDefine/framework/DescAttributes.h>

using namespace kvnodedefine;

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
    SetAtt(*this, "material", m_Material);
    SetAtt(*this, "lenexp", m_LenExp, kvnodedefine::Needed());
    SetAtt(*this, "widthexp", m_WidthExp, kvnodedefine::Needed());
    SetAtt(*this, "thickexp", m_ThickExp, kvnodedefine::Needed());
    SetAtt(*this, "planes", m_PlaneNames, kPlanes);
    SetAtt(*this, "varitem", m_VarItemName, kVarItem);
    return true;
}

bool CPlateDesc::RefreshMemberWithAttList()
{
    CBaseDesc::RefreshMemberWithAttList();
    GetAttEnum(*this, "material", m_Material);
    GetAtt(*this, "lenexp", m_LenExp, kvnodedefine::Needed());
    GetAtt(*this, "widthexp", m_WidthExp, kvnodedefine::Needed());
    GetAtt(*this, "thickexp", m_ThickExp, kvnodedefine::Needed());
    GetAtt(*this, "planes", m_PlaneNames, kPlanes);
    GetAtt(*this, "varitem", m_VarItemName, kVarItem);
    return true;
}
