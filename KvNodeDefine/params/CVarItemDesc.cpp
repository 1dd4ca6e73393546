#include <KvNodeDefine/CVarDesc.h>
#include <KvNodeDefine/CVarItemDesc.h>
#include <KvNodeDefine/framework/ChildList.h>
#include <KvNodeDefine/framework/DescAttributes.h>

using namespace kvnodedefine;

namespace {
// only exactly "user" is an item the user defined: any other text, or none, is predefined
const EnumText kDefineByRows[] = {{0, "user"}, {1, "sys"}};
const EnumTable kDefineBy{kDefineByRows, 2};
const AttSpec kDefineBySpec(AttType::Keyword, &kDefineBy);
} // namespace

CVarItemDesc::CVarItemDesc() : m_IsPredefined(true) {}
CVarItemDesc::~CVarItemDesc() = default;

bool CVarItemDesc::GetVarDescArray(AcArray<CVarDesc*>& vars) const { return AppendChildrenOf(*this, vars); }

bool CVarItemDesc::RefreshAttListWithMember()
{
    CBaseDesc::RefreshAttListWithMember();
    SetAtt(*this, "type", m_StrType);
    SetAtt(*this, "defineby", kDefineByRows[m_IsPredefined ? 1 : 0].text, kDefineBySpec);
    return true;
}

bool CVarItemDesc::RefreshMemberWithAttList()
{
    CBaseDesc::RefreshMemberWithAttList();
    GetAtt(*this, "type", m_StrType);
    CString defineBy;
    GetAtt(*this, "defineby", defineBy, kDefineBySpec);
    m_IsPredefined = defineBy != kDefineByRows[0].text;
    return true;
}
