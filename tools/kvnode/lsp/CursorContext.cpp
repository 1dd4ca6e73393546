#include "lsp/CursorContext.h"

#include <cstring>

namespace kvnode {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool EndsName(char c) { return IsBlank(c) || std::strchr("<>/=\"'", c); }

// the names of the attributes a start tag writes from `from` to its end
void AttributesAfter(const std::string& text, size_t from, std::vector<std::pair<std::string, std::string>>& out)
{
    size_t at = from;
    while (at < text.size() && !EndsName(text[at])) // the name under the cursor is being typed
        ++at;
    while (at < text.size() && text[at] != '>' && text[at] != '<') {
        if (text[at] == '"' || text[at] == '\'') {
            const size_t close = text.find(text[at], at + 1);
            if (close == std::string::npos)
                return;
            at = close + 1;
        } else if (!EndsName(text[at])) {
            const size_t start = at;
            while (at < text.size() && !EndsName(text[at]))
                ++at;
            out.emplace_back(text.substr(start, at - start), std::string());
        } else {
            ++at;
        }
    }
}

} // namespace

CursorContext CursorContext::Of(const std::string& text, size_t offset)
{
    CursorContext c;
    c.where = Where::Content;
    size_t i = 0;
    const auto skipPast = [&](const char* end) {
        const size_t at = text.find(end, i);
        if (at == std::string::npos || at + std::strlen(end) > offset)
            return false;
        i = at + std::strlen(end);
        return true;
    };
    while (i < offset) {
        if (text[i] != '<') {
            ++i;
            continue;
        }
        if (text.compare(i, 4, "<!--") == 0 || text.compare(i, 9, "<![CDATA[") == 0 || text.compare(i, 2, "<?") == 0 ||
            text.compare(i, 2, "<!") == 0 || text.compare(i, 2, "</") == 0) {
            const bool end = text.compare(i, 2, "</") == 0;
            const char* close = text.compare(i, 4, "<!--") == 0 ? "-->"
                                : text.compare(i, 9, "<![CDATA[") == 0 ? "]]>"
                                : text.compare(i, 2, "<?") == 0 ? "?>"
                                                                  : ">";
            if (!skipPast(close)) {
                c.where = Where::Elsewhere;
                return c;
            }
            if (end && !c.open.empty())
                c.open.pop_back();
            continue;
        }
        // a start tag: its name, then attributes up to '>' or "/>"
        c.element.clear();
        c.attributes.clear();
        size_t at = ++i;
        while (at < text.size() && !EndsName(text[at]))
            ++at;
        if (at >= offset) {
            c.where = Where::ElementName;
            c.wordStart = i;
            return c;
        }
        c.element = text.substr(i, at - i);
        const auto attributeName = [&](size_t wordStart) {
            c.where = Where::AttributeName;
            c.wordStart = wordStart;
            AttributesAfter(text, offset, c.attributes);
            return c;
        };
        for (;;) {
            while (at < offset && IsBlank(text[at]))
                ++at;
            if (at >= offset)
                return attributeName(offset);
            if (text[at] == '>' || text.compare(at, 2, "/>") == 0) {
                const bool closed = text[at] == '/';
                i = at + (closed ? 2 : 1);
                if (i > offset) { // between '/' and '>'
                    c.where = Where::Elsewhere;
                    return c;
                }
                if (!closed) {
                    OpenElement e{c.element, std::string()};
                    for (const auto& a : c.attributes)
                        if (a.first == "name")
                            e.name = a.second;
                    c.open.push_back(e);
                }
                break;
            }
            if (text[at] == '<') { // a tag left unfinished while another is typed
                i = at;
                break;
            }
            const size_t nameStart = at;
            while (at < text.size() && !EndsName(text[at]))
                ++at;
            if (at >= offset)
                return attributeName(nameStart);
            const std::string name = text.substr(nameStart, at - nameStart);
            while (at < offset && (IsBlank(text[at]) || text[at] == '='))
                ++at;
            if (at < offset && (text[at] == '"' || text[at] == '\'')) {
                const size_t close = text.find(text[at], at + 1);
                if (close == std::string::npos || close >= offset) {
                    c.where = Where::AttributeValue;
                    c.attribute = name;
                    c.valueStart = at + 1;
                    const size_t comma = text.rfind(',', offset - 1);
                    c.wordStart = comma != std::string::npos && comma >= c.valueStart ? comma + 1 : c.valueStart;
                    return c;
                }
                c.attributes.emplace_back(name, text.substr(at + 1, close - at - 1));
                at = close + 1;
            } else if (at < offset && nameStart == at) {
                ++at; // a stray character: no name, no value
            }
        }
    }
    c.element.clear();
    c.attributes.clear();
    c.wordStart = offset;
    return c;
}

} // namespace kvnode
