#pragma once
#include <KvNodeDefine/CBaseDesc.h>
#include <arx/AcArray.h>
#include <KvNodeDefine/SteelSystem.h>

class CBoltPlaneDesc;

// A bolt item of a node type with its washer plate ("DianBan"): material
// and property class, expressions for the bolt's diameter, length and number
// and for the washer plate's length, width and thickness, and the names of
// what it belongs to and of the point and plane that place it. Its bolt
// planes are children.
class KVNODE_API CBoltDesc : public CBaseDesc {
    KV_DECLARE_CLASS(CBoltDesc)
public:
    // An empty bolt: material Q215 (0), grade 3.6 (0), texts empty.
    CBoltDesc();
    // Releases the texts; the bolt planes go with the composite.
    ~CBoltDesc() override;

    // The bolt's steel grade ("material").
    SteelSystem::Material GetMaterial() const { return m_Material; }
    // Sets the steel grade.
    void SetMaterial(SteelSystem::Material material) { m_Material = material; }
    // The bolt's property class ("boltgrade").
    SteelSystem::BoltGrade GetBoltGrade() const { return m_BoltGrade; }
    // Sets the property class.
    void SetBoltGrade(SteelSystem::BoltGrade grade) { m_BoltGrade = grade; }
    // The expression of the bolt's diameter ("diam").
    CString GetDiamExp() const { return m_DiamExp; }
    // Sets the expression of the diameter.
    void SetDiamExp(CString exp) { m_DiamExp = exp; }
    // The expression of the bolt's length ("len").
    CString GetLenExp() const { return m_LenExp; }
    // Sets the expression of the length.
    void SetLenExp(CString exp) { m_LenExp = exp; }
    // The expression of the number of bolts ("num").
    CString GetNumExp() const { return m_NumExp; }
    // Sets the expression of the number.
    void SetNumExp(CString exp) { m_NumExp = exp; }
    // The expression of the washer plate's length ("dlen").
    CString GetDianBanLenExp() const { return m_DianBanLenExp; }
    // Sets the expression of the washer plate's length.
    void SetDianBanLenExp(CString exp) { m_DianBanLenExp = exp; }
    // The expression of the washer plate's width ("dwidth").
    CString GetDianBanWidthExp() const { return m_DianBanWidthExp; }
    // Sets the expression of the washer plate's width.
    void SetDianBanWidthExp(CString exp) { m_DianBanWidthExp = exp; }
    // The expression of the washer plate's thickness ("dthick").
    CString GetDianBanThickExp() const { return m_DianBanThickExp; }
    // Sets the expression of the washer plate's thickness.
    void SetDianBanThickExp(CString exp) { m_DianBanThickExp = exp; }
    // The name of the descriptor the bolt belongs to ("fathername").
    CString GetFatherName() const { return m_FatherName; }
    // Sets the name of the descriptor the bolt belongs to.
    void SetFatherName(CString name) { m_FatherName = name; }
    // The name of the point that places the bolt ("point").
    CString GetPointName() const { return m_PointName; }
    // Sets the name of the point that places the bolt.
    void SetPointName(CString name) { m_PointName = name; }
    // The name of the plane that places the bolt ("plane").
    CString GetPlaneName() const { return m_PlaneName; }
    // Sets the name of the plane that places the bolt.
    void SetPlaneName(CString name) { m_PlaneName = name; }

    // The variable item named in the expressions: the first of the length,
    // diameter and number expressions that holds its suffix ("_Len",
    // "_MaoDiam", "_Num"), without every occurrence of the suffix and without
    // its first byte; empty when none holds its suffix.
    CString GetVarItemName() const;
    // Appends the bolt planes (CBoltPlaneDesc children) after what planes
    // holds; true when the array then holds two or more.
    bool GetBoltPlaneDescArray(AcArray<CBoltPlaneDesc*>& planes) const;

    // Writes "material", "boltgrade", "diam", "len", "dlen", "dwidth",
    // "dthick", "fathername", "point", "plane" and last "num" after the base's
    // attributes; true.
    bool RefreshAttListWithMember() override;
    // Reads the same attributes back (the enumerations by the atoi rule); true.
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
