#pragma once
#include <KvNodeDefine/CBaseDesc.h>

// One variable of a variable item: its value and the value shown to the
// user, a type number and a format character for the host, and (as its
// first value list child) the values it may take.
class KVNODE_API CVarDesc : public CBaseDesc {
    KV_DECLARE_CLASS(CVarDesc)
public:
    CVarDesc();
    ~CVarDesc() override;

    // the value as shown and as used, its type and its printf format letter
    CString GetShowValue() const { return m_ShowValue; }
    void SetShowValue(CString value) { m_ShowValue = value; }
    CString GetRealValue() const { return m_RealValue; }
    void SetRealValue(CString value) { m_RealValue = value; }
    int GetType() const { return m_Type; } // -1: none
    void SetType(int type) { m_Type = type; }
    char GetFormatType() const { return m_FormatType; } // 'g' when none is given
    void SetFormatType(char format) { m_FormatType = format; }

    // appends the values of the first value list child; false without one
    bool GetValueList(CStringArray& values) const;

    // "type" is written only when not -1; a load fills an empty value from the other one
    bool RefreshAttListWithMember() override;
    bool RefreshMemberWithAttList() override;

private:
    CString m_ShowValue;
    CString m_RealValue;
    int m_Type;
    char m_FormatType;
};
