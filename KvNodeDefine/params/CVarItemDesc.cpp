#include <KvNodeDefine/CVarDesc.h>
#include <KvNodeDefine/CVarItemDesc.h>
#include <KvNodeDefine/ChildList.h>

CVarItemDesc::CVarItemDesc() : m_IsPredefined(true) {}
CVarItemDesc::~CVarItemDesc() = default;

bool CVarItemDesc::GetVarDescArray(AcArray<CVarDesc*>& vars) const { return AppendChildrenOf(*this, vars); }

bool CVarItemDesc::RefreshAttListWithMember()
{
    CBaseDesc::RefreshAttListWithMember();
    SetAtt("type", m_StrType);
    SetAtt("defineby", m_IsPredefined ? "sys" : "user");
    return true;
}

bool CVarItemDesc::RefreshMemberWithAttList()
{
    CBaseDesc::RefreshMemberWithAttList();
    GetAtt("type", m_StrType);
    CString defineBy;
    GetAtt("defineby", defineBy);
    m_IsPredefined = defineBy != "user";
    return true;
}
