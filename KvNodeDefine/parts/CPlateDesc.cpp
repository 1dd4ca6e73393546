#include <KvNodeDefine/CCutDesc.h>
#include <KvNodeDefine/CNodeGlobal.h>
#include <KvNodeDefine/CPlateDesc.h>
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

bool CPlateDesc::RefreshAttListWithMember()
{
    CBaseDesc::RefreshAttListWithMember();
    SetAtt(*this, "material", m_Material);
    SetAtt(*this, "lenexp", m_LenExp);
    SetAtt(*this, "widthexp", m_WidthExp);
    SetAtt(*this, "thickexp", m_ThickExp);
    SetAtt(*this, "planes", m_PlaneNames);
    SetAtt(*this, "varitem", m_VarItemName);
    return true;
}

bool CPlateDesc::RefreshMemberWithAttList()
{
    CBaseDesc::RefreshMemberWithAttList();
    GetAttEnum(*this, "material", m_Material);
    GetAtt(*this, "lenexp", m_LenExp);
    GetAtt(*this, "widthexp", m_WidthExp);
    GetAtt(*this, "thickexp", m_ThickExp);
    GetAtt(*this, "planes", m_PlaneNames);
    GetAtt(*this, "varitem", m_VarItemName);
    return true;
}
