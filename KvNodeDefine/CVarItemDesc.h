#pragma once
#include <KvNodeDefine/CBaseDesc.h>

class CVarDesc;

// A group of variables of a node type, with a type text for the host,
// predefined by the system ("defineby" "sys") or defined by the user
// ("user"). Its variables are children.
class KVNODE_API CVarItemDesc : public CBaseDesc {
    KV_DECLARE_CLASS(CVarItemDesc)
public:
    CVarItemDesc();
    ~CVarItemDesc() override;

    // the item's type text, and whether the system defines it (else the user)
    CString GetStrType() const { return m_StrType; }
    void SetStrType(CString type) { m_StrType = type; }
    bool IsPredefined() const { return m_IsPredefined; }
    void SetIsPredefined(bool predefined) { m_IsPredefined = predefined; }

    // appends the variables (its children), in child order
    bool GetVarDescArray(AcArray<CVarDesc*>& vars) const;

    // a load takes anything but exactly "user" as predefined
    bool RefreshAttListWithMember() override;
    bool RefreshMemberWithAttList() override;

private:
    CString m_StrType;
    bool m_IsPredefined;
};
