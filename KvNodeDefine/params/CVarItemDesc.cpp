#include <KvNodeDefine/CVarDesc.h>
#include <KvNodeDefine/CVarItemDesc.h>
#include <KvNodeDefine/ChildList.h>

namespace {
// only exactly "user" is an item the user defined: any other text, or none, is predefined
const SteelSystem::EnumText kDefineByRows[] = {{0, "user"}, {1, "sys"}};
const SteelSystem::EnumTable kDefineBy{kDefineByRows, 2};
const AttSpec kDefineBySpec(AttType::Keyword, &kDefineBy);
} // namespace

CVarItemDesc::CVarItemDesc() : m_IsPredefined(true) {}
CVarItemDesc::~CVarItemDesc() = default;

bool CVarItemDesc::GetVarDescArray(AcArray<CVarDesc*>& vars) const { return AppendChildrenOf(*this, vars); }

bool CVarItemDesc::RefreshAttListWithMember()
{
    CBaseDesc::RefreshAttListWithMember();
    SetAtt("type", m_StrType);
    SetAtt("defineby", kDefineByRows[m_IsPredefined ? 1 : 0].text, kDefineBySpec);
    return true;
}

bool CVarItemDesc::RefreshMemberWithAttList()
{
    CBaseDesc::RefreshMemberWithAttList();
    GetAtt("type", m_StrType);
    CString defineBy;
    GetAtt("defineby", defineBy, kDefineBySpec);
    m_IsPredefined = defineBy != kDefineByRows[0].text;
    return true;
}
