#include <KvNodeDefine/CLineDesc.h>
#include <KvNodeDefine/CNodeMemberDesc.h>
#include <KvNodeDefine/CPlaneDesc.h>
#include <KvNodeDefine/CPointDesc.h>
#include <KvNodeDefine/CVecDesc.h>

CPointDesc::CPointDesc() : m_PointType(PointByMember) {}
CPointDesc::~CPointDesc() = default;

const SteelSystem::EnumTable& CPointDesc::Types() noexcept
{
    static const SteelSystem::EnumText rows[] = {{PointByMember, "PointByMember"}, {PointByLinePlane, "PointByLinePlane"}, {PointByTwoLines, "PointByTwoLines"}, {PointByDesc, "PointByDesc"}, {PointByOldPoint, "PointByOldPoint"}};
    static const SteelSystem::EnumTable table{rows, 5};
    return table;
}

TypedLayout<CPointDesc> CPointDesc::Layout()
{
    static const TypedAttribute<CPointDesc> rows[] = {
        {PointByMember, PointByMember, "memname", &CPointDesc::m_MemberName, false, RUNTIME_CLASS(CNodeMemberDesc)},
        {PointByLinePlane, PointByLinePlane, "line", &CPointDesc::m_LineName, false, RUNTIME_CLASS(CLineDesc)},
        {PointByLinePlane, PointByLinePlane, "plane", &CPointDesc::m_PlaneName, false, RUNTIME_CLASS(CPlaneDesc)},
        {PointByTwoLines, PointByTwoLines, "line1", &CPointDesc::m_Line1Name, false, RUNTIME_CLASS(CLineDesc)},
        {PointByTwoLines, PointByTwoLines, "line2", &CPointDesc::m_Line2Name, false, RUNTIME_CLASS(CLineDesc)},
        {PointByDesc, PointByDesc, "pointdesc", &CPointDesc::m_StrPointDesc, false, nullptr},
        {PointByOldPoint, PointByOldPoint, "oldpoint", &CPointDesc::m_OldPointName, false, RUNTIME_CLASS(CPointDesc)},
        {PointByOldPoint, PointByOldPoint, "vec", &CPointDesc::m_VecName, false, RUNTIME_CLASS(CVecDesc)},
        {PointByOldPoint, PointByOldPoint, "rellen", &CPointDesc::m_StrRelLen, false, nullptr},
    };
    return rows;
}

bool CPointDesc::RefreshAttListWithMember()
{
    CBaseDesc::RefreshAttListWithMember();
    SaveConstruction(*this, m_PointType, Layout());
    return true;
}

bool CPointDesc::RefreshMemberWithAttList()
{
    CBaseDesc::RefreshMemberWithAttList();
    LoadConstruction(*this, m_PointType, Layout());
    return true;
}
