#include <KvNodeDefine/CCutDesc.h>
#include <KvNodeDefine/CNodeGlobal.h>
#include <KvNodeDefine/CPlateDesc.h>
#include <KvNodeDefine/ChildList.h>

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
    SetAtt("material", m_Material);
    SetAtt("lenexp", m_LenExp);
    SetAtt("widthexp", m_WidthExp);
    SetAtt("thickexp", m_ThickExp);
    SetAtt("planes", m_PlaneNames);
    SetAtt("varitem", m_VarItemName);
    return true;
}

bool CPlateDesc::RefreshMemberWithAttList()
{
    CBaseDesc::RefreshMemberWithAttList();
    GetAttEnum("material", m_Material);
    GetAtt("lenexp", m_LenExp);
    GetAtt("widthexp", m_WidthExp);
    GetAtt("thickexp", m_ThickExp);
    GetAtt("planes", m_PlaneNames);
    GetAtt("varitem", m_VarItemName);
    return true;
}
