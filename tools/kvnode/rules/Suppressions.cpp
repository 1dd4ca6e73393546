#include "rules/Suppressions.h"

#include "rules/Controls.h"
#include "rules/Families.h"
#include "model/SourceText.h"

#include <algorithm>
#include <cstring>

namespace kvnode {

namespace {

const char kSpace[] = " \t\r\n";

std::string Trim(const std::string& s)
{
    const size_t begin = s.find_first_not_of(kSpace);
    if (begin == std::string::npos)
        return std::string();
    return s.substr(begin, s.find_last_not_of(kSpace) - begin + 1);
}

// what follows "kvnode:" in a comment
void ParseDirective(const std::string& text, Suppression& s)
{
    const size_t wordEnd = std::min(text.find_first_of(kSpace), text.size());
    const std::string word = text.substr(0, wordEnd);
    if (word != "ignore" && word != "ignore-file") {
        s.problem = "unknown kvnode comment \"" + word + "\" (ignore or ignore-file)";
        return;
    }
    s.wholeFile = word == "ignore-file";
    std::string list = text.substr(wordEnd);
    for (size_t start = 0; start <= list.size();) {
        const size_t comma = std::min(list.find(',', start), list.size());
        const std::string id = Trim(list.substr(start, comma - start));
        start = comma + 1;
        if (id.empty())
            continue;
        const Rule* rule = FindRule(id);
        if (!rule) {
            s.problem = "kvnode: " + word + " names no rule \"" + id + "\"";
            return;
        }
        s.rules.push_back(rule->id);
    }
}

} // namespace

std::vector<Suppression> FindSuppressions(const std::string& text)
{
    std::vector<Suppression> found;
    size_t waiting = 0; // of found, those at the end still looking for their element
    int line = 1;
    size_t lineStart = 0, counted = 0;
    const auto lineOf = [&](size_t at) {
        for (; counted < at; ++counted)
            if (text[counted] == '\n') {
                ++line;
                lineStart = counted + 1;
            }
        return line;
    };
    const auto skipTo = [&](size_t from, const char* end) {
        const size_t at = text.find(end, from);
        return at == std::string::npos ? text.size() : at + std::strlen(end);
    };
    for (size_t at = text.find('<'); at != std::string::npos; at = text.find('<', at)) {
        const int atLine = lineOf(at);
        const int atColumn = Utf8Chars(text, lineStart, at) + 1;
        if (text.compare(at, 4, "<!--") == 0) {
            const size_t end = text.find("-->", at + 4);
            const std::string body = Trim(text.substr(at + 4, (end == std::string::npos ? text.size() : end) - at - 4));
            at = end == std::string::npos ? text.size() : end + 3;
            if (body.compare(0, 7, "kvnode:") != 0)
                continue;
            Suppression s;
            s.line = atLine;
            s.column = atColumn;
            ParseDirective(Trim(body.substr(7)), s);
            found.push_back(s);
        } else if (text.compare(at, 9, "<![CDATA[") == 0) {
            at = skipTo(at, "]]>");
        } else if (text.compare(at, 2, "<?") == 0) {
            at = skipTo(at, "?>");
        } else if (text.compare(at, 2, "<!") == 0 || text.compare(at, 2, "</") == 0) {
            at = skipTo(at, ">");
        } else {
            for (; waiting < found.size(); ++waiting) {
                found[waiting].targetLine = atLine;
                found[waiting].targetColumn = atColumn;
            }
            ++at;
        }
    }
    return found;
}

void RegisterSuppressionRules(RuleRegistry& r)
{
    r.Add({kUnusedSuppression, Severity::Warning, "a kvnode: ignore comment that silenced nothing, or names no rule",
           "A comment <!-- kvnode: ignore RULE --> silences RULE on the element that follows it, and <!-- "
           "kvnode: ignore-file RULE --> in the whole file. One that silenced nothing this run (of a rule the "
           "run checks), names an unknown rule or says something else after kvnode: is reported, so stale "
           "silences do not pile up.",
           "<!-- kvnode: ignore unused-varitem -->  (before an element that has no such finding)",
           "(no comment)"});
}

SuppressionFilter::SuppressionFilter(const Controls& controls, std::vector<Suppression> suppressions)
    : m_controls(controls), m_suppressions(std::move(suppressions)), m_used(m_suppressions.size())
{
}

bool SuppressionFilter::Keeps(const Finding& f, const XmlPosition& element)
{
    if (f.rule == kXmlError)
        return true;
    bool silenced = false;
    for (size_t i = 0; i < m_suppressions.size(); ++i) {
        const Suppression& s = m_suppressions[i];
        const bool here = s.wholeFile || (s.targetLine == element.line && s.targetColumn == element.column);
        if (!here || !s.problem.empty())
            continue;
        if (s.rules.empty() || std::find(s.rules.begin(), s.rules.end(), f.rule) != s.rules.end()) {
            m_used[i].insert(f.rule);
            silenced = true;
        }
    }
    return m_controls.Checks(f.rule) && !silenced;
}

std::vector<Finding> SuppressionFilter::Unused(const std::string& file) const
{
    std::vector<Finding> unused;
    for (size_t i = 0; i < m_suppressions.size(); ++i) {
        const Suppression& s = m_suppressions[i];
        const auto add = [&](const std::string& message) {
            unused.push_back(Finding{file, s.line, s.column, kUnusedSuppression, message});
        };
        const char* what = s.wholeFile ? "kvnode: ignore-file" : "kvnode: ignore";
        if (!s.wholeFile && s.problem.empty() && s.targetLine == 0) {
            add(std::string(what) + " has no element after it to silence");
        } else if (!s.problem.empty()) {
            add(s.problem);
        } else if (s.rules.empty()) {
            if (m_used[i].empty())
                add(std::string(what) + " silenced nothing" + (s.wholeFile ? "" : " on the element that follows"));
        } else {
            for (const RuleId rule : s.rules)
                if (m_controls.Checks(rule) && !m_used[i].count(rule))
                    add(std::string(what) + " " + std::string(rule) + " silenced nothing" +
                        (s.wholeFile ? "" : " on the element that follows"));
        }
    }
    return unused;
}

} // namespace kvnode
