#pragma once
// Where a finding points in the document it is about: at the value of the
// attribute it names (narrowed to the offending part, where the value holds
// it), else at the element's '<' and name.
#include <xmlobj/CXMLDocument.h>

#include <string>
#include <unordered_map>

namespace kvnode {

// from line and column to just before endLine and endColumn (from 1, columns counting characters)
struct Place {
    int line = 0;
    int column = 0;
    int endLine = 0;
    int endColumn = 0;
};

class FindingPlaces {
public:
    // doc loaded with positions recorded from bytes, which outlive this
    FindingPlaces(const CXMLDocument& doc, const std::string& bytes) : m_doc(doc), m_bytes(bytes) {}

    // attribute: as written, GBK or UTF-8 (empty: the element itself);
    // subject: a part of its value in UTF-8 (empty: all of it)
    Place Of(const CXMLBase& object, const std::string& attribute = std::string(),
             const std::string& subject = std::string());

private:
    Place Within(const XmlRange& value, const std::string& subject);
    XmlPosition At(size_t offset); // in m_value

    const CXMLDocument& m_doc;
    const std::string& m_bytes;
    // The value a subject was last looked for in, as UTF-8, and where each
    // item of it (between commas) starts: a list whose items are reported
    // one by one is split once, and its places are counted in one pass.
    XmlRange m_valueRange;
    std::string m_value;
    std::unordered_map<std::string, size_t> m_items;
    size_t m_countedTo = 0;
    XmlPosition m_counted;
};

} // namespace kvnode
