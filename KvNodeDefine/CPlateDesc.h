#pragma once
#include <KvNodeDefine/CBaseDesc.h>
#include <KvNodeDefine/SteelSystem.h>

class CCutDesc;

// A plate of a node type: its steel grade, its length, width and thickness
// as expressions, the three planes that place it, the variable item that
// holds its parameters, and its cuts (children).
class KVNODE_API CPlateDesc : public CBaseDesc {
    KV_DECLARE_CLASS(CPlateDesc)
public:
    CPlateDesc();
    ~CPlateDesc() override;

    // the fields, as the element's attributes hold them
    SteelSystem::Material GetMaterial() const { return m_Material; }
    CString GetLenExp() const { return m_LenExp; }
    CString GetWidthExp() const { return m_WidthExp; }
    CString GetThickExp() const { return m_ThickExp; }
    CString GetPlaneNames() const { return m_PlaneNames; }
    CString GetVarItemName() const { return m_VarItemName; }
    int GetNum() const { return m_Num; } // not persisted; 0

    // the plane names, split; true when there are exactly three
    bool GetPlaneNames(CStringArray& names) const;
    bool GetCutDescArray(AcArray<CCutDesc*>& cuts) const;

    bool RefreshAttListWithMember() override;
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
