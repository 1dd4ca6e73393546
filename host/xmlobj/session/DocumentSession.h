#pragma once
// What an object's Serialize asks of the document it is handed: one call
// per kind of object, made by the read or the write under way, which does
// all that touches XML. The objects know nothing else of reading or writing.
class CStringArray;
class CXMLBase;
class CXMLComposite;
class CXMLText;
class CXMLUnknown;
namespace MSXML2 {
class IXMLDOMDocument;
class IXMLDOMNode;
} // namespace MSXML2
namespace pugi {
class xml_document;
}

class DocumentSession {
public:
    // The read (bLoad) or write under way in pDoc, or null when pDoc is
    // null or holds none of that kind.
    static DocumentSession* Of(MSXML2::IXMLDOMDocument* pDoc, bool bLoad) noexcept;

    // A plain object: its attributes, then what its element held that it
    // has no children for (content, kept unread and written back), when children.
    virtual bool Object(CXMLBase& object, CStringArray& attributes, CXMLComposite*& content, MSXML2::IXMLDOMNode& node,
                        bool children) = 0;
    // A composite: its attributes, then its children when children.
    virtual bool Composite(CXMLComposite& composite, CStringArray& attributes, MSXML2::IXMLDOMNode& node,
                           bool children) = 0;
    // An element of no known class: as a composite, every attribute and
    // child kept as it stands.
    virtual bool Unknown(CXMLUnknown& unknown, CStringArray& attributes, MSXML2::IXMLDOMNode& node, bool children) = 0;
    // A text, comment or instruction in its place (the reader makes these itself).
    virtual bool Text(const CXMLText& text) = 0;
    // The children of composite, each in its element (a write only).
    virtual bool Children(const CXMLComposite& composite, MSXML2::IXMLDOMNode& node) = 0;

protected:
    // the session of dom, reading or writing, until it ends
    DocumentSession(MSXML2::IXMLDOMDocument& dom, bool reading);
    ~DocumentSession();
    DocumentSession(const DocumentSession&) = delete;
    DocumentSession& operator=(const DocumentSession&) = delete;

    // dom's tree, which a read parses into
    pugi::xml_document& Tree() noexcept;

    MSXML2::IXMLDOMDocument& m_dom; // handed on to each child's Serialize

private:
    bool m_reading;
};
