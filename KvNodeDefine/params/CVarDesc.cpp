#include <KvNodeDefine/CValueListDesc.h>
#include <KvNodeDefine/CVarDesc.h>
#include <KvNodeDefine/ChildList.h>

namespace {
// an empty or missing "type" is none (-1), an empty or missing "formattype" is 'g'
const AttSpec kType = kvnodedefine::OrIfEmpty(AttType::Integer, "-1");
const AttSpec kFormatType = kvnodedefine::OrIfEmpty(AttType::Character, "g");
} // namespace

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
        SetAtt("type", m_Type, kType);
    SetAtt("formattype", CString(&m_FormatType, 1), kFormatType);
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
    m_Type = GetAttInt("type", kType);
    CString text;
    GetAtt("formattype", text, kFormatType);
    m_FormatType = text.IsEmpty() ? kFormatType.ifEmpty[0] : text[0];
    return true;
}
