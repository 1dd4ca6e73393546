#pragma once
// A document's text as the terminal shows it: UTF-8 whatever the file's
// encoding, in lines, so that a finding can show the line it is on.
#include <string>
#include <vector>

namespace kvnode {

class SourceText {
public:
    SourceText() = default;
    // the bytes of a file as read; text that does not convert stays as it is
    explicit SourceText(const std::string& bytes);

    const std::string& Text() const { return m_text; }
    int LineCount() const { return static_cast<int>(m_starts.size()); }
    // line n (from 1) without its line end; empty past the end
    std::string Line(int n) const;

private:
    std::string m_text;
    std::vector<size_t> m_starts;
};

// the characters of a UTF-8 text before byte offset end, as columns count them
int Utf8Chars(const std::string& text, size_t begin, size_t end);

} // namespace kvnode
