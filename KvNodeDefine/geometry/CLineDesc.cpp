#include <KvNodeDefine/CLineDesc.h>
#include <KvNodeDefine/CNodeMemberDesc.h>
#include <KvNodeDefine/CPlaneDesc.h>
#include <KvNodeDefine/CPointDesc.h>
#include <KvNodeDefine/CVecDesc.h>

CLineDesc::CLineDesc() : m_LineType(LineByMember) {}
CLineDesc::~CLineDesc() = default;

const SteelSystem::EnumTable& CLineDesc::Types() noexcept
{
    static const SteelSystem::EnumText rows[] = {{LineByMember, "LineByMember"}, {LineByTwoPlanes, "LineByTwoPlanes"}, {LineByPointVec, "LineByPointVec"}, {LineByTwoPoints, "LineByTwoPoints"}};
    static const SteelSystem::EnumTable table{rows, 4};
    return table;
}

TypedLayout<CLineDesc> CLineDesc::Layout()
{
    static const TypedAttribute<CLineDesc> rows[] = {
        {LineByMember, LineByMember, "memname", &CLineDesc::m_MemberName, false, RUNTIME_CLASS(CNodeMemberDesc)},
        {LineByTwoPlanes, LineByTwoPlanes, "plane1", &CLineDesc::m_Plane1Name, false, RUNTIME_CLASS(CPlaneDesc)},
        {LineByTwoPlanes, LineByTwoPlanes, "plane2", &CLineDesc::m_Plane2Name, false, RUNTIME_CLASS(CPlaneDesc)},
        {LineByPointVec, LineByPointVec, "point", &CLineDesc::m_PointName, false, RUNTIME_CLASS(CPointDesc)},
        {LineByPointVec, LineByPointVec, "vec", &CLineDesc::m_VecName, false, RUNTIME_CLASS(CVecDesc)},
        {LineByTwoPoints, LineByTwoPoints, "point1", &CLineDesc::m_Point1Name, false, RUNTIME_CLASS(CPointDesc)},
        {LineByTwoPoints, LineByTwoPoints, "point2", &CLineDesc::m_Point2Name, false, RUNTIME_CLASS(CPointDesc)},
    };
    return rows;
}

bool CLineDesc::RefreshAttListWithMember()
{
    CBaseDesc::RefreshAttListWithMember();
    SaveConstruction(*this, m_LineType, Layout());
    return true;
}

bool CLineDesc::RefreshMemberWithAttList()
{
    CBaseDesc::RefreshMemberWithAttList();
    LoadConstruction(*this, m_LineType, Layout());
    return true;
}
