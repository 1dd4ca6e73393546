#include "DocumentSession.h"
#include "DomDocument.h"

DocumentSession::DocumentSession(MSXML2::IXMLDOMDocument& dom, bool reading) : m_dom(dom), m_reading(reading)
{
    dom.impl().session = this;
}

DocumentSession::~DocumentSession() { m_dom.impl().session = nullptr; }

DocumentSession* DocumentSession::Of(MSXML2::IXMLDOMDocument* pDoc, bool bLoad) noexcept
{
    DocumentSession* session = pDoc ? pDoc->impl().session : nullptr;
    return session && session->m_reading == bLoad ? session : nullptr;
}
