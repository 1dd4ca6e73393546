// Why the parser stopped, said for an engineer: what the end of a file cut
// short and which element is still open, where a declaration stood.
#include "ParseErrors.h"
#include "TextPlaces.h"
#include "Places.h"
#include "XmlNames.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <string_view>

using namespace kvnodedefine;

namespace {

bool IsBlank(char c) noexcept { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The tags of a text as far as the end (or stop), read without the parser:
// which elements are open there, and what construct the text ends inside.
// Only for explaining why the parser stopped.
struct TagScan {
    struct Open {
        std::string name;
        size_t at;
        int index;                           // among its same-named siblings
        std::map<std::string, int> children; // how many of each name it has had so far
    };
    std::vector<Open> open;
    std::vector<Open> openAtStop; // the elements open before the construct at stop
    std::map<std::string, int> topLevel;
    std::string endsInside; // what the text ends inside, "" when it ends between constructs
    size_t insideAt = 0;    // where that began (the quote of a value)

    TagScan(std::string_view text, size_t stop)
    {
        size_t i = 0;
        const auto cut = [&](const std::string& what, size_t at) {
            endsInside = what;
            insideAt = at;
            i = std::string_view::npos;
        };
        const auto nameAt = [&text](size_t at) {
            size_t end = at;
            while (end < text.size() && !IsBlank(text[end]) && !std::strchr("/>=<'\"", text[end]))
                ++end;
            return std::string(text.substr(at, end - at));
        };
        bool stopped = false;
        while (i < text.size()) {
            const size_t lt = text.find('<', i);
            if (!stopped && lt >= stop) {
                openAtStop = open;
                stopped = true;
            }
            if (lt == std::string_view::npos)
                break;
            const std::string_view rest = text.substr(lt);
            const auto skipTo = [&](std::string_view close, const char* what) {
                const size_t end = text.find(close, lt + 2);
                if (end == std::string_view::npos)
                    cut(what, lt);
                else
                    i = end + close.size();
            };
            if (rest.substr(0, 4) == "<!--") {
                skipTo("-->", "a comment, which has no closing \"-->\"");
            } else if (rest.substr(0, 9) == "<![CDATA[") {
                skipTo("]]>", "a CDATA section, which has no closing \"]]>\"");
            } else if (rest.substr(0, 2) == "<?") {
                skipTo("?>", "a processing instruction, which has no closing \"?>\"");
            } else if (rest.substr(0, 2) == "<!") {
                skipTo(">", "a document type declaration");
            } else if (rest.substr(0, 2) == "</") {
                const std::string name = nameAt(lt + 2);
                const size_t gt = text.find('>', lt);
                if (gt == std::string_view::npos) {
                    cut("the end tag </" + name + ">, which has no closing '>'", lt);
                    break;
                }
                if (!open.empty())
                    open.pop_back();
                i = gt + 1;
            } else {
                const std::string name = nameAt(lt + 1);
                size_t j = lt + 1 + name.size();
                while (j < text.size() && text[j] != '>') {
                    if (text[j] == '"' || text[j] == '\'') {
                        const size_t close = text.find(text[j], j + 1);
                        if (close == std::string_view::npos) {
                            size_t n = j;
                            while (n > lt && (IsBlank(text[n - 1]) || text[n - 1] == '='))
                                --n;
                            size_t a = n;
                            while (a > lt && !IsBlank(text[a - 1]) && text[a - 1] != '<')
                                --a;
                            cut("the value of attribute \"" + std::string(text.substr(a, n - a)) + "\" of <" + name +
                                    ">, which has no closing quote (" + text[j] + ")",
                                j);
                            break;
                        }
                        j = close;
                    }
                    ++j;
                }
                if (i == std::string_view::npos)
                    break;
                if (j >= text.size()) {
                    cut("the start tag of <" + name + ">, which has no closing '>'", lt);
                    break;
                }
                const int index = ++(open.empty() ? topLevel : open.back().children)[name];
                if (text[j - 1] != '/')
                    open.push_back({name, lt, index, {}});
                i = j + 1;
            }
        }
        if (!stopped)
            openAtStop = open;
    }
};

std::string Lower(const char* s)
{
    std::string r(s);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return r;
}

} // namespace

std::string ExplainParseError(const pugi::xml_parse_result& parsed, TextPlaces& places, size_t& offset,
                              std::string& path)
{
    const std::string& source = places.Source();
    offset = std::min(static_cast<size_t>(parsed.offset), source.size());
    const bool atEnd = source.find_first_not_of(" \t\r\n", offset) == std::string::npos ||
                       offset + 1 >= source.size();
    // the elements open are those before the construct the parser stopped in
    const size_t before = source.rfind('<', offset);
    const TagScan scan(source, atEnd || before == std::string::npos ? source.size() : before);
    std::vector<PathStep> steps;
    for (const TagScan::Open& open : scan.openAtStop)
        steps.push_back({open.name, [index = open.index] { return index; }});
    path = PathText(steps);
    if (!scan.endsInside.empty() && scan.insideAt <= offset) {
        offset = scan.insideAt;
        return "the file ends inside " + scan.endsInside;
    }
    // a declaration that the parser found in the wrong place or with something else in it
    const size_t pi = source.rfind("<?", offset);
    if (pi != std::string::npos && IsXmlTarget(std::string_view(source).substr(pi + 2, 3)) &&
        (pi + 5 >= source.size() || IsBlank(source[pi + 5]) || source[pi + 5] == '?') &&
        offset <= std::min(source.find("?>", pi), source.size() - 2) + 2) {
        if (pi > 0 || parsed.status == pugi::status_bad_pi) {
            offset = pi;
            return "an XML declaration may only stand at the very start of the file (remove this one)";
        }
        return "the XML declaration may hold only version, encoding and standalone, as name=\"value\"";
    }
    if (parsed.status == pugi::status_end_element_mismatch) {
        if (atEnd && !scan.openAtStop.empty()) {
            const TagScan::Open& open = scan.openAtStop.back();
            offset = source.size();
            return "the file ends before </" + open.name + "> that closes the element " + places.OpenedAt(open.at) +
                   (scan.openAtStop.size() > 1
                        ? " (" + std::to_string(scan.openAtStop.size()) + " elements are open)"
                        : "");
        }
        // pugixml's words name no tag; the offset stands on the end tag's name
        size_t length = 0;
        while (offset + length < source.size() && !std::strchr(" \t\r\n>", source[offset + length]))
            ++length;
        std::string message = "end tag </" + source.substr(offset, length) + ">";
        if (scan.openAtStop.empty())
            return message + " closes no open element";
        return message + " does not match <" + scan.openAtStop.back().name + "> " + places.OpenedAt(scan.openAtStop.back().at);
    }
    return Lower(parsed.description());
}

// Names that differ only in trail bytes hidden from the parser look the same
// to it: such an end tag is compared here, before the parse, as written.
size_t FindHiddenEndTagMismatch(const char* text, size_t size, const std::vector<std::pair<size_t, char>>& hiddenTrails)
{
    const std::string_view t(text, size);
    // most texts have no end tag whose name hides a byte: only those are read in full
    bool hiding = false;
    for (size_t lt = t.find("</"); lt != std::string_view::npos && !hiding; lt = t.find("</", lt + 2))
        for (size_t i = lt + 2; i < size && !IsBlank(t[i]) && t[i] != '>' && !hiding; ++i)
            hiding = t[i] == kHiddenTrail;
    if (!hiding)
        return std::string_view::npos;
    const auto original = [&hiddenTrails, text](size_t at) {
        if (text[at] != kHiddenTrail)
            return text[at];
        const auto hidden = std::lower_bound(hiddenTrails.begin(), hiddenTrails.end(), std::make_pair(at, '\0'));
        return hidden != hiddenTrails.end() && hidden->first == at ? hidden->second : text[at];
    };
    const auto nameEnd = [&t](size_t at) {
        while (at < t.size() && !IsBlank(t[at]) && !std::strchr("/>", t[at]))
            ++at;
        return at;
    };
    std::vector<std::string_view> open;
    for (size_t lt = t.find('<'); lt != std::string_view::npos; ) {
        const std::string_view rest = t.substr(lt);
        const auto skipPast = [&](std::string_view close, size_t from) {
            const size_t end = t.find(close, from);
            return end == std::string_view::npos ? end : end + close.size();
        };
        size_t next;
        if (rest.substr(0, 4) == "<!--") {
            next = skipPast("-->", lt + 4);
        } else if (rest.substr(0, 9) == "<![CDATA[") {
            next = skipPast("]]>", lt + 9);
        } else if (rest.substr(0, 2) == "<?") {
            next = skipPast("?>", lt + 2);
        } else if (rest.substr(0, 2) == "<!") {
            next = skipPast(">", lt + 2);
        } else if (rest.substr(0, 2) == "</") {
            const std::string_view name = t.substr(lt + 2, nameEnd(lt + 2) - lt - 2);
            if (open.empty() || open.back() != name)
                return std::string_view::npos; // the parser says what is wrong here
            for (size_t i = 0; i < name.size(); ++i)
                if (original(static_cast<size_t>(name.data() - text) + i) !=
                    original(static_cast<size_t>(open.back().data() - text) + i))
                    return lt + 2;
            open.pop_back();
            next = skipPast(">", lt + 2);
        } else {
            const size_t end = nameEnd(lt + 1);
            size_t i = end;
            while (i < size && t[i] != '>') {
                if (t[i] == '"' || t[i] == '\'') {
                    i = t.find(t[i], i + 1);
                    if (i == std::string_view::npos)
                        return i;
                }
                ++i;
            }
            if (i >= size)
                return std::string_view::npos;
            if (t[i - 1] != '/')
                open.push_back(t.substr(lt + 1, end - lt - 1));
            next = i + 1;
        }
        if (next == std::string_view::npos)
            return next;
        lt = t.find('<', next);
    }
    return std::string_view::npos;
}

