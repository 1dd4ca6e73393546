#pragma once
#include <KvNodeDefine/CBaseDesc.h>

class CCutDesc;
class CPlaneDesc;

// A connecting bar of a node type: its section types and size, its length
// as an expression, the three planes it attaches to, and two indices for the
// host. It owns the planes that construct it (three are expected) and its
// cuts as children.
class KVNODE_API CLinkBarDesc : public CBaseDesc {
    KV_DECLARE_CLASS(CLinkBarDesc)
public:
    CLinkBarDesc();
    // name, show name, section size, length, and the three attachment planes
    CLinkBarDesc(CString name, CString showName, CString secSize, CString lenExp, CString attachPlane1,
                 CString attachPlane2, CString attachPlane3);
    ~CLinkBarDesc() override;

    // valid while the bar lives and until its next load
    const AcArray<int>& GetSecTypeArray() const { return m_SecTypeArray; }
    CString GetSecSize() const { return m_SecSize; }
    void SetSecSize(CString size) { m_SecSize = size; }
    CString GetLenExp() const { return m_LenExp; }
    void SetLenExp(CString exp) { m_LenExp = exp; }
    CString GetAttachPlane1() const { return m_AttachPlane1; }
    void SetAttachPlane1(CString name) { m_AttachPlane1 = name; }
    CString GetAttachPlane2() const { return m_AttachPlane2; }
    void SetAttachPlane2(CString name) { m_AttachPlane2 = name; }
    CString GetAttachPlane3() const { return m_AttachPlane3; }
    void SetAttachPlane3(CString name) { m_AttachPlane3 = name; }
    int GetFirstIndex() const { return m_FirstIndex; }
    void SetFirstIndex(int index) { m_FirstIndex = index; }
    int GetSecondIndex() const { return m_SecondIndex; }
    void SetSecondIndex(int index) { m_SecondIndex = index; }

    // appends the plane children; true when the array then holds exactly three
    bool GetPlaneDescArray(AcArray<CPlaneDesc*>& planes) const;
    bool GetCutDescArray(AcArray<CCutDesc*>& cuts) const;

    bool RefreshAttListWithMember() override;
    bool RefreshMemberWithAttList() override;

private:
    KVNODE_SDK_MEMBERS_BEGIN
    AcArray<int> m_SecTypeArray;
    KVNODE_SDK_MEMBERS_END
    CString m_SecSize;
    CString m_LenExp;
    CString m_AttachPlane1;
    CString m_AttachPlane2;
    CString m_AttachPlane3;
    int m_FirstIndex;
    int m_SecondIndex;
};
