#pragma once
// A glob of a kvnode.toml, matched against a path relative to the file's
// folder, as .gitignore matches:
//   *      any characters but '/'          ?      one character but '/'
//   [abc]  one of them ([a-z] a range, [!abc] none of them)
//   **     as a whole folder name: any number of folders, none included
// A pattern without '/' matches a file or folder of that name anywhere
// ("*.bak.xml", "legacy"); one with '/' matches from the folder of the
// kvnode.toml ("nodes/old/*.xml"). A pattern that matches a folder matches
// everything in it. On Windows letter case does not count, as there.
#include <string>
#include <vector>

namespace kvnode {

class PathPattern {
public:
    // false with the reason when text cannot be a pattern ("[" never closed)
    static bool Parse(const std::string& text, PathPattern& pattern, std::string& problem);

    const std::string& Text() const { return m_text; }
    // relative: '/' between folders, no "." or ".."
    bool Matches(const std::string& relative) const;

private:
    std::string m_text;
    std::vector<std::vector<unsigned>> m_parts; // the characters between '/'
    bool m_anywhere = false;          // no '/': any one name of the path
    bool m_folderOnly = false;        // written with a final '/'
};

} // namespace kvnode
