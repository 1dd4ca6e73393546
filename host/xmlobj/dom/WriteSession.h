#pragma once
// One save: the objects serialize into text as they go, laid out the way
// pugixml indents a document. The text is in UTF-8 or GBK as written, the
// other encodings converted from GBK at the end.
#include <xmlobj/session/DocumentSession.h>
#include "RecentNameLists.h"

#include <xmlobj/CXMLUnknown.h>
#include <xmlobj/XmlDiagnostic.h>
#include <xmlobj/text/XmlEncodingImpl.h>

#include <string>
#include <vector>

class WriteSession final : public DocumentSession {
public:
    // A save in encoding, a UTF-8 one with a byte-order mark when utf8Mark;
    // messages name fileName. reserve: the size the text is expected to take.
    WriteSession(MSXML2::IXMLDOMDocument& dom, const std::string& fileName, XmlEncoding encoding, bool utf8Mark,
                 size_t reserve);

    // Writes the declaration, before, root and after into out; false, with
    // the reason in Error, when any of them cannot be written.
    bool Write(CXMLBase& root, const CXMLComposite& before, const CXMLComposite& after, std::string& out);
    const XmlDiagnostic& Error() const noexcept { return error; }

    bool Object(CXMLBase& object, CStringArray& attributes, CXMLComposite*& content, MSXML2::IXMLDOMNode& node,
                bool children) override;
    bool Composite(CXMLComposite& composite, CStringArray& attributes, MSXML2::IXMLDOMNode& node,
                   bool children) override;
    bool Unknown(CXMLUnknown& unknown, CStringArray& attributes, MSXML2::IXMLDOMNode& node, bool children) override;
    bool Text(const CXMLText& text) override;
    bool Children(const CXMLComposite& composite, MSXML2::IXMLDOMNode& node) override;

private:
    std::string fileName;
    XmlEncoding encoding;
    bool utf8Mark;
    bool failed = false;
    XmlDiagnostic error;
    // the text in textEncoding, UTF-8 or GBK; bytes that cannot be written
    // in it set textError
    std::string text;
    XmlEncoding textEncoding;
    kvnodedefine::TextError textError;

    void BeginElement(const char* name);
    bool WriteAttributes(const CXMLBase& object);
    void WriteText(CXMLText::Kind kind, const CString& value);
    void EndElement();
    void EndDocument();
    bool WriteAroundRoot(const CXMLComposite& side, MSXML2::IXMLDOMNode& node);
    // what names the text in a message: what, then the quoted attribute name when given
    bool CheckText(const CXMLBase& object, const CString& text, const char* what, const char* attribute = nullptr);
    bool FailSave(const CXMLBase& object, const std::string& message);
    // a failure that no object is to blame for
    XmlDiagnostic Problem(const std::string& message) const;

    // names checked once for the elements of a class that carry them alike
    RecentNameLists m_nameRuns;
    using NameRun = RecentNameLists::Run;
    bool CheckNames(const CXMLBase& object, const CStringArray& list, NameRun& run);
    static constexpr size_t kCheckedElements = 64;
    const char* m_checkedElements[kCheckedElements] = {}; // element names a save found valid
    void AppendGbk(const char* gbk, size_t size);
    bool AppendShortAttribute(const CString& name, const CString& value);
    void CloseStartTag();
    void NewLineAndIndent();
    std::vector<const char*> m_openElements;
    bool m_startTagOpen = false;
    bool m_newLine = false; // before the next element, comment or end tag
    bool m_indent = true;
};
