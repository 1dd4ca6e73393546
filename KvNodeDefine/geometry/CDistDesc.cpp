#include <KvNodeDefine/CDistDesc.h>
#include <KvNodeDefine/CPlaneDesc.h>
#include <KvNodeDefine/CPointDesc.h>

CDistDesc::CDistDesc() : m_DistType(DistByPoints0) {}
CDistDesc::~CDistDesc() = default;

const SteelSystem::EnumTable& CDistDesc::Types() noexcept
{
    static const SteelSystem::EnumText rows[] = {{DistByPoints0, "DistByPoints0"}, {DistByPoints1, "DistByPoints1"}, {DistByPoints2, "DistByPoints2"}, {DistByPlanes, "DistByPlanes"}};
    static const SteelSystem::EnumTable table{rows, 4};
    return table;
}

TypedLayout<CDistDesc> CDistDesc::Layout()
{
    static const TypedAttribute<CDistDesc> rows[] = {
        {DistByPoints0, DistByPoints2, "point1", &CDistDesc::m_Point1Name, false, RUNTIME_CLASS(CPointDesc)},
        {DistByPoints0, DistByPoints2, "point2", &CDistDesc::m_Point2Name, false, RUNTIME_CLASS(CPointDesc)},
        {DistByPlanes, DistByPlanes, "plane1", &CDistDesc::m_Plane1Name, false, RUNTIME_CLASS(CPlaneDesc)},
        {DistByPlanes, DistByPlanes, "plane2", &CDistDesc::m_Plane2Name, false, RUNTIME_CLASS(CPlaneDesc)},
    };
    return rows;
}

bool CDistDesc::RefreshAttListWithMember()
{
    CBaseDesc::RefreshAttListWithMember();
    SaveConstruction(*this, m_DistType, Layout());
    return true;
}

bool CDistDesc::RefreshMemberWithAttList()
{
    CBaseDesc::RefreshMemberWithAttList();
    LoadConstruction(*this, m_DistType, Layout());
    return true;
}
