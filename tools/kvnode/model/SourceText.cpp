#include "model/SourceText.h"

#include "model/Model.h"

#include <xmlobj/XmlEncoding.h>

#include <algorithm>

namespace kvnode {

namespace {

// in the encoding the library reads the document in (a byte-order mark, else the declaration, else UTF-8)
std::string ToUtf8(const std::string& bytes)
{
    XmlEncoding encoding = XmlEncoding::Utf8;
    size_t bom = 0;
    TextError error;
    if (!DetectEncoding(bytes.data(), bytes.size(), encoding, bom, error))
        return bytes;
    if (encoding == XmlEncoding::Utf8)
        return bytes.substr(bom);
    const char* data = bytes.data() + bom;
    const size_t size = bytes.size() - bom;
    if (encoding == XmlEncoding::Gbk)
        return Utf8(data, size);
    std::string gbk;
    if (ConvertToGbk(data, size, encoding, gbk, error))
        return Utf8(gbk.data(), gbk.size());
    // the bytes before the one that does not convert did
    const size_t valid = std::min(error.offset, size);
    if (!ConvertToGbk(data, valid, encoding, gbk, error))
        return bytes.substr(bom);
    return Utf8(gbk.data(), gbk.size()) + std::string(data + valid, size - valid);
}

} // namespace

size_t Utf8Length(const std::string& text, size_t at)
{
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    const size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    size_t n = 1;
    while (n < length && at + n < text.size() && (static_cast<unsigned char>(text[at + n]) & 0xC0) == 0x80)
        ++n;
    return n;
}

SourceText::SourceText(const std::string& bytes) : m_text(ToUtf8(bytes))
{
    if (m_text.empty())
        return;
    m_starts.push_back(0);
    for (size_t i = 0; i < m_text.size(); ++i) {
        const char c = m_text[i];
        if (c == '\r' && i + 1 < m_text.size() && m_text[i + 1] == '\n')
            continue; // the LF ends the line
        if ((c == '\n' || c == '\r') && i + 1 < m_text.size())
            m_starts.push_back(i + 1);
    }
}

size_t SourceText::LineStart(int n) const
{
    return n >= 1 && n <= LineCount() ? m_starts[static_cast<size_t>(n - 1)] : m_text.size();
}

size_t SourceText::LineEnd(int n) const
{
    if (n < 1 || n > LineCount())
        return m_text.size();
    size_t end = n < LineCount() ? m_starts[static_cast<size_t>(n)] : m_text.size();
    if (end > LineStart(n) && m_text[end - 1] == '\n')
        --end;
    if (end > LineStart(n) && m_text[end - 1] == '\r')
        --end;
    return end;
}

std::string SourceText::Line(int n) const
{
    const size_t start = LineStart(n);
    return m_text.substr(start, LineEnd(n) - start);
}

size_t SourceText::OffsetOf(int line, int column) const
{
    if (line < 1 || line > LineCount())
        return m_text.size();
    if (line != m_cursorLine || column < m_cursorColumn) {
        m_cursorLine = line;
        m_cursorColumn = 1;
        m_cursor = LineStart(line);
    }
    const size_t end = LineEnd(line);
    while (m_cursorColumn < column && m_cursor < end) {
        m_cursor += Utf8Length(m_text, m_cursor);
        ++m_cursorColumn;
    }
    return std::min(m_cursor, end);
}

int Utf8Chars(const std::string& text, size_t begin, size_t end)
{
    int n = 0;
    for (size_t i = begin; i < end && i < text.size(); ++i)
        n += (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
    return n;
}

} // namespace kvnode
