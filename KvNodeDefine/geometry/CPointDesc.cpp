#include <KvNodeDefine/CPointDesc.h>
#include <KvNodeDefine/framework/ConstructionLayout.h>
#include <KvNodeDefine/framework/DescAttributes.h>

using namespace kvnodedefine;

CPointDesc::CPointDesc() : m_PointType(PointByMember) {}
CPointDesc::~CPointDesc() = default;

template <>
TypedLayout<CPointDesc> LayoutOf<CPointDesc>::Get()
{
    // the types' names, as tools show them
    static const EnumText types[] = {{PointByMember, "PointByMember"}, {PointByLinePlane, "PointByLinePlane"}, {PointByTwoLines, "PointByTwoLines"}, {PointByDesc, "PointByDesc"}, {PointByOldPoint, "PointByOldPoint"}};
    static const EnumTable typeNames = TableOf(types);
    static const TypedAttribute<CPointDesc> rows[] = {
        {PointByMember, PointByMember, "memname", &CPointDesc::m_MemberName, false},
        {PointByLinePlane, PointByLinePlane, "line", &CPointDesc::m_LineName, false},
        {PointByLinePlane, PointByLinePlane, "plane", &CPointDesc::m_PlaneName, false},
        {PointByTwoLines, PointByTwoLines, "line1", &CPointDesc::m_Line1Name, false},
        {PointByTwoLines, PointByTwoLines, "line2", &CPointDesc::m_Line2Name, false},
        {PointByDesc, PointByDesc, "pointdesc", &CPointDesc::m_StrPointDesc, false},
        {PointByOldPoint, PointByOldPoint, "oldpoint", &CPointDesc::m_OldPointName, false},
        {PointByOldPoint, PointByOldPoint, "vec", &CPointDesc::m_VecName, false},
        {PointByOldPoint, PointByOldPoint, "rellen", &CPointDesc::m_StrRelLen, false},
    };
    return {rows, typeNames};
}

bool CPointDesc::RefreshAttListWithMember()
{
    CBaseDesc::RefreshAttListWithMember();
    SaveConstruction(*this, m_PointType);
    return true;
}

bool CPointDesc::RefreshMemberWithAttList()
{
    CBaseDesc::RefreshMemberWithAttList();
    LoadConstruction(*this, m_PointType);
    return true;
}
