#include "model/Places.h"

#include "model/Model.h"
#include "model/SourceText.h"

namespace kvnode {

namespace {

Place Between(const XmlPosition& start, const XmlPosition& end) { return {start.line, start.column, end.line, end.column}; }

bool Named(const CString& name, const std::string& attribute)
{
    return attribute == name.GetString() || attribute == Utf8(name);
}

} // namespace

Place Places::Of(const CXMLBase& object, const std::string& attribute, const std::string& subject)
{
    const XmlMarkup* markup = m_doc.GetMarkup(&object);
    if (!markup)
        return Between(m_doc.GetPosition(&object), m_doc.GetPosition(&object));
    if (!attribute.empty()) {
        for (const XmlAttributeMarkup& a : markup->attributes)
            if (Named(a.name, attribute))
                return subject.empty() ? Between(a.valueRange.start, a.valueRange.end) : Within(a.valueRange, subject);
    }
    return Between(markup->range.start, markup->nameRange.end);
}

Place Places::Within(const XmlRange& value, const std::string& subject)
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
XmlPosition Places::At(size_t offset)
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
