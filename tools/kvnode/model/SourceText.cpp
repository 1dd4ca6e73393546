#include "model/SourceText.h"

#include "model/Model.h"

#include <xmlobj/XmlEncoding.h>

namespace kvnode {

namespace {

// The encoding a document is in, as the library decides it: a byte-order
// mark, else the declaration, else UTF-8.
XmlEncoding EncodingOf(const std::string& bytes, size_t& bom)
{
    bom = 0;
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        bom = 3;
        return XmlEncoding::Utf8;
    }
    if (bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0) {
        bom = 2;
        return bytes[0] == '\xFF' ? XmlEncoding::Utf16LE : XmlEncoding::Utf16BE;
    }
    XmlEncoding encoding = XmlEncoding::Utf8;
    if (bytes.compare(0, 5, "<?xml") != 0)
        return encoding;
    const size_t end = bytes.find("?>");
    const size_t at = bytes.find("encoding", 0);
    if (end == std::string::npos || at == std::string::npos || at > end)
        return encoding;
    const size_t open = bytes.find_first_of("\"'", at);
    const size_t close = open < end ? bytes.find(bytes[open], open + 1) : std::string::npos;
    if (close < end)
        XmlEncodingFromName(bytes.substr(open + 1, close - open - 1).c_str(), encoding);
    return encoding;
}

std::string ToUtf8(const std::string& bytes)
{
    size_t bom;
    const XmlEncoding encoding = EncodingOf(bytes, bom);
    if (encoding == XmlEncoding::Utf8)
        return bytes.substr(bom);
    std::string gbk;
    if (encoding == XmlEncoding::Gbk)
        gbk = bytes.substr(bom);
    else if (!ConvertToGbk(std::string_view(bytes).substr(bom), encoding, gbk))
        return bytes.substr(bom);
    return Utf8(gbk.data(), gbk.size());
}

} // namespace

SourceText::SourceText(const std::string& bytes) : m_text(ToUtf8(bytes))
{
    for (size_t start = 0; start < m_text.size();) {
        m_starts.push_back(start);
        const size_t end = m_text.find('\n', start);
        start = end == std::string::npos ? m_text.size() : end + 1;
    }
}

std::string SourceText::Line(int n) const
{
    if (n < 1 || n > LineCount())
        return std::string();
    const size_t start = m_starts[static_cast<size_t>(n - 1)];
    size_t end = m_text.find('\n', start);
    if (end == std::string::npos)
        end = m_text.size();
    if (end > start && m_text[end - 1] == '\r')
        --end;
    return m_text.substr(start, end - start);
}

int Utf8Chars(const std::string& text, size_t begin, size_t end)
{
    int n = 0;
    for (size_t i = begin; i < end && i < text.size(); ++i)
        n += (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
    return n;
}

} // namespace kvnode
