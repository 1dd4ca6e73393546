#include <xmlobj/CXMLBase.h>
#include <xmlobj/CXMLComposite.h>
#include <xmlobj/ObjIterator.h>
#include <xmlobj/session/DocumentSession.h>

#include <cstring>

CRuntimeClass CXMLBase::classCXMLBase = {"CXMLBase", sizeof(CXMLBase), 1, nullptr, RUNTIME_CLASS(CObject)};
CRuntimeClass* CXMLBase::GetRuntimeClass() const { return &classCXMLBase; }

CXMLBase::CXMLBase() : m_pParent(nullptr), m_pContent(nullptr) {}
CXMLBase::~CXMLBase() { delete m_pContent; }

CString CXMLBase::GetClassIndex() const { return CString(); }
int CXMLBase::GetFoldType() const { return -1; }
CObject* CXMLBase::CreateNew() const { return GetRuntimeClass()->CreateObject(); }

bool CXMLBase::Serialize(MSXML2::IXMLDOMNode& node, MSXML2::IXMLDOMDocument* pDoc, bool bLoad, bool bChildren)
{
    DocumentSession* session = DocumentSession::Of(pDoc, bLoad);
    return session && !node.IsNull() && session->Object(*this, m_AttList, m_pContent, node, bChildren);
}

bool CXMLBase::RefreshMemberWithAttList() { return true; }
bool CXMLBase::RefreshAttListWithMember() { return true; }

void CXMLBase::SetParentObj(CXMLBase* pParent) { m_pParent = pParent; }
CXMLBase* CXMLBase::GetParent() const { return m_pParent; }

namespace {
// the index of the value of the attribute name in list, or -1; the first
// byte rules out most names without a call
INT_PTR FindAttribute(const CStringArray& list, const char* name) noexcept
{
    const INT_PTR n = list.GetSize() - 1;
    for (INT_PTR i = 0; i < n; i += 2) {
        const char* s = list[i];
        if (s[0] == name[0] && std::strcmp(s, name) == 0)
            return i + 1;
    }
    return -1;
}
} // namespace

bool CXMLBase::GetAttText(const char* name, CString& value) const
{
    const INT_PTR at = name ? FindAttribute(m_AttList, name) : -1;
    if (at < 0) {
        value.Empty();
        return false;
    }
    value = m_AttList[at];
    return true;
}

bool CXMLBase::SetAttText(const char* name, const CString& value)
{
    if (!name || !*name)
        return false;
    const INT_PTR at = FindAttribute(m_AttList, name);
    if (at < 0) {
        m_AttList.Add(CString(name));
        m_AttList.Add(value);
    } else if (m_AttList[at] != value) {
        // an equal text keeps its buffer, which other fields may share
        m_AttList[at] = value;
    }
    return true;
}

void CXMLBase::SetNodeName(const CString& name) { SetAttText("nodename", name); }
void CXMLBase::SetNodeIndex(const CString& index) { SetAttText("nodeindex", index); }

CString CXMLBase::GetNodeName() const
{
    CString s;
    GetAttText("nodename", s);
    return s;
}

CString CXMLBase::GetNodeIndex() const
{
    CString s;
    GetAttText("nodeindex", s);
    return s;
}

bool CXMLBase::Add(CXMLBase*) { return false; }
bool CXMLBase::Remove(CXMLBase*) { return false; }
ObjIterator* CXMLBase::CreateIterator() const { return new ObjIterator(nullptr); }
void CXMLBase::DeleteIterator(ObjIterator* pIterator) const { delete pIterator; }
const char* CXMLBase::GetElementName() const { return GetRuntimeClass()->m_lpszClassName; }
