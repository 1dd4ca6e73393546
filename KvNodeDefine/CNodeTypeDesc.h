#pragma once
#include <KvNodeDefine/CBaseDesc.h>
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
class KVNODE_API CNodeTypeDesc : public CBaseDesc {
    KV_DECLARE_CLASS(CNodeTypeDesc)
public:
    // construction; copying and assignment take the node type code only
    CNodeTypeDesc();
    CNodeTypeDesc(CString name, CString showName, LinkSmallType nodeType);
    CNodeTypeDesc(const CNodeTypeDesc& other);
    void operator=(const CNodeTypeDesc& other);
    ~CNodeTypeDesc() override;

    // classification
    LinkSmallType GetNodeType() const { return m_NodeType; }
    LinkBigType GetLinkBigType() const;
    // 2, 3 or 4 for codes 20000..49999 by their ten-thousands digit; 1 otherwise
    LinkWholeType GetLinkWholeType() const;

    // children by class, appended in child order after what the array holds
    bool GetMemberDescArray(AcArray<CNodeMemberDesc*>& items) const;
    bool GetPlateDescArray(AcArray<CPlateDesc*>& items) const;
    bool GetBoltGroupDescArray(AcArray<CBoltGroupDesc*>& items) const;
    bool GetBoltDescArray(AcArray<CBoltDesc*>& items) const;
    bool GetLinkBarDescArray(AcArray<CLinkBarDesc*>& items) const;
    bool GetVarItemDescArray(AcArray<CVarItemDesc*>& items) const;
    bool GetPointDescArray(AcArray<CPointDesc*>& items) const;
    bool GetLineDescArray(AcArray<CLineDesc*>& items) const;
    bool GetPlaneDescArray(AcArray<CPlaneDesc*>& items) const;
    bool GetVecDescArray(AcArray<CVecDesc*>& items) const;
    bool GetDistDescArray(AcArray<CDistDesc*>& items) const;

    // the first child of the class with exactly this name, or null
    CNodeMemberDesc* FindMemberByName(CString name) const;
    CPlateDesc* FindPlateByName(CString name) const;
    CLinkBarDesc* FindLinkBarByName(CString name) const;

    bool RefreshAttListWithMember() override;
    bool RefreshMemberWithAttList() override;

protected:
    // copies the fields this class adds (not the names, nor the children); Destroy frees nothing
    void Set(const CNodeTypeDesc& other);
    void Destroy() {}

private:
    LinkSmallType m_NodeType;
};
