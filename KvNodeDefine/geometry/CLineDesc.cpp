#include <KvNodeDefine/CLineDesc.h>
#include <KvNodeDefine/framework/ConstructionLayout.h>
#include <KvNodeDefine/framework/DescAttributes.h>

using namespace kvnodedefine;

CLineDesc::CLineDesc() : m_LineType(LineByMember) {}
CLineDesc::~CLineDesc() = default;

template <>
TypedLayout<CLineDesc> LayoutOf<CLineDesc>::Get()
{
    // the types' names, as tools show them
    static const EnumText types[] = {{LineByMember, "LineByMember"}, {LineByTwoPlanes, "LineByTwoPlanes"}, {LineByPointVec, "LineByPointVec"}, {LineByTwoPoints, "LineByTwoPoints"}};
    static const EnumTable typeNames = TableOf(types);
    static const TypedAttribute<CLineDesc> rows[] = {
        {LineByMember, LineByMember, "memname", &CLineDesc::m_MemberName, false},
        {LineByTwoPlanes, LineByTwoPlanes, "plane1", &CLineDesc::m_Plane1Name, false},
        {LineByTwoPlanes, LineByTwoPlanes, "plane2", &CLineDesc::m_Plane2Name, false},
        {LineByPointVec, LineByPointVec, "point", &CLineDesc::m_PointName, false},
        {LineByPointVec, LineByPointVec, "vec", &CLineDesc::m_VecName, false},
        {LineByTwoPoints, LineByTwoPoints, "point1", &CLineDesc::m_Point1Name, false},
        {LineByTwoPoints, LineByTwoPoints, "point2", &CLineDesc::m_Point2Name, false},
    };
    return {rows, typeNames};
}

bool CLineDesc::RefreshAttListWithMember()
{
    CBaseDesc::RefreshAttListWithMember();
    SaveConstruction(*this, m_LineType);
    return true;
}

bool CLineDesc::RefreshMemberWithAttList()
{
    CBaseDesc::RefreshMemberWithAttList();
    LoadConstruction(*this, m_LineType);
    return true;
}
