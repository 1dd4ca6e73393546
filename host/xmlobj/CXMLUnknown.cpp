#include <xmlobj/CXMLUnknown.h>
#include <xmlobj/session/DocumentSession.h>

CRuntimeClass CXMLUnknown::classCXMLUnknown = {"CXMLUnknown", sizeof(CXMLUnknown), 1, nullptr,
                                               RUNTIME_CLASS(CXMLComposite)};
CRuntimeClass* CXMLUnknown::GetRuntimeClass() const { return &classCXMLUnknown; }

CXMLUnknown::CXMLUnknown(const CString& elementName) : m_ElementName(elementName) {}

CString CXMLUnknown::GetClassIndex() const
{
    CString index;
    GetAttText("classtype", index);
    return index;
}

CObject* CXMLUnknown::CreateNew() const { return new CXMLUnknown(m_ElementName); }

bool CXMLUnknown::Serialize(MSXML2::IXMLDOMNode& node, MSXML2::IXMLDOMDocument* pDoc, bool bLoad, bool bChildren)
{
    DocumentSession* session = DocumentSession::Of(pDoc, bLoad);
    return session && !node.IsNull() && session->Unknown(*this, m_AttList, node, bChildren);
}

CRuntimeClass CXMLText::classCXMLText = {"CXMLText", sizeof(CXMLText), 1, nullptr, RUNTIME_CLASS(CXMLBase)};
CRuntimeClass* CXMLText::GetRuntimeClass() const { return &classCXMLText; }

CObject* CXMLText::CreateNew() const { return new CXMLText(m_Kind, CString()); }

bool CXMLText::Serialize(MSXML2::IXMLDOMNode& node, MSXML2::IXMLDOMDocument* pDoc, bool bLoad, bool)
{
    if (bLoad || !pDoc || node.IsNull())
        return !bLoad;
    DocumentSession* session = DocumentSession::Of(pDoc, false);
    return session && session->Text(*this);
}
