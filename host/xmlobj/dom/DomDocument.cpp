// The platform DOM's stand-ins over pugixml: a node is the parser's, and a
// document holds the tree that a load parses (or the one element that a
// save hands its objects) and the read or write under way.
#include <xmlobj/XMLDOM.h>
#include <xmlobj/session/DocumentSession.h>

#include <pugixml.hpp>

struct KVHOST_LOCAL MSXML2::IXMLDOMDocument::Impl {
    pugi::xml_document doc;
    DocumentSession* session = nullptr;
};

const char* MSXML2::IXMLDOMNode::nodeName() const noexcept { return pugi::xml_node(m_p).name(); }

MSXML2::IXMLDOMDocument::IXMLDOMDocument() : m_pImpl(new Impl) {}
MSXML2::IXMLDOMDocument::~IXMLDOMDocument() { delete m_pImpl; }

MSXML2::IXMLDOMNode MSXML2::IXMLDOMDocument::documentElement() const noexcept
{
    return IXMLDOMNode(m_pImpl->doc.document_element().internal_object());
}

MSXML2::IXMLDOMNode MSXML2::IXMLDOMDocument::createDocumentElement(const char* name)
{
    m_pImpl->doc.reset();
    return IXMLDOMNode(m_pImpl->doc.append_child(name).internal_object());
}

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

pugi::xml_document& DocumentSession::Tree() noexcept { return m_dom.impl().doc; }
