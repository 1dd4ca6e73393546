#include "commands/SuppressionWriter.h"

#include "model/EncodedText.h"

#include <algorithm>
#include <map>

namespace kvnode {

namespace {

bool Suppressible(const Finding& f)
{
    return f.rule != kXmlError && f.rule != kUnusedSuppression && f.rule != kStaleBaseline;
}

std::string Comment(const char* what, const std::vector<RuleId>& rules)
{
    std::string text = std::string("<!-- kvnode: ") + what + " ";
    for (size_t i = 0; i < rules.size(); ++i)
        text += (i ? "," : "") + std::string(rules[i]);
    return text + " -->";
}

void AddOnce(std::vector<RuleId>& rules, RuleId rule)
{
    if (std::find(rules.begin(), rules.end(), rule) == rules.end())
        rules.push_back(rule);
}

// just past the XML declaration, or the byte-order mark, where an ignore-file comment may go
size_t AfterDeclaration(const EncodedText& text, bool& declared)
{
    const std::string& bytes = text.Bytes();
    const size_t at = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0                                   ? 3
                      : bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0 ? 2
                                                                                                    : 0;
    declared = text.At(at) == '<' && text.At(at + text.Unit()) == '?';
    for (size_t i = at; declared && i + text.Unit() < bytes.size(); i += text.Unit())
        if (text.At(i) == '?' && text.At(i + text.Unit()) == '>')
            return i + 2 * text.Unit();
    declared = false;
    return at;
}

} // namespace

std::string AddSuppressions(const std::string& bytes, const std::vector<Finding>& findings, size_t& added)
{
    const EncodedText text(bytes);
    std::map<size_t, std::vector<RuleId>> byElement; // by the offset of the element's '<'
    std::vector<RuleId> wholeFile;
    for (const Finding& f : findings) {
        if (!Suppressible(f))
            continue;
        if (f.path.empty())
            AddOnce(wholeFile, f.rule);
        else
            AddOnce(byElement[f.elementOffset], f.rule);
    }
    std::string lineEnd;
    text.Encode(text.LineEnd(), lineEnd);
    // insertions, each at an offset of bytes
    std::map<size_t, std::string> inserts;
    std::string encoded;
    added = 0;
    if (!wholeFile.empty() && text.Encode(Comment("ignore-file", wholeFile), encoded)) {
        bool declared = false;
        const size_t at = AfterDeclaration(text, declared);
        inserts[at] = declared ? lineEnd + encoded : encoded + lineEnd;
        ++added;
    }
    for (const auto& [offset, rules] : byElement) {
        if (!text.Encode(Comment("ignore", rules), encoded))
            continue;
        const size_t lineStart = text.LineStart(offset);
        size_t indentEnd = lineStart;
        while (indentEnd < offset && (text.At(indentEnd) == ' ' || text.At(indentEnd) == '\t'))
            indentEnd += text.Unit();
        const std::string indent = bytes.substr(lineStart, indentEnd - lineStart);
        if (indentEnd == offset) // the element starts its line
            inserts[lineStart] += indent + encoded + lineEnd;
        else // something stands before it on its line: the comment gets a line of its own
            inserts[offset] += lineEnd + indent + encoded + lineEnd + indent;
        ++added;
    }
    std::string out;
    size_t at = 0;
    for (const auto& [offset, insert] : inserts) {
        out.append(bytes, at, offset - at);
        out += insert;
        at = offset;
    }
    out.append(bytes, at, std::string::npos);
    return out;
}

} // namespace kvnode
