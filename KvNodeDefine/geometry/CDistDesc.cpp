#include <KvNodeDefine/CDistDesc.h>
#include <KvNodeDefine/CPlaneDesc.h>
#include <KvNodeDefine/CPointDesc.h>
#include <KvNodeDefine/framework/ConstructionLayout.h>
#include <KvNodeDefine/framework/DescAttributes.h>

using namespace kvnodedefine;

CDistDesc::CDistDesc() : m_DistType(DistByPoints0) {}
CDistDesc::~CDistDesc() = default;

template <>
TypedLayout<CDistDesc> LayoutOf<CDistDesc>::Get()
{
    // the types' names, as tools show them
    static const EnumText types[] = {{DistByPoints0, "DistByPoints0"}, {DistByPoints1, "DistByPoints1"}, {DistByPoints2, "DistByPoints2"}, {DistByPlanes, "DistByPlanes"}};
    static const EnumTable typeNames = TableOf(types);
    static const TypedAttribute<CDistDesc> rows[] = {
        {DistByPoints0, DistByPoints2, "point1", &CDistDesc::m_Point1Name, false, RUNTIME_CLASS(CPointDesc)},
        {DistByPoints0, DistByPoints2, "point2", &CDistDesc::m_Point2Name, false, RUNTIME_CLASS(CPointDesc)},
        {DistByPlanes, DistByPlanes, "plane1", &CDistDesc::m_Plane1Name, false, RUNTIME_CLASS(CPlaneDesc)},
        {DistByPlanes, DistByPlanes, "plane2", &CDistDesc::m_Plane2Name, false, RUNTIME_CLASS(CPlaneDesc)},
    };
    return {rows, typeNames};
}

bool CDistDesc::RefreshAttListWithMember()
{
    CBaseDesc::RefreshAttListWithMember();
    SaveConstruction(*this, m_DistType);
    return true;
}

bool CDistDesc::RefreshMemberWithAttList()
{
    CBaseDesc::RefreshMemberWithAttList();
    LoadConstruction(*this, m_DistType);
    return true;
}
