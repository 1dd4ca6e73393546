#include <KvNodeDefine/CCutDesc.h>
#include <KvNodeDefine/CLinkBarDesc.h>
#include <KvNodeDefine/CNodeGlobal.h>
#include <KvNodeDefine/CPlaneDesc.h>
#include <KvNodeDefine/framework/ChildList.h>
#include <KvNodeDefine/framework/DescAttributes.h>

#include <utility>

using namespace kvnodedefine;

CLinkBarDesc::CLinkBarDesc() : m_FirstIndex(0), m_SecondIndex(0) {}

CLinkBarDesc::CLinkBarDesc(CString name, CString showName, CString secSize, CString lenExp, CString attachPlane1,
                           CString attachPlane2, CString attachPlane3)
    : CBaseDesc(std::move(name), std::move(showName)), m_SecSize(std::move(secSize)), m_LenExp(std::move(lenExp)),
      m_AttachPlane1(std::move(attachPlane1)), m_AttachPlane2(std::move(attachPlane2)),
      m_AttachPlane3(std::move(attachPlane3)), m_FirstIndex(0), m_SecondIndex(0)
{
}

CLinkBarDesc::~CLinkBarDesc() = default;

bool CLinkBarDesc::GetPlaneDescArray(AcArray<CPlaneDesc*>& planes) const
{
    return AppendChildrenOf(*this, planes) && planes.length() == 3;
}

bool CLinkBarDesc::GetCutDescArray(AcArray<CCutDesc*>& cuts) const { return AppendChildrenOf(*this, cuts); }

namespace {
const AttSpec kAttach = kvnodedefine::NameOf(RUNTIME_CLASS(CPlaneDesc), true);
} // namespace

bool CLinkBarDesc::RefreshAttListWithMember()
{
    CBaseDesc::RefreshAttListWithMember();
    SetAtt(*this, "sectype", m_SecTypeArray);
    SetAtt(*this, "sect", m_SecSize);
    SetAtt(*this, "len", m_LenExp, kvnodedefine::Needed());
    SetAtt(*this, "attach1", m_AttachPlane1, kAttach);
    SetAtt(*this, "attach2", m_AttachPlane2, kAttach);
    SetAtt(*this, "attach3", m_AttachPlane3, kAttach);
    SetAtt(*this, "firstindex", m_FirstIndex);
    SetAtt(*this, "secondindex", m_SecondIndex);
    return true;
}

bool CLinkBarDesc::RefreshMemberWithAttList()
{
    CBaseDesc::RefreshMemberWithAttList();
    GetAttIntList(*this, "sectype", m_SecTypeArray);
    GetAtt(*this, "sect", m_SecSize);
    GetAtt(*this, "len", m_LenExp, kvnodedefine::Needed());
    GetAtt(*this, "attach1", m_AttachPlane1, kAttach);
    GetAtt(*this, "attach2", m_AttachPlane2, kAttach);
    GetAtt(*this, "attach3", m_AttachPlane3, kAttach);
    m_FirstIndex = GetAttInt(*this, "firstindex");
    m_SecondIndex = GetAttInt(*this, "secondindex");
    return true;
}
