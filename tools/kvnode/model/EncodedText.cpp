#include "model/EncodedText.h"

#include <cstring>

namespace kvnode {

EncodedText::EncodedText(const std::string& bytes) : m_bytes(bytes), m_encoding(XmlEncoding::Utf8)
{
    size_t bomLength = 0;
    TextError error;
    if (!DetectEncoding(bytes.data(), bytes.size(), m_encoding, bomLength, error))
        m_encoding = XmlEncoding::Utf8;
}

size_t EncodedText::Unit() const
{
    return m_encoding == XmlEncoding::Utf16LE || m_encoding == XmlEncoding::Utf16BE ? 2 : 1;
}

bool EncodedText::Encode(const std::string& utf8, std::string& out) const
{
    if (m_encoding == XmlEncoding::Utf8) {
        out = utf8;
        return true;
    }
    std::string gbk;
    TextError error;
    if (!ConvertToGbk(utf8.data(), utf8.size(), XmlEncoding::Utf8, gbk, error))
        return false;
    if (m_encoding == XmlEncoding::Gbk) {
        out = gbk;
        return true;
    }
    if (!ConvertFromGbk(gbk.data(), gbk.size(), m_encoding, out, error))
        return false;
    if (Unit() == 2 && out.size() >= 2) // the conversion marks UTF-16 as a file starts; a part of one has no mark
        out.erase(0, 2);
    return true;
}

char EncodedText::At(size_t offset) const
{
    if (offset + Unit() > m_bytes.size())
        return 0;
    const auto a = static_cast<unsigned char>(m_bytes[offset]);
    if (m_encoding == XmlEncoding::Utf16LE)
        return m_bytes[offset + 1] == 0 && a < 0x80 ? static_cast<char>(a) : 0;
    if (m_encoding == XmlEncoding::Utf16BE) {
        const auto b = static_cast<unsigned char>(m_bytes[offset + 1]);
        return a == 0 && b < 0x80 ? static_cast<char>(b) : 0;
    }
    return a < 0x80 ? static_cast<char>(a) : 0;
}

size_t EncodedText::Next(size_t offset) const
{
    if (offset >= m_bytes.size())
        return m_bytes.size();
    const auto lead = static_cast<unsigned char>(m_bytes[offset]);
    size_t length = 1;
    switch (m_encoding) {
    case XmlEncoding::Utf8:
        length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        break;
    case XmlEncoding::Gbk:
        length = lead < 0x81 || lead == 0xFF ? 1 : 2;
        break;
    case XmlEncoding::Gb18030:
        if (lead >= 0x81 && lead != 0xFF && offset + 1 < m_bytes.size()) {
            const auto second = static_cast<unsigned char>(m_bytes[offset + 1]);
            length = second >= 0x30 && second <= 0x39 ? 4 : 2;
        }
        break;
    case XmlEncoding::Utf16LE:
    case XmlEncoding::Utf16BE: {
        const size_t high = m_encoding == XmlEncoding::Utf16LE ? offset + 1 : offset;
        const auto unit = high < m_bytes.size() ? static_cast<unsigned char>(m_bytes[high]) : 0;
        length = unit >= 0xD8 && unit <= 0xDB ? 4 : 2; // a surrogate pair is one character
        break;
    }
    }
    return std::min(offset + length, m_bytes.size());
}

size_t EncodedText::LineStart(size_t offset) const
{
    const size_t unit = Unit();
    offset -= offset % unit;
    while (offset >= unit && At(offset - unit) != '\n')
        offset -= unit;
    return offset;
}

std::string EncodedText::LineEnd() const
{
    for (size_t i = 0; i + Unit() <= m_bytes.size(); i += Unit())
        if (At(i) == '\n')
            return i >= Unit() && At(i - Unit()) == '\r' ? "\r\n" : "\n";
    return "\n";
}

size_t EncodedText::Find(const std::string& needle, size_t from, size_t end) const
{
    for (size_t at = from; at + needle.size() <= end; at = Next(at))
        if (m_bytes.compare(at, needle.size(), needle) == 0)
            return at;
    return std::string::npos;
}

bool EncodedText::StartsWith(size_t offset, const char* ascii) const
{
    for (size_t k = 0; ascii[k]; ++k)
        if (At(offset + k * Unit()) != ascii[k])
            return false;
    return true;
}

size_t EncodedText::Past(size_t from, const char* ascii) const
{
    for (size_t i = from; i < m_bytes.size(); i = Next(i))
        if (StartsWith(i, ascii))
            return i + std::strlen(ascii) * Unit();
    return m_bytes.size();
}

size_t EncodedText::ClosingTag(size_t from, size_t& end) const
{
    const size_t unit = Unit();
    if (from < 2 * unit || At(from - 2 * unit) == '/')
        return std::string::npos;
    int depth = 0;
    for (size_t i = from; i < m_bytes.size();) {
        if (At(i) != '<') {
            i = Next(i);
        } else if (StartsWith(i, "<!--")) {
            i = Past(i, "-->");
        } else if (StartsWith(i, "<![CDATA[")) {
            i = Past(i, "]]>");
        } else if (StartsWith(i, "<?")) {
            i = Past(i, "?>");
        } else if (StartsWith(i, "<!")) {
            i = Past(i, ">");
        } else if (StartsWith(i, "</")) {
            if (depth-- == 0) {
                const size_t name = i + 2 * unit;
                for (end = name; end < m_bytes.size(); end = Next(end))
                    if (At(end) && std::strchr(" \t\r\n>", At(end)))
                        break;
                return name;
            }
            i = Past(i, ">");
        } else { // a start tag: its '>' is the first outside a quoted value
            char quote = 0;
            for (i += unit; i < m_bytes.size() && (quote || At(i) != '>'); i = Next(i))
                if (At(i) == '"' || At(i) == '\'')
                    quote = quote == At(i) ? 0 : quote ? quote : At(i);
            depth += At(i - unit) == '/' ? 0 : 1;
            i = Next(i);
        }
    }
    return std::string::npos;
}

} // namespace kvnode
