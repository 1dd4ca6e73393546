#pragma once
#include <KvNodeDefine/CBaseDesc.h>
#include <KvNodeDefine/SteelSystem.h>

class CBoltPlaneDesc;

// A bolt item of a node type with its washer plate: material and property
// class, expressions for the bolt's diameter, length and number and for the
// washer plate's length, width and thickness, and the names of what it
// belongs to and of the point and plane that place it. Its bolt planes are
// children.
class KVNODE_API CBoltDesc : public CBaseDesc {
    KV_DECLARE_CLASS(CBoltDesc)
public:
    CBoltDesc();
    ~CBoltDesc() override;

    // the fields, as the element's attributes hold them; "DianBan" is the washer plate
    SteelSystem::Material GetMaterial() const { return m_Material; }
    void SetMaterial(SteelSystem::Material material) { m_Material = material; }
    SteelSystem::BoltGrade GetBoltGrade() const { return m_BoltGrade; }
    void SetBoltGrade(SteelSystem::BoltGrade grade) { m_BoltGrade = grade; }
    CString GetDiamExp() const { return m_DiamExp; }
    void SetDiamExp(CString exp) { m_DiamExp = exp; }
    CString GetLenExp() const { return m_LenExp; }
    void SetLenExp(CString exp) { m_LenExp = exp; }
    CString GetNumExp() const { return m_NumExp; }
    void SetNumExp(CString exp) { m_NumExp = exp; }
    CString GetDianBanLenExp() const { return m_DianBanLenExp; }
    void SetDianBanLenExp(CString exp) { m_DianBanLenExp = exp; }
    CString GetDianBanWidthExp() const { return m_DianBanWidthExp; }
    void SetDianBanWidthExp(CString exp) { m_DianBanWidthExp = exp; }
    CString GetDianBanThickExp() const { return m_DianBanThickExp; }
    void SetDianBanThickExp(CString exp) { m_DianBanThickExp = exp; }
    CString GetFatherName() const { return m_FatherName; }
    void SetFatherName(CString name) { m_FatherName = name; }
    CString GetPointName() const { return m_PointName; }
    void SetPointName(CString name) { m_PointName = name; }
    CString GetPlaneName() const { return m_PlaneName; }
    void SetPlaneName(CString name) { m_PlaneName = name; }

    // the variable item named in the expressions ("_Len", then "_MaoDiam", then "_Num")
    CString GetVarItemName() const;
    // appends the bolt planes; true when the array then holds two or more
    bool GetBoltPlaneDescArray(AcArray<CBoltPlaneDesc*>& planes) const;

    // "num" is saved last, after the washer plate
    bool RefreshAttListWithMember() override;
    bool RefreshMemberWithAttList() override;

private:
    SteelSystem::Material m_Material;
    SteelSystem::BoltGrade m_BoltGrade;
    CString m_DiamExp;
    CString m_LenExp;
    CString m_NumExp;
    CString m_DianBanLenExp;
    CString m_DianBanWidthExp;
    CString m_DianBanThickExp;
    CString m_FatherName;
    CString m_PointName;
    CString m_PlaneName;
};
