#include "lsp/TextLines.h"

#include <algorithm>

namespace kvnode {

namespace {

bool Continues(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }
// UTF-16 units of the character a UTF-8 lead byte starts: two past the basic plane
int Units(char lead) { return static_cast<unsigned char>(lead) >= 0xF0 ? 2 : 1; }

} // namespace

TextLines::TextLines(const std::string& utf8) : m_text(utf8), m_starts{0}
{
    for (size_t i = 0; i < utf8.size(); ++i)
        if (utf8[i] == '\n' || (utf8[i] == '\r' && (i + 1 == utf8.size() || utf8[i + 1] != '\n')))
            m_starts.push_back(i + 1);
}

size_t TextLines::LineEnd(size_t line) const
{
    if (line + 1 >= m_starts.size())
        return m_text.size();
    size_t end = m_starts[line + 1] - 1;
    if (end > m_starts[line] && m_text[end] == '\n' && m_text[end - 1] == '\r')
        --end;
    return end;
}

size_t TextLines::Offset(TextPosition p) const
{
    if (p.line < 0)
        return 0;
    if (static_cast<size_t>(p.line) >= m_starts.size())
        return m_text.size();
    const size_t end = LineEnd(static_cast<size_t>(p.line));
    size_t at = m_starts[static_cast<size_t>(p.line)];
    for (int units = 0; at < end && units < p.character;) {
        units += Units(m_text[at]);
        for (++at; at < end && Continues(m_text[at]); ++at) {
        }
    }
    return at;
}

TextPosition TextLines::PositionOf(size_t offset) const
{
    offset = std::min(offset, m_text.size());
    const size_t line = static_cast<size_t>(std::upper_bound(m_starts.begin(), m_starts.end(), offset) - m_starts.begin()) - 1;
    TextPosition p{static_cast<int>(line), 0};
    const size_t end = std::min(offset, LineEnd(line));
    for (size_t at = m_starts[line]; at < end; ++at)
        if (!Continues(m_text[at]))
            p.character += Units(m_text[at]);
    return p;
}

TextPosition TextLines::FromPlace(int line, int column) const
{
    if (line < 1)
        return TextPosition();
    if (static_cast<size_t>(line) > m_starts.size())
        return PositionOf(m_text.size());
    const size_t end = LineEnd(static_cast<size_t>(line - 1));
    TextPosition p{line - 1, 0};
    size_t at = m_starts[static_cast<size_t>(line - 1)];
    for (int c = 1; c < column && at < end; ++c) {
        p.character += Units(m_text[at]);
        for (++at; at < end && Continues(m_text[at]); ++at) {
        }
    }
    return p;
}

} // namespace kvnode
