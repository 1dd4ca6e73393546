#pragma once
#include <KvNodeDefine/CBaseDesc.h>
#include <arx/AcArray.h>
#include <KvNodeDefine/SteelSystem.h>

class CCutDesc;

// A plate of a node type: its steel grade, its length, width and thickness
// as expressions, the three planes that place it, the variable item that
// holds its parameters, and its cuts (children). It has no setters: its
// fields change only through RefreshMemberWithAttList, that is by a load or
// kvnodedefine::BuildDesc.
class KVNODE_API CPlateDesc : public CBaseDesc {
    KV_DECLARE_CLASS(CPlateDesc)
public:
    // An empty plate: material Q215 (0), texts empty.
    CPlateDesc();
    // Releases the texts; the cuts go with the composite.
    ~CPlateDesc() override;

    // The steel grade ("material").
    SteelSystem::Material GetMaterial() const { return m_Material; }
    // The expression of the plate's length ("lenexp").
    CString GetLenExp() const { return m_LenExp; }
    // The expression of the plate's width ("widthexp").
    CString GetWidthExp() const { return m_WidthExp; }
    // The expression of the plate's thickness ("thickexp").
    CString GetThickExp() const { return m_ThickExp; }
    // The names of the planes that place the plate, as written: separated by commas ("planes").
    CString GetPlaneNames() const { return m_PlaneNames; }
    // The name of the variable item that holds the plate's parameters ("varitem").
    CString GetVarItemName() const { return m_VarItemName; }
    // A number no operation sets, loads or saves: 0.
    int GetNum() const { return m_Num; }

    // Empties names and fills it with the plane names, split at commas; true
    // when there are exactly three.
    bool GetPlaneNames(CStringArray& names) const;
    // Appends the cuts (CCutDesc children) after what cuts holds, in child
    // order; false, cuts untouched, only when the composite gives no iterator.
    bool GetCutDescArray(AcArray<CCutDesc*>& cuts) const;

    // Writes "material", "lenexp", "widthexp", "thickexp", "planes" and
    // "varitem" after the base's attributes, empty texts included; true.
    bool RefreshAttListWithMember() override;
    // Reads the same attributes back (material by the atoi rule); true.
    bool RefreshMemberWithAttList() override;

private:
    SteelSystem::Material m_Material;
    CString m_LenExp;
    CString m_WidthExp;
    CString m_ThickExp;
    CString m_PlaneNames;
    CString m_VarItemName;
    int m_Num;
};
