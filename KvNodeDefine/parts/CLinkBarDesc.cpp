#include <KvNodeDefine/CCutDesc.h>
#include <KvNodeDefine/CLinkBarDesc.h>
#include <KvNodeDefine/CNodeGlobal.h>
#include <KvNodeDefine/CPlaneDesc.h>
#include <KvNodeDefine/ChildList.h>

#include <utility>

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
    SetAtt("sectype", m_SecTypeArray);
    SetAtt("sect", m_SecSize);
    SetAtt("len", m_LenExp, kvnodedefine::Needed());
    SetAtt("attach1", m_AttachPlane1, kAttach);
    SetAtt("attach2", m_AttachPlane2, kAttach);
    SetAtt("attach3", m_AttachPlane3, kAttach);
    SetAtt("firstindex", m_FirstIndex);
    SetAtt("secondindex", m_SecondIndex);
    return true;
}

bool CLinkBarDesc::RefreshMemberWithAttList()
{
    CBaseDesc::RefreshMemberWithAttList();
    GetAttList("sectype", m_SecTypeArray);
    GetAtt("sect", m_SecSize);
    GetAtt("len", m_LenExp, kvnodedefine::Needed());
    GetAtt("attach1", m_AttachPlane1, kAttach);
    GetAtt("attach2", m_AttachPlane2, kAttach);
    GetAtt("attach3", m_AttachPlane3, kAttach);
    m_FirstIndex = GetAttInt("firstindex");
    m_SecondIndex = GetAttInt("secondindex");
    return true;
}
