#include <KvNodeDefine/CVarDesc.h>
#include <KvNodeDefine/CVarItemDesc.h>
#include <KvNodeDefine/framework/ChildList.h>
#include <KvNodeDefine/framework/DescAttributes.h>

using namespace kvnodedefine;

CVarItemDesc::CVarItemDesc() : m_IsPredefined(true) {}
CVarItemDesc::~CVarItemDesc() = default;

bool CVarItemDesc::GetVarDescArray(AcArray<CVarDesc*>& vars) const { return AppendChildrenOf(*this, vars); }

bool CVarItemDesc::RefreshAttListWithMember()
{
    CBaseDesc::RefreshAttListWithMember();
    SetAtt(*this, "type", m_StrType);
    SetAtt(*this, "defineby", m_IsPredefined ? "sys" : "user");
    return true;
}

bool CVarItemDesc::RefreshMemberWithAttList()
{
    CBaseDesc::RefreshMemberWithAttList();
    GetAtt(*this, "type", m_StrType);
    CString defineBy;
    GetAtt(*this, "defineby", defineBy);
    m_IsPredefined = defineBy != "user";
    return true;
}
