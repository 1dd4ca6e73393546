#include <KvNodeDefine/CDistDesc.h>

CDistDesc::CDistDesc() : m_DistType(DistByPoints0) {}
CDistDesc::~CDistDesc() = default;

TypedLayout<CDistDesc> CDistDesc::Layout()
{
    static const TypedAttribute<CDistDesc> rows[] = {
        {DistByPoints0, DistByPoints2, "point1", &CDistDesc::m_Point1Name, false},
        {DistByPoints0, DistByPoints2, "point2", &CDistDesc::m_Point2Name, false},
        {DistByPlanes, DistByPlanes, "plane1", &CDistDesc::m_Plane1Name, false},
        {DistByPlanes, DistByPlanes, "plane2", &CDistDesc::m_Plane2Name, false},
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
