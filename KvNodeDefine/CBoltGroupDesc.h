#pragma once
#include <KvNodeDefine/CBaseDesc.h>
#include <KvNodeDefine/SteelSystem.h>

class CBoltPlaneDesc;

// A group of like bolts of a node type: the descriptor it belongs to and the
// side of it the group lies on, a priority flag for the host, the bolts'
// material, property class and type, and expressions for their diameter,
// length and number. Its bolt planes are children.
class KVNODE_API CBoltGroupDesc : public CBaseDesc {
    KV_DECLARE_CLASS(CBoltGroupDesc)
public:
    CBoltGroupDesc();
    // everything but the priority flag, which stays empty
    CBoltGroupDesc(CString name, CString showName, CString fatherName, CString fatherSideIndex,
                   SteelSystem::Material material, SteelSystem::BoltGrade boltGrade, SteelSystem::BoltType boltType,
                   CString diamExp, CString lenExp, CString numExp);
    ~CBoltGroupDesc() override;

    // the fields, as the element's attributes hold them
    CString GetFatherName() const { return m_FatherName; }
    void SetFatherName(CString name) { m_FatherName = name; }
    CString GetFatherSideIndex() const { return m_FatherSideIndex; }
    void SetFatherSideIndex(CString index) { m_FatherSideIndex = index; }
    CString GetPriorFlag() const { return m_PriorFlag; }
    void SetPriorFlag(CString flag) { m_PriorFlag = flag; }
    SteelSystem::Material GetMaterial() const { return m_Material; }
    void SetMaterial(SteelSystem::Material material) { m_Material = material; }
    SteelSystem::BoltGrade GetBoltGrade() const { return m_BoltGrade; }
    void SetBoltGrade(SteelSystem::BoltGrade grade) { m_BoltGrade = grade; }
    SteelSystem::BoltType GetBoltType() const { return m_BoltType; }
    void SetBoltType(SteelSystem::BoltType type) { m_BoltType = type; }
    CString GetDiamExp() const { return m_DiamExp; }
    void SetDiamExp(CString exp) { m_DiamExp = exp; }
    CString GetLenExp() const { return m_LenExp; }
    void SetLenExp(CString exp) { m_LenExp = exp; }
    CString GetNumExp() const { return m_NumExp; }
    void SetNumExp(CString exp) { m_NumExp = exp; }

    // the variable item named in the expressions ("_Len", then "_BoltDiam", then "_Num")
    CString GetVarItemName() const;
    // appends the bolt planes; true when the array then holds two or more
    bool GetBoltPlaneDescArray(AcArray<CBoltPlaneDesc*>& planes) const;

    // the enumerations first, the three descriptor texts last
    bool RefreshAttListWithMember() override;
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
