#include <KvNodeDefine/CValueListDesc.h>
#include <KvNodeDefine/CVarDesc.h>
#include <KvNodeDefine/ChildList.h>

CVarDesc::CVarDesc() : m_Type(-1), m_FormatType('g') {}
CVarDesc::~CVarDesc() = default;

bool CVarDesc::GetValueList(CStringArray& values) const
{
    AcArray<CValueListDesc*> lists;
    if (!AppendChildrenOf(*this, lists) || lists.isEmpty())
        return false;
    return lists.first()->GetValueList(values);
}

bool CVarDesc::RefreshAttListWithMember()
{
    CBaseDesc::RefreshAttListWithMember();
    SetAtt("showvalue", m_ShowValue);
    SetAtt("value", m_RealValue);
    if (m_Type != -1)
        SetAtt("type", m_Type);
    SetAtt("formattype", CString(&m_FormatType, 1));
    return true;
}

bool CVarDesc::RefreshMemberWithAttList()
{
    CBaseDesc::RefreshMemberWithAttList();
    GetAtt("showvalue", m_ShowValue);
    GetAtt("value", m_RealValue);
    if (m_RealValue.IsEmpty())
        m_RealValue = m_ShowValue;
    if (m_ShowValue.IsEmpty())
        m_ShowValue = m_RealValue;
    m_Type = GetAttInt("type", -1);
    CString text;
    GetAtt("formattype", text);
    m_FormatType = text.IsEmpty() ? 'g' : text[0];
    return true;
}
