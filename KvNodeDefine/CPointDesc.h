#pragma once
#include <KvNodeDefine/CBaseDesc.h>
#include <KvNodeDefine/ConstructionLayout.h>

// A named point of a node type and how the host constructs it: from a
// member, where a line meets a plane, where two lines meet, from a
// description, or from another point moved along a vector.
class KVNODE_API CPointDesc : public CBaseDesc {
    KV_DECLARE_CLASS(CPointDesc)
public:
    // how the point is built, and the attributes each type writes
    enum PointType : std::int32_t {
        PointByMember = 0,    // "memname"
        PointByLinePlane = 1, // "line", "plane"
        PointByTwoLines = 2,  // "line1", "line2"
        PointByDesc = 3,      // "pointdesc"
        PointByOldPoint = 4,  // "oldpoint", "vec", "rellen"
    };

    CPointDesc();
    ~CPointDesc() override;

    // the construction type and the names and texts it uses
    PointType GetPointType() const { return m_PointType; }
    CString GetMemberName() const { return m_MemberName; }
    CString GetLineName() const { return m_LineName; }
    CString GetPlaneName() const { return m_PlaneName; }
    CString GetLine1Name() const { return m_Line1Name; }
    CString GetLine2Name() const { return m_Line2Name; }
    CString GetStrPointDesc() const { return m_StrPointDesc; }
    CString GetOldPointName() const { return m_OldPointName; }
    CString GetVecName() const { return m_VecName; }
    CString GetStrRelLen() const { return m_StrRelLen; }

    // which attributes each type writes, in save order, and the fields behind them
    static TypedLayout<CPointDesc> Layout();
    // the types' names, as tools show them
    static const SteelSystem::EnumTable& Types() noexcept;
    friend const SteelSystem::EnumTable* EnumTableOf(PointType) { return &Types(); }

    // save "type", then the attributes of that type; load every attribute
    bool RefreshAttListWithMember() override;
    bool RefreshMemberWithAttList() override;

private:

    PointType m_PointType;
    CString m_MemberName;
    CString m_LineName;
    CString m_PlaneName;
    CString m_Line1Name;
    CString m_Line2Name;
    CString m_StrPointDesc;
    CString m_OldPointName;
    CString m_VecName;
    CString m_StrRelLen;
};
