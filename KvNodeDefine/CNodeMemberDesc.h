#pragma once
#include <KvNodeDefine/CBaseDesc.h>
#include <appframe/HostEnums.h>

class CCutDesc;

// A member (bar) that meets in a node type: the kinds of structural object
// and the section types listed for it, how it connects (at its end, "0",
// with allowed rotation angles; or at the listed sides of its section), what
// it links to, whether it is used directly, and a section description. Its
// cuts are children.
class KVNODE_API CNodeMemberDesc : public CBaseDesc {
    KV_DECLARE_CLASS(CNodeMemberDesc)
public:
    // construction; copying and assignment take the link planes and rotation angles only
    CNodeMemberDesc();
    CNodeMemberDesc(CString name, CString showName, CString linkPlanes, CString rotateAngles);
    CNodeMemberDesc(const CNodeMemberDesc& other);
    void operator=(const CNodeMemberDesc& other);
    ~CNodeMemberDesc() override;

    // fields; the arrays are valid while the member lives and until its next load
    const AcArray<Object::Kind>& GetKindArray() const { return m_KindArray; }
    const AcArray<int>& GetSecTypeArray() const { return m_SecTypeArray; }
    CString GetStrLinkPlanes() const { return m_StrLinkPlanes; }
    CString GetRotateAngles() const { return m_RotateAngles; }
    CString GetLinkTo() const { return m_LinkTo; }
    bool IsDirectUsed() const { return m_DirectUsed; }
    CString GetSectDesc() const { return m_SectDesc; }

    // connection: an end connection when the link planes text is exactly "0"
    bool IsEndConnect() const;
    bool IsSectSideConnect() const { return !IsEndConnect(); }
    // appends the allowed sides; false (array untouched) for an end connection
    bool GetAllowConnectSides(AcArray<int>& sides) const;
    // appends the allowed angles; false (array untouched) for a side connection
    bool GetAllowRotateAngles(AcArray<double>& angles) const;
    bool GetCutDescArray(AcArray<CCutDesc*>& cuts) const;

    // "directused" is written only when false, "sectdesc" only when not empty
    bool RefreshAttListWithMember() override;
    bool RefreshMemberWithAttList() override;

protected:
    // copies the fields this class adds (not the names, nor the children); Destroy frees nothing
    void Set(const CNodeMemberDesc& other);
    void Destroy() {}

private:
    KVNODE_SDK_MEMBERS_BEGIN
    AcArray<Object::Kind> m_KindArray;
    AcArray<int> m_SecTypeArray;
    KVNODE_SDK_MEMBERS_END
    CString m_StrLinkPlanes;
    CString m_RotateAngles;
    CString m_LinkTo;
    bool m_DirectUsed;
    CString m_SectDesc;
};
