#include <KvNodeDefine/CNodeMemberDesc.h>
#include <KvNodeDefine/CPlaneDesc.h>
#include <KvNodeDefine/CPointDesc.h>
#include <KvNodeDefine/CVecDesc.h>
#include <KvNodeDefine/framework/ConstructionLayout.h>
#include <KvNodeDefine/framework/DescAttributes.h>

using namespace kvnodedefine;

CPlaneDesc::CPlaneDesc() : m_PlaneType(PlaneByMember0) {}
CPlaneDesc::~CPlaneDesc() = default;

template <>
TypedLayout<CPlaneDesc> LayoutOf<CPlaneDesc>::Get()
{
    // the types' names, as tools show them
    static const EnumText types[] = {{PlaneByMember0, "PlaneByMember0"}, {PlaneByMember1, "PlaneByMember1"}, {PlaneByMember2, "PlaneByMember2"}, {PlaneByPointNorm, "PlaneByPointNorm"}, {PlaneByRelPlaneLen, "PlaneByRelPlaneLen"}, {PlaneByRelPlane, "PlaneByRelPlane"}};
    static const EnumTable typeNames = TableOf(types);
    static const TypedAttribute<CPlaneDesc> rows[] = {
        {PlaneByMember0, PlaneByMember2, "memname", &CPlaneDesc::m_MemberName, false, RUNTIME_CLASS(CNodeMemberDesc)},
        {PlaneByMember0, PlaneByMember2, "strdesc", &CPlaneDesc::m_StrPlaneDesc, false, nullptr},
        {PlaneByMember0, PlaneByMember2, "refmem", &CPlaneDesc::m_RefMemName, true, RUNTIME_CLASS(CNodeMemberDesc)},
        {PlaneByPointNorm, PlaneByPointNorm, "point", &CPlaneDesc::m_PointName, false, RUNTIME_CLASS(CPointDesc)},
        {PlaneByPointNorm, PlaneByPointNorm, "norm", &CPlaneDesc::m_NormalName, false, RUNTIME_CLASS(CVecDesc)},
        {PlaneByRelPlaneLen, PlaneByRelPlaneLen, "rellen", &CPlaneDesc::m_StrRelativeLen, false, nullptr},
        {PlaneByRelPlaneLen, PlaneByRelPlane, "relplane", &CPlaneDesc::m_RelPlaneName, false, RUNTIME_CLASS(CPlaneDesc)},
    };
    return {rows, typeNames};
}

bool CPlaneDesc::RefreshAttListWithMember()
{
    CBaseDesc::RefreshAttListWithMember();
    SaveConstruction(*this, m_PlaneType);
    return true;
}

bool CPlaneDesc::RefreshMemberWithAttList()
{
    CBaseDesc::RefreshMemberWithAttList();
    LoadConstruction(*this, m_PlaneType);
    return true;
}
