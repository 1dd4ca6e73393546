#pragma once
#include <KvNodeDefine/CBaseDesc.h>
#include <arx/AcArray.h>

class CCutDesc;
class CPlaneDesc;

// A connecting bar of a node type: its section types and size, its length
// as an expression, the three planes it attaches to, and two indices for the
// host. It owns the planes that construct it (three are expected) and its
// cuts as children.
class KVNODE_API CLinkBarDesc : public CBaseDesc {
    KV_DECLARE_CLASS(CLinkBarDesc)
public:
    // An empty bar: indices 0, texts empty.
    CLinkBarDesc();
    // The name, show name, section size, length and the three attachment planes; indices 0.
    CLinkBarDesc(CString name, CString showName, CString secSize, CString lenExp, CString attachPlane1,
                 CString attachPlane2, CString attachPlane3);
    // Releases the fields; the planes and cuts go with the composite.
    ~CLinkBarDesc() override;

    // The section types ("sectype"); valid while the bar lives and until its next load.
    const AcArray<int>& GetSecTypeArray() const { return m_SecTypeArray; }
    // The section size ("sect").
    CString GetSecSize() const { return m_SecSize; }
    // Sets the section size.
    void SetSecSize(CString size) { m_SecSize = size; }
    // The expression of the bar's length ("len").
    CString GetLenExp() const { return m_LenExp; }
    // Sets the expression of the length.
    void SetLenExp(CString exp) { m_LenExp = exp; }
    // The name of the first plane the bar attaches to ("attach1").
    CString GetAttachPlane1() const { return m_AttachPlane1; }
    // Sets the name of the first attachment plane.
    void SetAttachPlane1(CString name) { m_AttachPlane1 = name; }
    // The name of the second plane the bar attaches to ("attach2").
    CString GetAttachPlane2() const { return m_AttachPlane2; }
    // Sets the name of the second attachment plane.
    void SetAttachPlane2(CString name) { m_AttachPlane2 = name; }
    // The name of the third plane the bar attaches to ("attach3").
    CString GetAttachPlane3() const { return m_AttachPlane3; }
    // Sets the name of the third attachment plane.
    void SetAttachPlane3(CString name) { m_AttachPlane3 = name; }
    // The first index for the host ("firstindex").
    int GetFirstIndex() const { return m_FirstIndex; }
    // Sets the first index.
    void SetFirstIndex(int index) { m_FirstIndex = index; }
    // The second index for the host ("secondindex").
    int GetSecondIndex() const { return m_SecondIndex; }
    // Sets the second index.
    void SetSecondIndex(int index) { m_SecondIndex = index; }

    // Appends the planes that construct the bar (CPlaneDesc children) after
    // what planes holds; true when the array then holds exactly three.
    bool GetPlaneDescArray(AcArray<CPlaneDesc*>& planes) const;
    // Appends the cuts (CCutDesc children) after what cuts holds, in child
    // order; false, cuts untouched, only when the composite gives no iterator.
    bool GetCutDescArray(AcArray<CCutDesc*>& cuts) const;

    // Writes "sectype", "sect", "len", "attach1", "attach2", "attach3",
    // "firstindex" and "secondindex" after the base's attributes; true.
    bool RefreshAttListWithMember() override;
    // Reads the same attributes back (numbers by the atoi rule); true.
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
