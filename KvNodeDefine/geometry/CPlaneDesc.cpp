#include <KvNodeDefine/CNodeMemberDesc.h>
#include <KvNodeDefine/CPlaneDesc.h>
#include <KvNodeDefine/CPointDesc.h>
#include <KvNodeDefine/CVecDesc.h>

CPlaneDesc::CPlaneDesc() : m_PlaneType(PlaneByMember0) {}
CPlaneDesc::~CPlaneDesc() = default;

const SteelSystem::EnumTable& CPlaneDesc::Types() noexcept
{
    static const SteelSystem::EnumText rows[] = {{PlaneByMember0, "PlaneByMember0"}, {PlaneByMember1, "PlaneByMember1"}, {PlaneByMember2, "PlaneByMember2"}, {PlaneByPointNorm, "PlaneByPointNorm"}, {PlaneByRelPlaneLen, "PlaneByRelPlaneLen"}, {PlaneByRelPlane, "PlaneByRelPlane"}};
    static const SteelSystem::EnumTable table{rows, 6};
    return table;
}

TypedLayout<CPlaneDesc> CPlaneDesc::Layout()
{
    static const TypedAttribute<CPlaneDesc> rows[] = {
        {PlaneByMember0, PlaneByMember2, "memname", &CPlaneDesc::m_MemberName, false, RUNTIME_CLASS(CNodeMemberDesc)},
        {PlaneByMember0, PlaneByMember2, "strdesc", &CPlaneDesc::m_StrPlaneDesc, false, nullptr},
        {PlaneByMember0, PlaneByMember2, "refmem", &CPlaneDesc::m_RefMemName, true, RUNTIME_CLASS(CNodeMemberDesc)},
        {PlaneByPointNorm, PlaneByPointNorm, "point", &CPlaneDesc::m_PointName, false, RUNTIME_CLASS(CPointDesc)},
        {PlaneByPointNorm, PlaneByPointNorm, "norm", &CPlaneDesc::m_NormalName, false, RUNTIME_CLASS(CVecDesc)},
        {PlaneByRelPlaneLen, PlaneByRelPlaneLen, "rellen", &CPlaneDesc::m_StrRelativeLen, false, nullptr},
        {PlaneByRelPlaneLen, PlaneByRelPlane, "relplane", &CPlaneDesc::m_RelPlaneName, false, RUNTIME_CLASS(CPlaneDesc)},
    };
    return rows;
}

bool CPlaneDesc::RefreshAttListWithMember()
{
    CBaseDesc::RefreshAttListWithMember();
    SaveConstruction(*this, m_PlaneType, Layout());
    return true;
}

bool CPlaneDesc::RefreshMemberWithAttList()
{
    CBaseDesc::RefreshMemberWithAttList();
    LoadConstruction(*this, m_PlaneType, Layout());
    return true;
}
