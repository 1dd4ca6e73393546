#pragma once
#include <KvNodeDefine/CBaseDesc.h>
#include <KvNodeDefine/ConstructionLayout.h>

// A named plane of a node type and how the host constructs it: from a
// member and a description (three kinds the host tells apart), through a
// point with a normal vector, or from another plane (with or without a
// relative length). Children of a node type or of a link bar.
class KVNODE_API CPlaneDesc : public CBaseDesc {
    KV_DECLARE_CLASS(CPlaneDesc)
public:
    // how the plane is built, and the attributes each type writes
    enum PlaneType : std::int32_t {
        PlaneByMember0 = 0,     // "memname", "strdesc", "refmem" when not empty
        PlaneByMember1 = 1,     // as type 0
        PlaneByMember2 = 2,     // as type 0
        PlaneByPointNorm = 3,   // "point", "norm"
        PlaneByRelPlaneLen = 4, // "rellen", "relplane"
        PlaneByRelPlane = 5,    // "relplane"
    };

    CPlaneDesc();
    ~CPlaneDesc() override;

    // the construction type and the names and texts it uses
    PlaneType GetPlaneType() const { return m_PlaneType; }
    CString GetMemberName() const { return m_MemberName; }
    CString GetStrPlaneDesc() const { return m_StrPlaneDesc; }
    CString GetPointName() const { return m_PointName; }
    CString GetNormalName() const { return m_NormalName; }
    CString GetRelPlaneName() const { return m_RelPlaneName; }
    CString GetStrRelativeLen() const { return m_StrRelativeLen; }
    CString GetRefMemName() const { return m_RefMemName; }

    // which attributes each type writes, in save order, and the fields behind them
    static TypedLayout<CPlaneDesc> Layout();
    // the types' names, as tools show them
    static const SteelSystem::EnumTable& Types() noexcept;
    friend const SteelSystem::EnumTable* EnumTableOf(PlaneType) { return &Types(); }

    // save "type", then the attributes of that type; load every attribute
    bool RefreshAttListWithMember() override;
    bool RefreshMemberWithAttList() override;

private:

    PlaneType m_PlaneType;
    CString m_MemberName;
    CString m_StrPlaneDesc;
    CString m_PointName;
    CString m_NormalName;
    CString m_RelPlaneName;
    CString m_StrRelativeLen;
    CString m_RefMemName;
};
