#include <KvNodeDefine/CLineDesc.h>
#include <KvNodeDefine/CNodeMemberDesc.h>
#include <KvNodeDefine/CPlaneDesc.h>
#include <KvNodeDefine/CPointDesc.h>
#include <KvNodeDefine/CVecDesc.h>
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
