#pragma once
#include <appframe/HostExport.h>

namespace pugi {
struct xml_node_struct;
}

// Thin stand-ins for the platform XML DOM that the object library's Serialize
// passes around. Objects only hand them on; the library reads and writes them.
namespace MSXML2 {

// An element of the document being read or written, or null.
class KVHOST_API IXMLDOMNode {
public:
    // The null node.
    IXMLDOMNode() noexcept = default;
    // The element p of the object library's parser.
    explicit IXMLDOMNode(pugi::xml_node_struct* p) noexcept : m_p(p) {}
    // Whether the node is null.
    bool IsNull() const noexcept { return m_p == nullptr; }
    // The element's name; "" for the null node.
    const char* nodeName() const noexcept;
    // The parser's element, for the object library's own code.
    pugi::xml_node_struct* internal_object() const noexcept { return m_p; }

private:
    pugi::xml_node_struct* m_p = nullptr;
};

// One document being read or written: its elements, and where a failure is
// recorded while objects serialize themselves.
class KVHOST_API IXMLDOMDocument {
public:
    // An empty document.
    IXMLDOMDocument();
    // Frees the document's elements.
    ~IXMLDOMDocument();
    IXMLDOMDocument(const IXMLDOMDocument&) = delete;
    IXMLDOMDocument& operator=(const IXMLDOMDocument&) = delete;

    // The document element, or the null node.
    IXMLDOMNode documentElement() const noexcept;
    // Makes the document element, replacing any.
    IXMLDOMNode createDocumentElement(const char* name);

    // The state of the read or write, known inside the object library only.
    struct Impl;
    // The state of the read or write, for the object library's own code.
    Impl& impl() const noexcept { return *m_pImpl; }

private:
    Impl* m_pImpl;
};

} // namespace MSXML2
