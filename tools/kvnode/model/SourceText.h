#pragma once
// A document's text as the terminal shows it: UTF-8 whatever the file's
// encoding, in lines as the library counts them (CR, LF and CR LF each end
// one), so that a finding can show the line it is on.
#include <cstddef>
#include <string>
#include <vector>

namespace kvnode {

class SourceText {
public:
    SourceText() = default;
    // The bytes of a file as read. Text after the first byte that does not
    // convert stays as it is, so that the lines up to an encoding error show.
    explicit SourceText(const std::string& bytes);

    const std::string& Text() const { return m_text; }
    int LineCount() const { return static_cast<int>(m_starts.size()); }
    // line n (from 1) without its line end; empty past the end
    std::string Line(int n) const;
    // where line n starts and ends (before its line end) in Text()
    size_t LineStart(int n) const;
    size_t LineEnd(int n) const;
    // The offset in Text() of the character at line and column (from 1), or
    // of the line's end when the line is shorter. Places asked in file order
    // carry on from the last one, so that many on one long line cost one pass.
    size_t OffsetOf(int line, int column) const;

private:
    std::string m_text;
    std::vector<size_t> m_starts;
    mutable int m_cursorLine = 0;
    mutable int m_cursorColumn = 0;
    mutable size_t m_cursor = 0;
};

// the characters of a UTF-8 text before byte offset end, as columns count them
int Utf8Chars(const std::string& text, size_t begin, size_t end);
// the bytes of the UTF-8 character that starts at text[at] (1 for a stray byte)
size_t Utf8Length(const std::string& text, size_t at);

} // namespace kvnode
