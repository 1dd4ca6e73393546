#include <xmlobj/CXMLComposite.h>
#include <xmlobj/ObjIterator.h>
#include <xmlobj/session/DocumentSession.h>

CRuntimeClass CXMLComposite::classCXMLComposite = {"CXMLComposite", sizeof(CXMLComposite), 1, nullptr,
                                                   RUNTIME_CLASS(CXMLBase)};
CRuntimeClass* CXMLComposite::GetRuntimeClass() const { return &classCXMLComposite; }

CXMLComposite::CXMLComposite() = default;

CXMLComposite::~CXMLComposite()
{
    for (const kvnodedefine::ObjItem& child : m_children)
        delete child.pObject;
}

bool CXMLComposite::Add(CXMLBase* pChild)
{
    if (!pChild)
        return false;
    // a child that has a parent is owned already (here or elsewhere), and an
    // ancestor would own itself: either would be deleted twice
    if (pChild->GetParent())
        return false;
    for (const CXMLBase* p = this; p; p = p->GetParent())
        if (p == pChild)
            return false;
    m_children.Add(kvnodedefine::ObjItem{pChild, pChild->GetRuntimeClass()});
    pChild->SetParentObj(this);
    return true;
}

bool CXMLComposite::Remove(CXMLBase* pChild)
{
    const int at = m_children.Find(pChild);
    if (at < 0)
        return false;
    m_children.RemoveAt(at);
    delete pChild;
    return true;
}

ObjIterator* CXMLComposite::CreateIterator() const { return new ObjIterator(&m_children); }

void CXMLComposite::Reserve(size_t count) { m_children.Reserve(count); }

CXMLBase* CXMLComposite::GetChild(int nIndex) const noexcept
{
    return nIndex >= 0 && nIndex < GetChildCount() ? m_children[nIndex].pObject : nullptr;
}

bool CXMLComposite::Serialize(MSXML2::IXMLDOMNode& node, MSXML2::IXMLDOMDocument* pDoc, bool bLoad, bool bChildren)
{
    DocumentSession* session = DocumentSession::Of(pDoc, bLoad);
    return session && !node.IsNull() && session->Composite(*this, m_AttList, node, bChildren);
}

bool CXMLComposite::SerializeChildren(MSXML2::IXMLDOMNode& node, MSXML2::IXMLDOMDocument* pDoc) const
{
    DocumentSession* session = DocumentSession::Of(pDoc, false);
    return session && session->Children(*this, node);
}
