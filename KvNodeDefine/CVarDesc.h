#pragma once
#include <KvNodeDefine/CBaseDesc.h>

// One variable of a variable item: its value and the value shown to the
// user, a type number and a format character for the host, and (as its
// first value list child) the values it may take.
class KVNODE_API CVarDesc : public CBaseDesc {
    KV_DECLARE_CLASS(CVarDesc)
public:
    // An empty variable: type -1, format 'g'.
    CVarDesc();
    // Releases the texts; the value lists go with the composite.
    ~CVarDesc() override;

    // The value shown to the user ("showvalue").
    CString GetShowValue() const { return m_ShowValue; }
    // Sets the value shown to the user.
    void SetShowValue(CString value) { m_ShowValue = value; }
    // The value used ("value").
    CString GetRealValue() const { return m_RealValue; }
    // Sets the value used.
    void SetRealValue(CString value) { m_RealValue = value; }
    // A type number for the host ("type"); -1 for none.
    int GetType() const { return m_Type; }
    // Sets the type number; -1 for none.
    void SetType(int type) { m_Type = type; }
    // The printf format letter for the value ("formattype", its first byte); 'g' when none is given.
    char GetFormatType() const { return m_FormatType; }
    // Sets the format letter.
    void SetFormatType(char format) { m_FormatType = format; }

    // Appends the values of the first value list child (CValueListDesc)
    // after what values holds; false without one.
    bool GetValueList(CStringArray& values) const;

    // Writes "showvalue", "value", "type" only when not -1, and "formattype"
    // after the base's attributes; true.
    bool RefreshAttListWithMember() override;
    // Reads the same attributes back; an empty value takes the other one, a
    // missing type is -1 and a missing format 'g'; true.
    bool RefreshMemberWithAttList() override;

private:
    CString m_ShowValue;
    CString m_RealValue;
    int m_Type;
    char m_FormatType;
};
