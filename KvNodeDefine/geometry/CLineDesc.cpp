#include <KvNodeDefine/CLineDesc.h>
#include <KvNodeDefine/framework/ConstructionLayout.h>

using namespace kvnodedefine;

CLineDesc::CLineDesc() : m_LineType(LineByMember) {}
CLineDesc::~CLineDesc() = default;

// a friend for the fields, derived for the names of the types
template <>
struct kvnodedefine::LayoutOf<CLineDesc> : CLineDesc {
    static TypedLayout<CLineDesc> Get();
};

TypedLayout<CLineDesc> LayoutOf<CLineDesc>::Get()
{
    // the types' names, as tools show them
    static const EnumText types[] = {
        {LineByMember, "LineByMember"},
        {LineByTwoPlanes, "LineByTwoPlanes"},
        {LineByPointVec, "LineByPointVec"},
        {LineByTwoPoints, "LineByTwoPoints"},
    };
    static const EnumTable typeNames{types, static_cast<int>(sizeof types / sizeof *types)};
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
    SaveConstruction(*this, m_LineType, LayoutOf<CLineDesc>::Get());
    return true;
}

bool CLineDesc::RefreshMemberWithAttList()
{
    CBaseDesc::RefreshMemberWithAttList();
    LoadConstruction(*this, m_LineType, LayoutOf<CLineDesc>::Get());
    return true;
}
