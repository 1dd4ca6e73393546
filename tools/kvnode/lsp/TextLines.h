#pragma once
// An editor's buffer as the Language Server Protocol places things in it:
// lines ended by LF, CR LF or CR (as the library counts them), a position's
// character counting UTF-16 code units of the line, while the buffer itself
// is UTF-8 and the library's columns count characters.
#include <cstddef>
#include <string>
#include <vector>

namespace kvnode {

struct TextPosition {
    int line = 0;      // from 0
    int character = 0; // UTF-16 code units from the line's start
};

class TextLines {
public:
    explicit TextLines(const std::string& utf8);

    // the byte offset of a position; past the line's end it is the line's end, past the last line the text's
    size_t Offset(TextPosition position) const;
    TextPosition PositionOf(size_t offset) const;
    // a library place (line and column from 1, the column counting characters)
    TextPosition FromPlace(int line, int column) const;

private:
    size_t LineEnd(size_t line) const; // before its line end

    const std::string& m_text;
    std::vector<size_t> m_starts;
};

} // namespace kvnode
