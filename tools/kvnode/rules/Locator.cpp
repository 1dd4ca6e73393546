#include "rules/Locator.h"

#include "model/Model.h"

#include <map>

namespace kvnode {

namespace {

std::string Step(const CXMLBase& object)
{
    CString name;
    object.GetAttText("name", name);
    return std::string(object.GetElementName()) + (name.IsEmpty() ? "" : "[name=" + Utf8(name) + "]");
}

// the text as an attribute value quoted by quote can hold it
std::string Escaped(const std::string& text, char quote)
{
    std::string out;
    for (const char c : text) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == quote)
            out += quote == '"' ? "&quot;" : "&apos;";
        else
            out += c;
    }
    return out;
}

} // namespace

const std::string& Locator::PathOf(const CXMLBase& object)
{
    const auto known = m_paths.find(&object);
    if (known != m_paths.end())
        return known->second;
    const CXMLBase* parent = object.GetParent();
    if (!parent)
        return m_paths[&object] = Step(object);
    // every child of the parent at once: each is counted among its siblings once
    const std::string& above = PathOf(*parent);
    std::map<std::string, int> seen;
    for (const CXMLBase* child : ChildrenOf(*parent)) {
        const std::string step = Step(*child);
        const int n = ++seen[step];
        m_paths[child] = above + "/" + step + (n > 1 ? "[" + std::to_string(n) + "]" : "");
    }
    // what a plain object keeps unread is no child in its lists
    const auto listed = m_paths.find(&object);
    return listed != m_paths.end() ? listed->second : m_paths[&object] = above + "/" + Step(object);
}

bool Locator::Place(const XmlMarkup& markup, const Finding& f, Fix& fix) const
{
    std::string bytes;
    if (fix.part == Fix::Part::Element) {
        if (!m_text.Encode(fix.text, bytes))
            return false;
        fix.edits.push_back(Fix::Edit{markup.nameRange.start.offset, markup.nameRange.end.offset, bytes});
        size_t end = 0;
        const size_t closing = m_text.ClosingTag(markup.range.end.offset, end);
        if (closing != std::string::npos)
            fix.edits.push_back(Fix::Edit{closing, end, bytes});
        return m_text.Bytes().compare(fix.edits[0].begin, fix.edits[0].end - fix.edits[0].begin, bytes) != 0;
    }
    for (const XmlAttributeMarkup& a : markup.attributes) {
        if (Utf8(a.name) != f.attribute)
            continue;
        const XmlRange& range = fix.part == Fix::Part::Name ? a.nameRange : a.valueRange;
        size_t begin = range.start.offset, end = range.end.offset;
        std::string text = fix.text;
        if (fix.part != Fix::Part::Name) {
            const size_t unit = m_text.Unit();
            text = Escaped(text, begin >= unit ? m_text.At(begin - unit) : '"');
        }
        if (fix.part == Fix::Part::Subject && !f.subject.empty()) {
            std::string subject;
            if (!m_text.Encode(f.subject, subject))
                return false;
            begin = m_text.Find(subject, begin, end);
            if (begin == std::string::npos)
                return false;
            end = begin + subject.size();
        }
        if (!m_text.Encode(text, bytes) || m_text.Bytes().compare(begin, end - begin, bytes) == 0)
            return false;
        fix.edits.push_back(Fix::Edit{begin, end, bytes});
        return true;
    }
    return false;
}

void Locator::Locate(Finding& f)
{
    if (!f.object)
        return;
    f.path = PathOf(*f.object);
    // a text's findings are its element's, as comments silence them
    const CXMLBase* element =
        f.object->IsKindOf(RUNTIME_CLASS(CXMLText)) && f.object->GetParent() ? f.object->GetParent() : f.object;
    if (const XmlMarkup* at = m_doc.GetMarkup(element))
        f.elementOffset = at->range.start.offset;
    const XmlMarkup* markup = m_doc.GetMarkup(f.object);
    if (f.fix && (!markup || !Place(*markup, f, *f.fix)))
        f.fix.reset();
}

} // namespace kvnode
