#pragma once
#include <KvNodeDefine/CBaseDesc.h>

#include <cstdint>

// A named point of a node type and how the host constructs it: from a
// member, where a line meets a plane, where two lines meet, from a
// description, or from another point moved along a vector. A save writes
// "type" and then only the attributes of that type; a load reads every one.
// It has no setters: its fields change only through
// RefreshMemberWithAttList, that is by a load or kvnodedefine::BuildDesc.
class KVNODE_API CPointDesc : public CBaseDesc {
    KV_DECLARE_CLASS(CPointDesc)
public:
    // How the point is built ("type"), and the attributes each type writes.
    enum PointType : std::int32_t {
        PointByMember = 0,    // "memname"
        PointByLinePlane = 1, // "line", "plane"
        PointByTwoLines = 2,  // "line1", "line2"
        PointByDesc = 3,      // "pointdesc"
        PointByOldPoint = 4,  // "oldpoint", "vec", "rellen"
    };

    // An empty point of type PointByMember.
    CPointDesc();
    // Releases the texts.
    ~CPointDesc() override;

    // The construction type ("type").
    PointType GetPointType() const { return m_PointType; }
    // The member the point is taken from ("memname").
    CString GetMemberName() const { return m_MemberName; }
    // The line that meets the plane ("line").
    CString GetLineName() const { return m_LineName; }
    // The plane that the line meets ("plane").
    CString GetPlaneName() const { return m_PlaneName; }
    // The first of two lines that meet ("line1").
    CString GetLine1Name() const { return m_Line1Name; }
    // The second of two lines that meet ("line2").
    CString GetLine2Name() const { return m_Line2Name; }
    // The description the host builds the point from ("pointdesc").
    CString GetStrPointDesc() const { return m_StrPointDesc; }
    // The point that is moved ("oldpoint").
    CString GetOldPointName() const { return m_OldPointName; }
    // The vector it is moved along ("vec").
    CString GetVecName() const { return m_VecName; }
    // The expression of how far it is moved ("rellen").
    CString GetStrRelLen() const { return m_StrRelLen; }

    // Writes "type", then the attributes of the type, after the base's attributes; true.
    bool RefreshAttListWithMember() override;
    // Reads "type" by the atoi rule and every attribute, whatever the type; true.
    bool RefreshMemberWithAttList() override;

private:
    friend struct kvnodedefine::LayoutOf<CPointDesc>; // which fields each type writes

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
