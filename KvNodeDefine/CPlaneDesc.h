#pragma once
#include <KvNodeDefine/CBaseDesc.h>

#include <cstdint>

// A named plane of a node type and how the host constructs it: from a
// member and a description (three kinds the host tells apart), through a
// point with a normal vector, or from another plane (with or without a
// relative length). Children of a node type or of a link bar. A save writes
// "type" and then only the attributes of that type; a load reads every one.
// It has no setters: its fields change only through
// RefreshMemberWithAttList, that is by a load or kvnodedefine::BuildDesc.
class KVNODE_API CPlaneDesc : public CBaseDesc {
    KV_DECLARE_CLASS(CPlaneDesc)
public:
    // How the plane is built ("type"), and the attributes each type writes.
    enum PlaneType : std::int32_t {
        PlaneByMember0 = 0,     // "memname", "strdesc", "refmem" when not empty
        PlaneByMember1 = 1,     // as type 0
        PlaneByMember2 = 2,     // as type 0
        PlaneByPointNorm = 3,   // "point", "norm"
        PlaneByRelPlaneLen = 4, // "rellen", "relplane"
        PlaneByRelPlane = 5,    // "relplane"
    };

    // An empty plane of type PlaneByMember0.
    CPlaneDesc();
    // Releases the texts.
    ~CPlaneDesc() override;

    // The construction type ("type").
    PlaneType GetPlaneType() const { return m_PlaneType; }
    // The member the plane is taken from ("memname").
    CString GetMemberName() const { return m_MemberName; }
    // The description of the plane on the member ("strdesc").
    CString GetStrPlaneDesc() const { return m_StrPlaneDesc; }
    // The point the plane passes through ("point").
    CString GetPointName() const { return m_PointName; }
    // The vector normal to the plane ("norm").
    CString GetNormalName() const { return m_NormalName; }
    // The plane it is made from ("relplane").
    CString GetRelPlaneName() const { return m_RelPlaneName; }
    // The expression of its distance from that plane ("rellen").
    CString GetStrRelativeLen() const { return m_StrRelativeLen; }
    // A member of reference, written only when not empty ("refmem").
    CString GetRefMemName() const { return m_RefMemName; }

    // Writes "type", then the attributes of the type, after the base's attributes; true.
    bool RefreshAttListWithMember() override;
    // Reads "type" by the atoi rule and every attribute, whatever the type; true.
    bool RefreshMemberWithAttList() override;

private:
    friend struct kvnodedefine::LayoutOf<CPlaneDesc>; // which fields each type writes

    PlaneType m_PlaneType;
    CString m_MemberName;
    CString m_StrPlaneDesc;
    CString m_PointName;
    CString m_NormalName;
    CString m_RelPlaneName;
    CString m_StrRelativeLen;
    CString m_RefMemName;
};
