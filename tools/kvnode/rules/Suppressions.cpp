#include "rules/Suppressions.h"

#include "model/SourceText.h"
#include "model/Spelling.h"
#include "rules/Controls.h"
#include "rules/Families.h"

#include <algorithm>
#include <cstring>

namespace kvnode {

namespace {

const char kSpace[] = " \t\r\n";
const std::vector<std::string> kControls = {"ignore", "ignore-file"};

std::string Trim(const std::string& s)
{
    const size_t begin = s.find_first_not_of(kSpace);
    if (begin == std::string::npos)
        return std::string();
    return s.substr(begin, s.find_last_not_of(kSpace) - begin + 1);
}

// the ids of a list separated by commas or blanks
std::vector<std::string> Words(const std::string& list)
{
    std::vector<std::string> words;
    size_t at = 0;
    while ((at = list.find_first_not_of(", \t\r\n", at)) != std::string::npos) {
        const size_t end = std::min(list.find_first_of(", \t\r\n", at), list.size());
        words.push_back(list.substr(at, end - at));
        at = end;
    }
    return words;
}

// the control a word is a near miss of ("Ignore", "ignroe", "ignore_file"), or empty
std::string NearControl(const std::string& word)
{
    static const Speller controls(kControls, true);
    const Suggestion s = controls.Closest(word);
    if (!s.word.empty())
        return s.word;
    return LowerAscii(word).compare(0, 6, "ignore") == 0 ? kControls[LowerAscii(word).find("file") != std::string::npos] : "";
}

bool AllRuleIds(const std::vector<std::string>& words)
{
    return !words.empty() && std::all_of(words.begin(), words.end(), [](const std::string& w) { return FindRule(w); });
}

// What a comment says to kvnode; false for a comment that says nothing to it.
bool ParseComment(const std::string& comment, Suppression& s)
{
    const std::string body = Trim(comment);
    // the word the comment opens with, up to a colon or a blank
    const size_t wordEnd = std::min(body.find_first_of(": \t\r\n"), body.size());
    std::string head = LowerAscii(body.substr(0, wordEnd));
    head.erase(std::remove(head.begin(), head.end(), '-'), head.end());
    if (head != "kvnode")
        return false;
    const bool exactPrefix = body.compare(0, 7, "kvnode:") == 0;
    std::string rest = Trim(body.substr(wordEnd));
    if (!rest.empty() && rest[0] == ':')
        rest = Trim(rest.substr(1));
    const size_t directiveEnd = std::min(rest.find_first_of(kSpace), rest.size());
    const std::string directive = rest.substr(0, directiveEnd);
    const std::vector<std::string> ids = Words(rest.substr(directiveEnd));
    const bool control = directive == kControls[0] || directive == kControls[1];
    const std::string near = control ? directive : NearControl(directive);
    if (!near.empty() && (!control || !exactPrefix)) {
        s.problem = "\"" + Trim(body.substr(0, body.find(directive) + directive.size())) +
                    "\" is no kvnode control (did you mean \"kvnode: " + near + "\"?)";
        return true;
    }
    if (!control) {
        // prose, unless what follows reads as a list of rules
        if (!exactPrefix || !AllRuleIds(ids))
            return false;
        s.problem = "unknown kvnode comment \"" + directive + "\" (ignore or ignore-file)";
        return true;
    }
    s.wholeFile = directive == kControls[1];
    std::vector<std::string> known;
    for (const Rule& r : Rules())
        known.emplace_back(r.id);
    for (const std::string& id : ids) {
        const Rule* rule = FindRule(id);
        if (!rule) {
            s.problem = "kvnode: " + directive + " names no rule \"" + id + "\"" + DidYouMean(Closest(id, known));
            return true;
        }
        s.rules.push_back(rule->id);
    }
    return true;
}

// Where a place in the text is: its line, and its column in characters,
// counted on from the last place asked for, so that a walk through the text
// counts each character once however long its lines.
class Cursor {
public:
    explicit Cursor(const std::string& text) : m_text(text) {}

    std::pair<int, int> At(size_t offset)
    {
        for (; m_offset < offset; ++m_offset) {
            if (m_text[m_offset] == '\n') {
                ++m_line;
                m_column = 1;
            } else if ((static_cast<unsigned char>(m_text[m_offset]) & 0xC0) != 0x80) {
                ++m_column;
            }
        }
        return {m_line, m_column};
    }

private:
    const std::string& m_text;
    size_t m_offset = 0;
    int m_line = 1;
    int m_column = 1;
};

// the end of a start or end tag that opens at `at`, past quoted values; npos if none
size_t TagEnd(const std::string& text, size_t at)
{
    for (size_t i = at + 1; i < text.size(); ++i) {
        if (text[i] == '"' || text[i] == '\'') {
            i = text.find(text[i], i + 1);
            if (i == std::string::npos)
                return i;
        } else if (text[i] == '>') {
            return i;
        }
    }
    return std::string::npos;
}

} // namespace

std::vector<Suppression> FindSuppressions(const std::string& text)
{
    std::vector<Suppression> found;
    size_t waiting = 0; // of found, those at the end still looking for their element
    Cursor places(text);
    std::vector<std::pair<int, int>> open; // the '<' of each element still open
    std::pair<int, int> lastTag{0, 0};     // the element of the last tag, and the line it ended on
    int lastTagLine = 0;
    const auto skipTo = [&](size_t from, const char* end) {
        const size_t at = text.find(end, from);
        return at == std::string::npos ? text.size() : at + std::strlen(end);
    };
    for (size_t at = text.find('<'); at != std::string::npos && at < text.size(); at = text.find('<', at)) {
        const std::pair<int, int> place = places.At(at);
        if (text.compare(at, 4, "<!--") == 0) {
            const size_t end = text.find("-->", at + 4);
            const size_t stop = end == std::string::npos ? text.size() : end;
            Suppression s;
            if (ParseComment(text.substr(at + 4, stop - at - 4), s)) {
                s.line = place.first;
                s.column = place.second;
                s.trailing = !s.wholeFile && lastTagLine == place.first;
                if (s.trailing) {
                    s.targetLine = lastTag.first;
                    s.targetColumn = lastTag.second;
                }
                found.push_back(s);
                if (s.trailing || s.wholeFile)
                    std::swap(found.back(), found[waiting++]); // already placed: none waits before it
            }
            at = end == std::string::npos ? text.size() : end + 3;
        } else if (text.compare(at, 9, "<![CDATA[") == 0) {
            at = skipTo(at, "]]>");
        } else if (text.compare(at, 2, "<?") == 0) {
            at = skipTo(at, "?>");
        } else if (text.compare(at, 2, "<!") == 0) {
            at = skipTo(at, ">");
        } else {
            const size_t end = TagEnd(text, at);
            if (end == std::string::npos)
                break;
            if (text[at + 1] == '/') {
                lastTag = open.empty() ? place : open.back();
                if (!open.empty())
                    open.pop_back();
            } else {
                lastTag = place;
                if (text[end - 1] != '/')
                    open.push_back(place);
                for (; waiting < found.size(); ++waiting) {
                    found[waiting].targetLine = place.first;
                    found[waiting].targetColumn = place.second;
                }
            }
            lastTagLine = places.At(end).first;
            at = end + 1;
        }
    }
    std::stable_sort(found.begin(), found.end(), [](const Suppression& a, const Suppression& b) {
        return std::make_pair(a.line, a.column) < std::make_pair(b.line, b.column);
    });
    return found;
}

void RegisterSuppressionRules(RuleRegistry& r)
{
    r.Add({kUnusedSuppression, Severity::Warning,
           "a kvnode: ignore comment that silenced nothing, names no rule, or nearly says ignore",
           "A comment <!-- kvnode: ignore RULE --> after an element on its line silences RULE on that element; "
           "on a line of its own, on the element that follows; <!-- kvnode: ignore-file RULE --> in the whole "
           "file. One that silenced nothing this run (of a rule the run checks), names an unknown rule, or "
           "nearly says ignore (another case, no colon, a misspelt word) is reported, so that stale or broken "
           "silences do not pile up. Other comments that begin with kvnode: are prose.",
           "<!-- kvnode: ignroe unused-varitem -->", "<!-- kvnode: ignore unused-varitem -->"});
}

SuppressionFilter::SuppressionFilter(const Controls& controls, std::vector<Suppression> suppressions)
    : m_controls(controls), m_suppressions(std::move(suppressions)), m_used(m_suppressions.size())
{
    for (size_t i = 0; i < m_suppressions.size(); ++i) {
        const Suppression& s = m_suppressions[i];
        if (!s.problem.empty())
            continue;
        if (s.wholeFile)
            m_wholeFile.push_back(i);
        else if (s.target)
            m_byElement[s.target].push_back(i);
    }
}

bool SuppressionFilter::Silences(size_t i, const Finding& f)
{
    const Suppression& s = m_suppressions[i];
    if (!s.rules.empty() && std::find(s.rules.begin(), s.rules.end(), f.rule) == s.rules.end())
        return false;
    m_used[i].insert(f.rule);
    return true;
}

bool SuppressionFilter::Keeps(const Finding& f)
{
    if (f.rule == kXmlError)
        return true;
    bool silenced = false;
    for (const size_t i : m_wholeFile)
        silenced = Silences(i, f) || silenced;
    // a text's findings are its element's
    const CXMLBase* element = f.object && f.object->IsKindOf(RUNTIME_CLASS(CXMLText)) ? f.object->GetParent() : f.object;
    const auto here = m_byElement.find(element);
    if (element && here != m_byElement.end())
        for (const size_t i : here->second)
            silenced = Silences(i, f) || silenced;
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
        const char* where = s.wholeFile ? "" : s.trailing ? " on its element" : " on the element that follows";
        if (!s.problem.empty()) {
            add(s.problem);
        } else if (!s.wholeFile && !s.target) {
            add(std::string(what) + " has no element after it to silence");
        } else if (s.rules.empty()) {
            if (m_used[i].empty())
                add(std::string(what) + " silenced nothing" + where);
        } else {
            for (const RuleId rule : s.rules)
                if (m_controls.Checks(rule) && !m_used[i].count(rule))
                    add(std::string(what) + " " + std::string(rule) + " silenced nothing" + where);
        }
    }
    return unused;
}

} // namespace kvnode
