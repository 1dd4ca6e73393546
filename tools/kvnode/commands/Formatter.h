#pragma once
// What `kvnode fmt` writes: a document laid out anew from the text it was
// read from. The layout is the formatter's own (one element a line, indented
// by two spaces, attributes in the canonical order, blank lines between
// elements kept as one, the file's line ending); everything else is copied
// from the text byte for byte, in the document's encoding: element and
// attribute names, attribute values with their references and quotes' content,
// texts, comments, instructions and CDATA sections. No attribute is added
// or removed, and the declaration keeps its version and encoding name.
#include <xmlobj/CXMLDocument.h>

#include <string>

namespace kvnode {

class Formatter {
public:
    // doc loaded from bytes with positions recorded; both outlive this
    Formatter(const CXMLDocument& doc, const std::string& bytes);

    // The copy in encoding to (the document's own, or UTF-8 or GBK when
    // converted: the characters change encoding, nothing else). False with
    // why in problem (and the object it is about, when there is one) when
    // the copy would not read as the document does.
    bool Format(XmlEncoding to, std::string& out);
    const std::string& Problem() const { return m_problem; }
    const CXMLBase* ProblemObject() const { return m_problemObject; }

private:
    void Ascii(const char* text);
    void Raw(const XmlRange& range);
    void Raw(size_t from, size_t to);
    unsigned UnitBefore(size_t offset) const; // the code unit that ends just before offset, 0 at the start
    size_t StepBack(size_t offset) const;
    bool StartsLine(size_t offset) const;
    bool BlankLineBefore(size_t offset) const;
    bool ContainsQuote(const XmlRange& range) const;
    void Break(size_t depth, size_t offset, bool first);
    void Declaration(XmlEncoding to);
    bool Node(const CXMLBase& object, size_t depth, bool first);
    bool Fail(const CXMLBase* object, const std::string& problem);

    const CXMLDocument& m_doc;
    const std::string& m_bytes;
    XmlEncoding m_encoding; // the document's
    size_t m_mark = 0;      // the byte-order mark's bytes
    size_t m_unit = 1;      // bytes of an ASCII character: 2 in UTF-16
    std::string m_lineEnd;  // "\n", "\r\n" or "\r", as the file has it
    std::string m_out;      // in the document's encoding
    bool m_newLine = false; // the next element, comment or end tag starts a line
    std::string m_problem;
    const CXMLBase* m_problemObject = nullptr;
};

// Where two documents read differently: the first object of a whose reading
// differs from b's (and the attribute, when one is), or null when they read alike.
const CXMLBase* FirstDifference(const CXMLDocument& a, const CXMLDocument& b, std::string& what);

} // namespace kvnode
