#pragma once
#include <KvNodeDefine/CBaseDesc.h>

#include <cstdint>

// A named distance of a node type: between two points (three kinds the host
// tells apart) or between two planes. A save writes "type" and then only the
// attributes of that type; a load reads every one. It has no setters: its
// fields change only through RefreshMemberWithAttList, that is by a load or
// kvnodedefine::BuildDesc.
class KVNODE_API CDistDesc : public CBaseDesc {
    KV_DECLARE_CLASS(CDistDesc)
public:
    // How the distance is measured ("type"), and the attributes each type writes.
    enum DistType : std::int32_t {
        DistByPoints0 = 0, // "point1", "point2"
        DistByPoints1 = 1, // as type 0
        DistByPoints2 = 2, // as type 0
        DistByPlanes = 3,  // "plane1", "plane2"
    };

    // An empty distance of type DistByPoints0.
    CDistDesc();
    // Releases the texts.
    ~CDistDesc() override;

    // The construction type ("type").
    DistType GetDistType() const { return m_DistType; }
    // The first point ("point1").
    CString GetPoint1Name() const { return m_Point1Name; }
    // The second point ("point2").
    CString GetPoint2Name() const { return m_Point2Name; }
    // The first plane ("plane1").
    CString GetPlane1Name() const { return m_Plane1Name; }
    // The second plane ("plane2").
    CString GetPlane2Name() const { return m_Plane2Name; }

    // Writes "type", then the attributes of the type, after the base's attributes; true.
    bool RefreshAttListWithMember() override;
    // Reads "type" by the atoi rule and every attribute, whatever the type; true.
    bool RefreshMemberWithAttList() override;

private:
    friend struct kvnodedefine::LayoutOf<CDistDesc>; // which fields each type writes

    DistType m_DistType;
    CString m_Point1Name;
    CString m_Point2Name;
    CString m_Plane1Name;
    CString m_Plane2Name;
};
