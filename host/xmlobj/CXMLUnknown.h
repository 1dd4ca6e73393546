#pragma once
#include <xmlobj/CXMLComposite.h>

// An element whose class the reader does not know. It keeps the element name,
// every attribute (its "classtype" too) and its children, and writes them
// back exactly as read, so a newer document passes through unharmed.
class KVHOST_API CXMLUnknown : public CXMLComposite {
public:
    // the class's record
    static CRuntimeClass classCXMLUnknown;
    static CRuntimeClass* GetThisClass() noexcept { return &classCXMLUnknown; }
    CRuntimeClass* GetRuntimeClass() const override;

    // an element of no registered class, written back under elementName
    explicit CXMLUnknown(const CString& elementName = CString());
    CString GetClassIndex() const override; // the "classtype" it was read with
    CObject* CreateNew() const override;
    const char* GetElementName() const override { return m_ElementName; }
    bool Serialize(MSXML2::IXMLDOMNode& node, MSXML2::IXMLDOMDocument* pDoc, bool bLoad, bool bChildren) override;

private:
    CString m_ElementName;
};

// Text, CDATA, a comment or a processing instruction among an element's
// children (or around the root element), kept in its place. An
// instruction's text is its target, then a blank and its data when it has any.
class KVHOST_API CXMLText : public CXMLBase {
public:
    // what the text was in the document
    enum Kind { Text, CData, Comment, Instruction };
    // the class's record
    static CRuntimeClass classCXMLText;
    static CRuntimeClass* GetThisClass() noexcept { return &classCXMLText; }
    CRuntimeClass* GetRuntimeClass() const override;

    // the text, as it is read and written
    CXMLText(Kind kind, const CString& text) : m_Kind(kind), m_Text(text) {}
    Kind GetKind() const noexcept { return m_Kind; }
    CString GetText() const { return m_Text; }
    CObject* CreateNew() const override;
    bool Serialize(MSXML2::IXMLDOMNode& node, MSXML2::IXMLDOMDocument* pDoc, bool bLoad, bool bChildren) override;

private:
    Kind m_Kind;
    CString m_Text;
};
