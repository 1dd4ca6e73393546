#pragma once
#include <KvNodeDefine/CBaseDesc.h>
#include <arx/AcArray.h>
#include <KvNodeDefine/SteelSystem.h>

class CBoltPlaneDesc;

// A group of like bolts of a node type: the descriptor it belongs to and the
// side of it the group lies on, a priority flag for the host, the bolts'
// material, property class and type, and expressions for their diameter,
// length and number. Its bolt planes are children.
class KVNODE_API CBoltGroupDesc : public CBaseDesc {
    KV_DECLARE_CLASS(CBoltGroupDesc)
public:
    // An empty group: material Q215, grade 3.6, type ordinary hexagon A (all 0), texts empty.
    CBoltGroupDesc();
    // Every field from the arguments but the priority flag, which stays empty.
    CBoltGroupDesc(CString name, CString showName, CString fatherName, CString fatherSideIndex,
                   SteelSystem::Material material, SteelSystem::BoltGrade boltGrade, SteelSystem::BoltType boltType,
                   CString diamExp, CString lenExp, CString numExp);
    // Releases the texts; the bolt planes go with the composite.
    ~CBoltGroupDesc() override;

    // The name of the descriptor the group belongs to ("fathername").
    CString GetFatherName() const { return m_FatherName; }
    // Sets the name of the descriptor the group belongs to.
    void SetFatherName(CString name) { m_FatherName = name; }
    // The side of that descriptor the group lies on, as a text ("fatherindex").
    CString GetFatherSideIndex() const { return m_FatherSideIndex; }
    // Sets the side the group lies on.
    void SetFatherSideIndex(CString index) { m_FatherSideIndex = index; }
    // A priority flag for the host, as a text ("priorflag").
    CString GetPriorFlag() const { return m_PriorFlag; }
    // Sets the priority flag.
    void SetPriorFlag(CString flag) { m_PriorFlag = flag; }
    // The bolts' steel grade ("material").
    SteelSystem::Material GetMaterial() const { return m_Material; }
    // Sets the steel grade.
    void SetMaterial(SteelSystem::Material material) { m_Material = material; }
    // The bolts' property class ("boltgrade").
    SteelSystem::BoltGrade GetBoltGrade() const { return m_BoltGrade; }
    // Sets the property class.
    void SetBoltGrade(SteelSystem::BoltGrade grade) { m_BoltGrade = grade; }
    // The kind of bolt ("bolttype").
    SteelSystem::BoltType GetBoltType() const { return m_BoltType; }
    // Sets the kind of bolt.
    void SetBoltType(SteelSystem::BoltType type) { m_BoltType = type; }
    // The expression of the bolts' diameter ("diam").
    CString GetDiamExp() const { return m_DiamExp; }
    // Sets the expression of the diameter.
    void SetDiamExp(CString exp) { m_DiamExp = exp; }
    // The expression of the bolts' length ("len").
    CString GetLenExp() const { return m_LenExp; }
    // Sets the expression of the length.
    void SetLenExp(CString exp) { m_LenExp = exp; }
    // The expression of the number of bolts ("num").
    CString GetNumExp() const { return m_NumExp; }
    // Sets the expression of the number.
    void SetNumExp(CString exp) { m_NumExp = exp; }

    // The variable item named in the expressions: the first of the length,
    // diameter and number expressions that holds its suffix ("_Len",
    // "_BoltDiam", "_Num"), without every occurrence of the suffix and
    // without its first byte; empty when none holds its suffix.
    CString GetVarItemName() const;
    // Appends the bolt planes (CBoltPlaneDesc children) after what planes
    // holds; true when the array then holds two or more.
    bool GetBoltPlaneDescArray(AcArray<CBoltPlaneDesc*>& planes) const;

    // Writes "material", "boltgrade", "bolttype", "diam", "len", "num",
    // "fathername", "fatherindex" and "priorflag" after the base's attributes; true.
    bool RefreshAttListWithMember() override;
    // Reads the same attributes back (the enumerations by the atoi rule); true.
    bool RefreshMemberWithAttList() override;

private:
    CString m_FatherName;
    CString m_FatherSideIndex;
    CString m_PriorFlag;
    SteelSystem::Material m_Material;
    SteelSystem::BoltGrade m_BoltGrade;
    SteelSystem::BoltType m_BoltType;
    CString m_DiamExp;
    CString m_LenExp;
    CString m_NumExp;
};
