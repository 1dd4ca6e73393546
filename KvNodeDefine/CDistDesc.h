#pragma once
#include <KvNodeDefine/CBaseDesc.h>
#include <KvNodeDefine/ConstructionLayout.h>

// A named distance of a node type: between two points (three kinds the host
// tells apart) or between two planes.
class KVNODE_API CDistDesc : public CBaseDesc {
    KV_DECLARE_CLASS(CDistDesc)
public:
    // how the distance is measured, and the attributes each type writes
    enum DistType : std::int32_t {
        DistByPoints0 = 0, // "point1", "point2"
        DistByPoints1 = 1, // as type 0
        DistByPoints2 = 2, // as type 0
        DistByPlanes = 3,  // "plane1", "plane2"
    };

    CDistDesc();
    ~CDistDesc() override;

    // the construction type and the names it uses
    DistType GetDistType() const { return m_DistType; }
    CString GetPoint1Name() const { return m_Point1Name; }
    CString GetPoint2Name() const { return m_Point2Name; }
    CString GetPlane1Name() const { return m_Plane1Name; }
    CString GetPlane2Name() const { return m_Plane2Name; }

    // which attributes each type writes, in save order, and the fields behind them
    static TypedLayout<CDistDesc> Layout();
    // the types' names, as tools show them
    static const SteelSystem::EnumTable& Types() noexcept;
    friend const SteelSystem::EnumTable* EnumTableOf(DistType) { return &Types(); }

    // save "type", then the attributes of that type; load every attribute
    bool RefreshAttListWithMember() override;
    bool RefreshMemberWithAttList() override;

private:

    DistType m_DistType;
    CString m_Point1Name;
    CString m_Point2Name;
    CString m_Plane1Name;
    CString m_Plane2Name;
};
