#pragma once
#include <KvNodeDefine/CBaseDesc.h>
#include <KvNodeDefine/ConstructionLayout.h>

// A named line of a node type and how the host constructs it: along a
// member, where two planes meet, through a point along a vector, or
// through two points.
class KVNODE_API CLineDesc : public CBaseDesc {
    KV_DECLARE_CLASS(CLineDesc)
public:
    // how the line is built, and the attributes each type writes
    enum LineType : std::int32_t {
        LineByMember = 0,    // "memname"
        LineByTwoPlanes = 1, // "plane1", "plane2"
        LineByPointVec = 2,  // "point", "vec"
        LineByTwoPoints = 3, // "point1", "point2"
    };

    CLineDesc();
    ~CLineDesc() override;

    // the construction type and the names it uses
    LineType GetLineType() const { return m_LineType; }
    CString GetMemberName() const { return m_MemberName; }
    CString GetPlane1Name() const { return m_Plane1Name; }
    CString GetPlane2Name() const { return m_Plane2Name; }
    CString GetPointName() const { return m_PointName; }
    CString GetVecName() const { return m_VecName; }
    CString GetPoint1Name() const { return m_Point1Name; }
    CString GetPoint2Name() const { return m_Point2Name; }

    // which attributes each type writes, in save order, and the fields behind them
    static TypedLayout<CLineDesc> Layout();
    // the types' names, as tools show them
    static const SteelSystem::EnumTable& Types() noexcept;
    friend const SteelSystem::EnumTable* EnumTableOf(LineType) { return &Types(); }

    // save "type", then the attributes of that type; load every attribute
    bool RefreshAttListWithMember() override;
    bool RefreshMemberWithAttList() override;

private:

    LineType m_LineType;
    CString m_MemberName;
    CString m_Plane1Name;
    CString m_Plane2Name;
    CString m_PointName;
    CString m_VecName;
    CString m_Point1Name;
    CString m_Point2Name;
};
