#include "model/Spelling.h"

#include <algorithm>
#include <cctype>

namespace kvnode {

namespace {

int EditDistance(const std::string& a, const std::string& b)
{
    std::vector<int> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j)
        row[j] = static_cast<int>(j);
    for (size_t i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = static_cast<int>(i);
        for (size_t j = 1; j <= b.size(); ++j) {
            const int above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

std::string WithoutBlanks(const std::string& s)
{
    std::string out;
    for (const char c : s)
        if (c != ' ' && c != '\t')
            out += c;
    return out;
}

std::string Lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

} // namespace

Suggestion Closest(const std::string& word, const std::vector<std::string>& candidates)
{
    Suggestion best;
    const std::string bare = Lower(WithoutBlanks(word));
    for (const std::string& c : candidates) {
        if (c == word)
            continue;
        // a difference in blanks or case alone beats any spelling
        const bool same = Lower(WithoutBlanks(c)) == bare;
        const int d = same ? 0 : EditDistance(word, c);
        if (!best.word.empty() && d >= best.distance)
            continue;
        const int limit = std::max(1, static_cast<int>(word.size()) / 3);
        if (!same && (d > limit || d >= static_cast<int>(word.size())))
            continue;
        best = Suggestion{c, d};
        best.blanksOnly = same && WithoutBlanks(c) == WithoutBlanks(word);
        best.caseOnly = same && !best.blanksOnly && Lower(c) == Lower(word);
    }
    return best;
}

std::string DidYouMean(const Suggestion& s)
{
    if (s.word.empty())
        return std::string();
    std::string text = " (did you mean \"" + s.word + "\"?";
    if (s.blanksOnly)
        text += " only blanks differ";
    else if (s.caseOnly)
        text += " only letter case differs";
    else if (s.distance == 0)
        text += " only blanks and letter case differ";
    return text + ")";
}

} // namespace kvnode
