#pragma once
#include <KvNodeDefine/CBaseDesc.h>
#include <arx/AcArray.h>
#include <appframe/HostEnums.h>

class CBoltDesc;
class CBoltGroupDesc;
class CDistDesc;
class CLineDesc;
class CLinkBarDesc;
class CNodeMemberDesc;
class CPlaneDesc;
class CPlateDesc;
class CPointDesc;
class CVarItemDesc;
class CVecDesc;

// One connection node type: its classification code ("nodetype"; the
// ten-thousands digit is its whole type) and, as children, the members that
// meet in it, the plates, bolt groups, bolts and link bars that connect them,
// the variable items that size them, and the points, lines, planes, vectors
// and distances that place them.
//
// Each child list appends the children of its class (or a class derived
// from it) after what the caller's array holds, in child order, and returns
// false, leaving the array untouched, only when the composite gives no
// iterator. Each lookup gives the first child of its class whose name is
// exactly the one asked for (bytes compared), or null.
class KVNODE_API CNodeTypeDesc : public CBaseDesc {
    KV_DECLARE_CLASS(CNodeTypeDesc)
public:
    // An empty node type: code 0.
    CNodeTypeDesc();
    // A node type with the name, show name and classification code given.
    CNodeTypeDesc(CString name, CString showName, LinkSmallType nodeType);
    // A node type with other's code only: empty names, no children.
    CNodeTypeDesc(const CNodeTypeDesc& other);
    // Takes other's code only; the names and children stay.
    void operator=(const CNodeTypeDesc& other);
    // Releases the fields; the children go with the composite.
    ~CNodeTypeDesc() override;

    // The classification code ("nodetype").
    LinkSmallType GetNodeType() const { return m_NodeType; }
    // The big type of every node type: 101.
    LinkBigType GetLinkBigType() const;
    // 2, 3 or 4 for codes 20000..49999 by their ten-thousands digit; 1 otherwise.
    LinkWholeType GetLinkWholeType() const;

    // Appends the members (CNodeMemberDesc children).
    bool GetMemberDescArray(AcArray<CNodeMemberDesc*>& items) const;
    // Appends the plates (CPlateDesc children).
    bool GetPlateDescArray(AcArray<CPlateDesc*>& items) const;
    // Appends the bolt groups (CBoltGroupDesc children).
    bool GetBoltGroupDescArray(AcArray<CBoltGroupDesc*>& items) const;
    // Appends the single bolts (CBoltDesc children).
    bool GetBoltDescArray(AcArray<CBoltDesc*>& items) const;
    // Appends the link bars (CLinkBarDesc children).
    bool GetLinkBarDescArray(AcArray<CLinkBarDesc*>& items) const;
    // Appends the variable items (CVarItemDesc children).
    bool GetVarItemDescArray(AcArray<CVarItemDesc*>& items) const;
    // Appends the points (CPointDesc children).
    bool GetPointDescArray(AcArray<CPointDesc*>& items) const;
    // Appends the lines (CLineDesc children).
    bool GetLineDescArray(AcArray<CLineDesc*>& items) const;
    // Appends the planes (CPlaneDesc children).
    bool GetPlaneDescArray(AcArray<CPlaneDesc*>& items) const;
    // Appends the vectors (CVecDesc children).
    bool GetVecDescArray(AcArray<CVecDesc*>& items) const;
    // Appends the distances (CDistDesc children).
    bool GetDistDescArray(AcArray<CDistDesc*>& items) const;

    // The first member named name, or null.
    CNodeMemberDesc* FindMemberByName(CString name) const;
    // The first plate named name, or null.
    CPlateDesc* FindPlateByName(CString name) const;
    // The first link bar named name, or null.
    CLinkBarDesc* FindLinkBarByName(CString name) const;

    // Writes "nodetype" after the base's attributes; true.
    bool RefreshAttListWithMember() override;
    // Reads "nodetype" back by the atoi rule; true.
    bool RefreshMemberWithAttList() override;

protected:
    // Copies the code from other: not the names, nor the children.
    void Set(const CNodeTypeDesc& other);
    // Does nothing.
    void Destroy() {}

private:
    LinkSmallType m_NodeType;
};
