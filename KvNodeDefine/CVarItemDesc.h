#pragma once
#include <KvNodeDefine/CBaseDesc.h>
#include <arx/AcArray.h>

class CVarDesc;

// A group of variables of a node type, with a type text for the host,
// predefined by the system ("defineby" "sys") or defined by the user
// ("user"). Its variables are children.
class KVNODE_API CVarItemDesc : public CBaseDesc {
    KV_DECLARE_CLASS(CVarItemDesc)
public:
    // An empty, predefined variable item.
    CVarItemDesc();
    // Releases the texts; the variables go with the composite.
    ~CVarItemDesc() override;

    // The item's type text for the host ("type").
    CString GetStrType() const { return m_StrType; }
    // Sets the type text.
    void SetStrType(CString type) { m_StrType = type; }
    // Whether the system defines the item ("defineby" anything but "user").
    bool IsPredefined() const { return m_IsPredefined; }
    // Sets whether the system defines the item.
    void SetIsPredefined(bool predefined) { m_IsPredefined = predefined; }

    // Appends the variables (CVarDesc children) after what vars holds, in
    // child order; false, vars untouched, only when the composite gives no iterator.
    bool GetVarDescArray(AcArray<CVarDesc*>& vars) const;

    // Writes "type" and "defineby" ("sys" or "user") after the base's attributes; true.
    bool RefreshAttListWithMember() override;
    // Reads them back: anything but exactly "user" is predefined; true.
    bool RefreshMemberWithAttList() override;

private:
    CString m_StrType;
    bool m_IsPredefined;
};
