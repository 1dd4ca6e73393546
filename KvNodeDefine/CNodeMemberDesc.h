#pragma once
#include <KvNodeDefine/CBaseDesc.h>
#include <arx/AcArray.h>
#include <appframe/HostEnums.h>

class CCutDesc;

// A member (bar) that meets in a node type: the kinds of structural object
// and the section types listed for it, how it connects (at its end, "0",
// with allowed rotation angles; or at the listed sides of its section), what
// it links to, whether it is used directly, and a section description. Its
// cuts are children. Apart from the constructors and assignment, its fields
// change only through RefreshMemberWithAttList.
class KVNODE_API CNodeMemberDesc : public CBaseDesc {
    KV_DECLARE_CLASS(CNodeMemberDesc)
public:
    // An empty member, used directly.
    CNodeMemberDesc();
    // A member with the name, show name, link planes and rotation angles given, used directly.
    CNodeMemberDesc(CString name, CString showName, CString linkPlanes, CString rotateAngles);
    // A member with other's link planes and rotation angles only: empty names, no children.
    CNodeMemberDesc(const CNodeMemberDesc& other);
    // Takes other's link planes and rotation angles only; everything else stays.
    void operator=(const CNodeMemberDesc& other);
    // Releases the fields; the cuts go with the composite.
    ~CNodeMemberDesc() override;

    // The kinds of structural object listed for the member ("kind"); valid
    // while the member lives and until its next load.
    const AcArray<Object::Kind>& GetKindArray() const { return m_KindArray; }
    // The section types listed for the member ("sectype"); valid while the
    // member lives and until its next load.
    const AcArray<int>& GetSecTypeArray() const { return m_SecTypeArray; }
    // The link planes as written ("linkplanes"): "0" for an end connection,
    // else the allowed sides separated by commas.
    CString GetStrLinkPlanes() const { return m_StrLinkPlanes; }
    // The allowed rotation angles as written, separated by commas ("rotangles").
    CString GetRotateAngles() const { return m_RotateAngles; }
    // The name of what the member links to ("linkto").
    CString GetLinkTo() const { return m_LinkTo; }
    // Whether the member is used directly ("directused": anything but "0").
    bool IsDirectUsed() const { return m_DirectUsed; }
    // The section description ("sectdesc").
    CString GetSectDesc() const { return m_SectDesc; }

    // True when the link planes text is exactly "0": the member connects at its end.
    bool IsEndConnect() const;
    // True when the member connects at sides of its section: !IsEndConnect().
    bool IsSectSideConnect() const { return !IsEndConnect(); }
    // Appends the allowed sides (the link planes by the atoi rule) after what
    // sides holds; false, sides untouched, for an end connection.
    bool GetAllowConnectSides(AcArray<int>& sides) const;
    // Appends the allowed rotation angles (by the atof rule) after what
    // angles holds; false, angles untouched, for a side connection.
    bool GetAllowRotateAngles(AcArray<double>& angles) const;
    // Appends the cuts (CCutDesc children) after what cuts holds, in child
    // order; false, cuts untouched, only when the composite gives no iterator.
    bool GetCutDescArray(AcArray<CCutDesc*>& cuts) const;

    // Writes "kind", "sectype", "linkplanes", "rotangles" and "linkto" after
    // the base's attributes, then "directused" only when false and
    // "sectdesc" only when not empty; true.
    bool RefreshAttListWithMember() override;
    // Reads the same attributes back (the lists by the atoi rule, replacing
    // what the arrays held); true.
    bool RefreshMemberWithAttList() override;

protected:
    // Copies the link planes and rotation angles from other, nothing else.
    void Set(const CNodeMemberDesc& other);
    // Does nothing.
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
