#include "config/PathPattern.h"

#include <cctype>

namespace kvnode {

namespace {

using Chars = std::vector<unsigned>;

// UTF-8 into characters; a byte that starts none stands for itself
Chars Characters(const std::string& text)
{
    Chars chars;
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        unsigned c = lead;
        size_t n = 1;
        if (length > 1 && i + length <= text.size()) {
            c = lead & (0x7F >> length);
            for (; n < length && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80; ++n)
                c = (c << 6) | (static_cast<unsigned char>(text[i + n]) & 0x3F);
            if (n < length) {
                c = lead;
                n = 1;
            }
        }
#ifdef _WIN32 // names differ in more than letter case there
        if (c < 0x80)
            c = static_cast<unsigned>(std::tolower(static_cast<int>(c)));
#endif
        chars.push_back(c);
        i += n;
    }
    return chars;
}

// the end of the set that starts at p[at] == '[', or 0 when it is never closed
size_t SetEnd(const Chars& p, size_t at)
{
    size_t i = at + 1;
    if (i < p.size() && p[i] == '!')
        ++i;
    if (i < p.size() && p[i] == ']') // "[]a]": a first ']' is one of the set
        ++i;
    for (; i < p.size(); ++i)
        if (p[i] == ']')
            return i;
    return 0;
}

bool InSet(const Chars& p, size_t open, size_t close, unsigned c)
{
    size_t i = open + 1;
    const bool negated = p[i] == '!';
    i += negated;
    bool found = false;
    for (const size_t first = i; i < close; ++i) {
        if (i + 2 < close && p[i + 1] == '-' && (i > first || p[i] != ']')) {
            found = found || (p[i] <= c && c <= p[i + 2]);
            i += 2;
        } else {
            found = found || p[i] == c;
        }
    }
    return found != negated;
}

// one folder or file name against one part of the pattern
bool NameMatches(const Chars& p, const Chars& n)
{
    size_t pi = 0, ni = 0;
    size_t starP = std::string::npos, starN = 0; // where the last '*' may take one more character
    while (ni < n.size()) {
        if (pi < p.size() && p[pi] == '*') {
            while (pi < p.size() && p[pi] == '*')
                ++pi;
            starP = pi;
            starN = ni;
            continue;
        }
        if (pi < p.size()) {
            const size_t close = p[pi] == '[' ? SetEnd(p, pi) : 0;
            if (close ? InSet(p, pi, close, n[ni]) : p[pi] == '?' || p[pi] == n[ni]) {
                pi = close ? close + 1 : pi + 1;
                ++ni;
                continue;
            }
        }
        if (starP == std::string::npos)
            return false;
        pi = starP;
        ni = ++starN;
    }
    while (pi < p.size() && p[pi] == '*')
        ++pi;
    return pi == p.size();
}

std::vector<std::string> Split(const std::string& path)
{
    std::vector<std::string> parts;
    for (size_t start = 0; start <= path.size();) {
        const size_t slash = std::min(path.find('/', start), path.size());
        parts.push_back(path.substr(start, slash - start));
        start = slash + 1;
    }
    return parts;
}

// parts[pi..] against names[ni..]: the whole path, or a folder that holds it
bool PartsMatch(const std::vector<Chars>& parts, size_t pi, const std::vector<Chars>& names, size_t ni,
                bool folderOnly)
{
    if (pi == parts.size())
        return folderOnly ? ni < names.size() : true;
    if (ni == names.size())
        return false;
    if (parts[pi] == Chars{'*', '*'})
        return PartsMatch(parts, pi + 1, names, ni, folderOnly) || PartsMatch(parts, pi, names, ni + 1, folderOnly);
    return NameMatches(parts[pi], names[ni]) && PartsMatch(parts, pi + 1, names, ni + 1, folderOnly);
}

} // namespace

bool PathPattern::Parse(const std::string& text, PathPattern& pattern, std::string& problem)
{
    std::string body = text;
#ifdef _WIN32
    for (char& c : body)
        c = c == '\\' ? '/' : c;
#endif
    pattern = PathPattern();
    pattern.m_text = text;
    pattern.m_folderOnly = !body.empty() && body.back() == '/';
    if (pattern.m_folderOnly)
        body.pop_back();
    pattern.m_anywhere = body.find('/') == std::string::npos;
    while (body.compare(0, 2, "./") == 0)
        body.erase(0, 2);
    if (!body.empty() && body[0] == '/')
        body.erase(0, 1);
    if (body.empty()) {
        problem = "a pattern cannot be empty";
        return false;
    }
    for (const std::string& part : Split(body)) {
        if (part == "..") {
            problem = "a pattern cannot leave the folder of its kvnode.toml (\"..\")";
            return false;
        }
        const Chars chars = Characters(part);
        for (size_t i = 0; i < chars.size(); ++i) {
            if (chars[i] != '[')
                continue;
            i = SetEnd(chars, i);
            if (i == 0) {
                problem = "\"[\" is never closed by \"]\"";
                return false;
            }
        }
        pattern.m_parts.push_back(chars);
    }
    return true;
}

bool PathPattern::Matches(const std::string& relative) const
{
    std::vector<Chars> names;
    for (const std::string& name : Split(relative))
        names.push_back(Characters(name));
    if (!m_anywhere)
        return PartsMatch(m_parts, 0, names, 0, m_folderOnly);
    for (size_t i = 0; i + (m_folderOnly ? 1 : 0) < names.size(); ++i)
        if (NameMatches(m_parts[0], names[i]))
            return true;
    return false;
}

} // namespace kvnode
