#include "model/FindingPlaces.h"

#include "model/Model.h"
#include "model/SourceText.h"

#include <xmlobj/CXMLUnknown.h>

#include <algorithm>
#include <cstring>

namespace kvnode {

namespace {

Place Between(const XmlPosition& start, const XmlPosition& end) { return {start.line, start.column, end.line, end.column}; }

// a name written in Chinese is GBK in the tree and may be given in UTF-8
bool Named(const CString& name, const std::string& attribute)
{
    if (attribute == name.GetString())
        return true;
    const char* end = name.GetString() + name.GetLength();
    return std::find_if(name.GetString(), end, [](char c) { return static_cast<unsigned char>(c) >= 0x80; }) != end &&
           attribute == Utf8(name);
}

// where a text's first character that is not blank stands, the text starting at at
XmlPosition PastBlanks(XmlPosition at, const CString& text)
{
    for (int i = 0; i < text.GetLength() && std::strchr(" \t\r\n", text[i]); ++i) {
        if (text[i] == '\n')
            at = XmlPosition{at.line + 1, 1, 0};
        else if (text[i] != '\r')
            ++at.column;
    }
    return at;
}

} // namespace

Place FindingPlaces::Of(const CXMLBase& object, const std::string& attribute, const std::string& subject)
{
    const XmlMarkup* markup = m_doc.GetMarkup(&object);
    if (!markup)
        return Between(m_doc.GetPosition(&object), m_doc.GetPosition(&object));
    // a text from its first character that is not blank; a comment, instruction or CDATA section whole
    if (object.IsKindOf(RUNTIME_CLASS(CXMLText))) {
        const auto& text = static_cast<const CXMLText&>(object);
        const XmlPosition start =
            text.GetKind() == CXMLText::Text ? PastBlanks(markup->range.start, text.GetText()) : markup->range.start;
        return Between(start, markup->range.end);
    }
    if (!attribute.empty()) {
        for (const XmlAttributeMarkup& a : markup->attributes)
            if (Named(a.name, attribute))
                return subject.empty() ? Between(a.valueRange.start, a.valueRange.end) : Within(a.valueRange, subject);
    }
    return Between(markup->range.start, markup->nameRange.end);
}

Place FindingPlaces::Within(const XmlRange& value, const std::string& subject)
{
    if (value.start.offset != m_valueRange.start.offset || value.end.offset != m_valueRange.end.offset ||
        m_value.empty()) {
        m_valueRange = value;
        const std::string raw = m_bytes.substr(value.start.offset, value.end.offset - value.start.offset);
        std::string gbk;
        TextError error;
        m_value = m_doc.GetEncoding() == XmlEncoding::Utf8 ? raw
                  : ConvertToGbk(raw.data(), raw.size(), m_doc.GetEncoding(), gbk, error) ? Utf8(gbk.data(), gbk.size())
                                                                                            : std::string();
        m_items.clear();
        for (size_t start = 0; start <= m_value.size();) {
            const size_t comma = std::min(m_value.find(',', start), m_value.size());
            m_items.emplace(m_value.substr(start, comma - start), start);
            start = comma + 1;
        }
        m_countedTo = 0;
        m_counted = value.start;
    }
    const auto item = m_items.find(subject);
    const size_t at = item != m_items.end() ? item->second : m_value.find(subject);
    if (at == std::string::npos)
        return Between(value.start, value.end);
    const XmlPosition start = At(at);
    return Between(start, At(at + subject.size()));
}

// Counts lines and characters as the library does: CR, LF and CR LF each end a line.
XmlPosition FindingPlaces::At(size_t offset)
{
    if (offset < m_countedTo) {
        m_countedTo = 0;
        m_counted = m_valueRange.start;
    }
    for (size_t i = m_countedTo; i < offset && i < m_value.size(); i += Utf8Length(m_value, i)) {
        const char c = m_value[i];
        if (c == '\r' && i + 1 < m_value.size() && m_value[i + 1] == '\n')
            continue;
        if (c == '\n' || c == '\r') {
            ++m_counted.line;
            m_counted.column = 1;
        } else {
            ++m_counted.column;
        }
    }
    m_countedTo = offset;
    return m_counted;
}

} // namespace kvnode
