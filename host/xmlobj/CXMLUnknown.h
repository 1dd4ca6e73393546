#pragma once
#include <xmlobj/CXMLComposite.h>

// An element whose class the reader does not know. It keeps the element name,
// every attribute (its "classtype" too) and its children, and writes them
// back exactly as read, so a newer document passes through unharmed.
class KVHOST_API CXMLUnknown : public CXMLComposite {
public:
    // The run-time record of CXMLUnknown.
    static CRuntimeClass classCXMLUnknown;
    // The run-time record of CXMLUnknown.
    static CRuntimeClass* GetThisClass() noexcept { return &classCXMLUnknown; }
    // The run-time record of CXMLUnknown.
    CRuntimeClass* GetRuntimeClass() const override;

    // An element of no registered class, written back under elementName.
    explicit CXMLUnknown(const CString& elementName = CString());
    // The "classtype" it was read with, empty without one.
    CString GetClassIndex() const override;
    // An empty unknown element of the same name.
    CObject* CreateNew() const override;
    // The name it was read under.
    const char* GetElementName() const override { return m_ElementName; }
    // As a composite, but every attribute is read and written as it stands.
    bool Serialize(MSXML2::IXMLDOMNode& node, MSXML2::IXMLDOMDocument* pDoc, bool bLoad, bool bChildren) override;

private:
    CString m_ElementName;
};

// Text, CDATA, a comment or a processing instruction among an element's
// children (or around the root element), kept in its place. An
// instruction's text is its target, then a blank and its data when it has any.
class KVHOST_API CXMLText : public CXMLBase {
public:
    // What the text was in the document.
    enum Kind {
        Text,       // character data
        CData,      // a CDATA section
        Comment,    // a comment
        Instruction // a processing instruction
    };
    // The run-time record of CXMLText.
    static CRuntimeClass classCXMLText;
    // The run-time record of CXMLText.
    static CRuntimeClass* GetThisClass() noexcept { return &classCXMLText; }
    // The run-time record of CXMLText.
    CRuntimeClass* GetRuntimeClass() const override;

    // A text of the kind given, written back as it is.
    CXMLText(Kind kind, const CString& text) : m_Kind(kind), m_Text(text) {}
    // What the text was in the document.
    Kind GetKind() const noexcept { return m_Kind; }
    // The text, as it is read and written (GBK).
    CString GetText() const { return m_Text; }
    // An empty text of the same kind.
    CObject* CreateNew() const override;
    // Saving, writes the text in its place; loading, false (the reader makes these objects itself).
    bool Serialize(MSXML2::IXMLDOMNode& node, MSXML2::IXMLDOMDocument* pDoc, bool bLoad, bool bChildren) override;

private:
    Kind m_Kind;
    CString m_Text;
};
