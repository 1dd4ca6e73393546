#include <xmlobj/XMLDOM.h>
#include <xmlobj/dom/DomDocument.h>

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
