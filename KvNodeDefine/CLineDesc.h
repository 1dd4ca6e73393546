#pragma once
#include <KvNodeDefine/CBaseDesc.h>

#include <cstdint>

// A named line of a node type and how the host constructs it: along a
// member, where two planes meet, through a point along a vector, or
// through two points. A save writes "type" and then only the attributes of
// that type; a load reads every one. It has no setters: its fields change
// only through RefreshMemberWithAttList, that is by a load or
// kvnodedefine::BuildDesc.
class KVNODE_API CLineDesc : public CBaseDesc {
    KV_DECLARE_CLASS(CLineDesc)
public:
    // How the line is built ("type"), and the attributes each type writes.
    enum LineType : std::int32_t {
        LineByMember = 0,    // "memname"
        LineByTwoPlanes = 1, // "plane1", "plane2"
        LineByPointVec = 2,  // "point", "vec"
        LineByTwoPoints = 3, // "point1", "point2"
    };

    // An empty line of type LineByMember.
    CLineDesc();
    // Releases the texts.
    ~CLineDesc() override;

    // The construction type ("type").
    LineType GetLineType() const { return m_LineType; }
    // The member the line runs along ("memname").
    CString GetMemberName() const { return m_MemberName; }
    // The first of two planes that meet ("plane1").
    CString GetPlane1Name() const { return m_Plane1Name; }
    // The second of two planes that meet ("plane2").
    CString GetPlane2Name() const { return m_Plane2Name; }
    // The point the line passes through ("point").
    CString GetPointName() const { return m_PointName; }
    // The vector the line runs along ("vec").
    CString GetVecName() const { return m_VecName; }
    // The first of two points the line passes through ("point1").
    CString GetPoint1Name() const { return m_Point1Name; }
    // The second of two points the line passes through ("point2").
    CString GetPoint2Name() const { return m_Point2Name; }

    // Writes "type", then the attributes of the type, after the base's attributes; true.
    bool RefreshAttListWithMember() override;
    // Reads "type" by the atoi rule and every attribute, whatever the type; true.
    bool RefreshMemberWithAttList() override;

private:
    friend struct kvnodedefine::LayoutOf<CLineDesc>; // which fields each type writes

    LineType m_LineType;
    CString m_MemberName;
    CString m_Plane1Name;
    CString m_Plane2Name;
    CString m_PointName;
    CString m_VecName;
    CString m_Point1Name;
    CString m_Point2Name;
};
