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
    IXMLDOMNode() noexcept = default;
    // the element, its name, and what the object library reads it through
    explicit IXMLDOMNode(pugi::xml_node_struct* p) noexcept : m_p(p) {}
    bool IsNull() const noexcept { return m_p == nullptr; }
    const char* nodeName() const noexcept;
    pugi::xml_node_struct* internal_object() const noexcept { return m_p; }

private:
    pugi::xml_node_struct* m_p = nullptr;
};

// One document being read or written: its elements, and where a failure is
// recorded while objects serialize themselves.
class KVHOST_API IXMLDOMDocument {
public:
    IXMLDOMDocument();
    ~IXMLDOMDocument();
    IXMLDOMDocument(const IXMLDOMDocument&) = delete;
    IXMLDOMDocument& operator=(const IXMLDOMDocument&) = delete;

    // the document element, or null
    IXMLDOMNode documentElement() const noexcept;
    // makes the document element, replacing any
    IXMLDOMNode createDocumentElement(const char* name);

    // the state of the read or write, known inside the object library only
    struct Impl;
    Impl& impl() const noexcept { return *m_pImpl; } // for the object library's own code

private:
    Impl* m_pImpl;
};

} // namespace MSXML2
