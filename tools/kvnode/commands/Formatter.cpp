#include "commands/Formatter.h"

#include "model/AttributeOrder.h"
#include "model/Model.h"

#include <xmlobj/CXMLUnknown.h>

#include <algorithm>

namespace kvnode {

namespace {

bool IsUtf16(XmlEncoding e) { return e == XmlEncoding::Utf16LE || e == XmlEncoding::Utf16BE; }

// the children an object writes back: its own, or what a plain object's element held
std::vector<const CXMLBase*> WrittenChildren(const CXMLBase& object)
{
    std::vector<const CXMLBase*> children = ChildrenOf(object);
    if (const CXMLComposite* content = object.GetContent())
        for (int i = 0; i < content->GetChildCount(); ++i)
            if (const CXMLBase* child = content->GetChild(i))
                children.push_back(child);
    return children;
}

const CXMLText* AsText(const CXMLBase& object)
{
    return object.IsKindOf(RUNTIME_CLASS(CXMLText)) ? static_cast<const CXMLText*>(&object) : nullptr;
}

} // namespace

Formatter::Formatter(const CXMLDocument& doc, const std::string& bytes)
    : m_doc(doc), m_bytes(bytes), m_encoding(doc.GetEncoding())
{
    XmlEncoding detected;
    TextError error;
    if (!DetectEncoding(bytes.data(), bytes.size(), detected, m_mark, error))
        m_mark = 0;
    m_unit = IsUtf16(m_encoding) ? 2 : 1;
    // the first line end of the file sets them all
    m_lineEnd = "\n";
    for (size_t at = m_mark + m_unit; at <= bytes.size(); at += m_unit) {
        const unsigned unit = UnitBefore(at);
        if (unit == '\n' || unit == '\r') {
            const bool crlf = unit == '\r' && at + m_unit <= bytes.size() && UnitBefore(at + m_unit) == '\n';
            m_lineEnd = crlf ? "\r\n" : unit == '\r' ? "\r" : "\n";
            break;
        }
    }
}

unsigned Formatter::UnitBefore(size_t offset) const
{
    if (offset < m_mark + m_unit)
        return 0;
    const auto byte = [this](size_t i) { return static_cast<unsigned char>(m_bytes[i]); };
    if (m_unit == 1)
        return byte(offset - 1);
    return m_encoding == XmlEncoding::Utf16LE ? byte(offset - 2) | byte(offset - 1) << 8
                                              : byte(offset - 2) << 8 | byte(offset - 1);
}

size_t Formatter::StepBack(size_t offset) const { return offset - m_unit; }

// Blanks and line ends are ASCII, and no byte of another character of the
// encodings read (a GBK or UTF-8 trail byte) is one of them: stepping back
// over them unit by unit never lands inside a character.
bool Formatter::StartsLine(size_t offset) const
{
    while (UnitBefore(offset) == ' ' || UnitBefore(offset) == '\t')
        offset = StepBack(offset);
    const unsigned before = UnitBefore(offset);
    return before == 0 || before == '\n' || before == '\r';
}

bool Formatter::BlankLineBefore(size_t offset) const
{
    for (int lineEnds = 0; lineEnds < 2; ++lineEnds) {
        while (UnitBefore(offset) == ' ' || UnitBefore(offset) == '\t')
            offset = StepBack(offset);
        const unsigned before = UnitBefore(offset);
        if (before != '\n' && before != '\r')
            return false;
        offset = StepBack(offset);
        if (before == '\n' && UnitBefore(offset) == '\r')
            offset = StepBack(offset);
    }
    return true;
}

bool Formatter::ContainsQuote(const XmlRange& range) const
{
    for (size_t at = range.start.offset + m_unit; at <= range.end.offset; at += m_unit)
        if (UnitBefore(at) == '"')
            return true;
    return false;
}

void Formatter::Ascii(const char* text)
{
    for (const char* c = text; *c; ++c) {
        if (m_encoding == XmlEncoding::Utf16BE)
            m_out += '\0';
        m_out += *c;
        if (m_encoding == XmlEncoding::Utf16LE)
            m_out += '\0';
    }
}

void Formatter::Raw(size_t from, size_t to) { m_out.append(m_bytes, from, to - from); }
void Formatter::Raw(const XmlRange& range) { Raw(range.start.offset, range.end.offset); }

void Formatter::Break(size_t depth, size_t offset, bool first)
{
    Ascii(m_lineEnd.c_str());
    if (!first && BlankLineBefore(offset))
        Ascii(m_lineEnd.c_str());
    for (size_t i = 0; i < depth; ++i)
        Ascii("  ");
}

bool Formatter::Fail(const CXMLBase* object, const std::string& problem)
{
    m_problem = problem;
    m_problemObject = object;
    return false;
}

// The declaration as written, laid out: its version, its encoding name
// unless the copy changes the encoding, and standalone. The library
// checked it: pseudo-attributes in ASCII, in this order.
void Formatter::Declaration(XmlEncoding to)
{
    std::string text;
    for (size_t at = m_mark + m_unit; at <= m_bytes.size(); at += m_unit) {
        const unsigned unit = UnitBefore(at);
        if (unit == 0 || unit >= 0x80)
            break;
        text += static_cast<char>(unit);
        if ((text.size() == 5 && text != "<?xml") || (text.size() > 6 && text.compare(text.size() - 2, 2, "?>") == 0))
            break;
    }
    const bool declared = text.size() > 6 && text.compare(0, 5, "<?xml") == 0 &&
                          (text[5] == ' ' || text[5] == '\t' || text[5] == '\r' || text[5] == '\n') &&
                          text.compare(text.size() - 2, 2, "?>") == 0;
    std::vector<std::pair<std::string, std::string>> pseudo;
    for (size_t at = 5; declared && at < text.size() - 2;) {
        const size_t name = text.find_first_not_of(" \t\r\n", at);
        const size_t equals = text.find('=', name);
        const size_t open = text.find_first_of("\"'", equals);
        if (name >= text.size() - 2 || open == std::string::npos)
            break;
        const size_t close = text.find(text[open], open + 1);
        pseudo.emplace_back(text.substr(name, text.find_first_of(" \t\r\n=", name) - name),
                            text.substr(open + 1, close - open - 1));
        at = close + 1;
    }
    if (pseudo.empty())
        pseudo.emplace_back("version", "1.0");
    const auto encoding = std::find_if(pseudo.begin(), pseudo.end(), [](const auto& p) { return p.first == "encoding"; });
    if (to != m_encoding || (encoding == pseudo.end() && !declared)) {
        if (encoding != pseudo.end())
            encoding->second = XmlEncodingName(to);
        else
            pseudo.emplace(pseudo.begin() + 1, "encoding", XmlEncodingName(to));
    }
    std::string line = "<?xml";
    for (const auto& p : pseudo)
        line += " " + p.first + "=\"" + p.second + "\"";
    Ascii((line + "?>").c_str());
    m_newLine = true;
}

bool Formatter::Node(const CXMLBase& object, size_t depth, bool first)
{
    const XmlMarkup* markup = m_doc.GetMarkup(&object);
    if (!markup)
        return Fail(&object, "no place in the text is known for it");
    const size_t start = markup->range.start.offset;
    if (const CXMLText* text = AsText(object)) {
        // a text is written where it stands, nothing put before or after it, so that it reads the same
        const bool keptInLine = text->GetKind() == CXMLText::Text || text->GetKind() == CXMLText::CData;
        if (m_newLine && !keptInLine) {
            if (StartsLine(start))
                Break(depth, start, first);
            else
                Ascii(" "); // a comment at the end of a line stays there: it speaks of what the line holds
        }
        Raw(markup->range);
        m_newLine = !keptInLine;
        return true;
    }
    if (m_newLine)
        Break(depth, start, first);
    Ascii("<");
    Raw(markup->nameRange);
    for (const size_t i : CanonicalOrder(object, markup->attributes)) {
        const XmlAttributeMarkup& a = markup->attributes[i];
        const char* quote = ContainsQuote(a.valueRange) ? "'" : "\"";
        Ascii(" ");
        Raw(a.nameRange);
        Ascii("=");
        Ascii(quote);
        Raw(a.valueRange);
        Ascii(quote);
    }
    const std::vector<const CXMLBase*> children = WrittenChildren(object);
    if (children.empty()) {
        Ascii(" />");
        m_newLine = true;
        return true;
    }
    Ascii(">");
    m_newLine = true;
    for (size_t i = 0; i < children.size(); ++i)
        if (!Node(*children[i], depth + 1, i == 0))
            return false;
    if (m_newLine)
        Break(depth, markup->range.end.offset, true);
    Ascii("</");
    Raw(markup->nameRange);
    Ascii(">");
    m_newLine = true;
    return true;
}

bool Formatter::Format(XmlEncoding to, std::string& out)
{
    m_out.clear();
    m_out.reserve(m_bytes.size() + m_bytes.size() / 8);
    if (to == m_encoding)
        Raw(0, m_mark);
    Declaration(to);
    const CXMLComposite& before = m_doc.GetBeforeRoot();
    const CXMLComposite& after = m_doc.GetAfterRoot();
    for (int i = 0; i < before.GetChildCount(); ++i)
        if (!Node(*before.GetChild(i), 0, false))
            return false;
    if (!m_doc.GetRoot() || !Node(*m_doc.GetRoot(), 0, false))
        return m_problem.empty() ? Fail(nullptr, "the document has no root element") : false;
    for (int i = 0; i < after.GetChildCount(); ++i)
        if (!Node(*after.GetChild(i), 0, false))
            return false;
    Ascii(m_lineEnd.c_str());
    if (to == m_encoding) {
        out.swap(m_out);
    } else {
        std::string gbk;
        TextError error;
        if (!ConvertToGbk(m_out.data(), m_out.size(), m_encoding, gbk, error) ||
            !(to == XmlEncoding::Gbk ? (out.swap(gbk), true) : ConvertFromGbk(gbk.data(), gbk.size(), to, out, error)))
            return Fail(nullptr, "the copy cannot be written in " + std::string(XmlEncodingName(to)) + ": " +
                                     Utf8(error.message.data(), error.message.size()));
    }
    // the guard: the copy must read as the document did
    CXMLDocument copy;
    if (!copy.LoadXml(out.data(), out.size()))
        return Fail(nullptr, "the copy would not load: " + DiagnosticText(copy.GetError()));
    std::string what;
    if (const CXMLBase* differs = FirstDifference(m_doc, copy, what))
        return Fail(differs, what);
    return true;
}

namespace {

// the attributes as the host reads them, in one order
std::vector<std::pair<std::string, std::string>> Reading(const CXMLBase& object)
{
    const CStringArray& list = object.GetAttList();
    std::vector<std::pair<std::string, std::string>> pairs;
    for (INT_PTR i = 0; i + 1 < list.GetSize(); i += 2)
        pairs.emplace_back(std::string(list[i].GetString(), static_cast<size_t>(list[i].GetLength())),
                           std::string(list[i + 1].GetString(), static_cast<size_t>(list[i + 1].GetLength())));
    std::sort(pairs.begin(), pairs.end());
    return pairs;
}

const CXMLBase* Differs(const CXMLBase& a, const CXMLBase& b, std::string& what)
{
    if (a.GetRuntimeClass() != b.GetRuntimeClass() || std::string(a.GetElementName()) != b.GetElementName()) {
        what = "it would be read as <" + Utf8(CString(b.GetElementName())) + ">";
        return &a;
    }
    const CXMLText* ta = AsText(a);
    const CXMLText* tb = AsText(b);
    if (ta && (ta->GetKind() != tb->GetKind() || ta->GetText() != tb->GetText())) {
        what = "its text would read otherwise";
        return &a;
    }
    const auto ra = Reading(a), rb = Reading(b);
    if (ra != rb) {
        const auto differ = std::mismatch(ra.begin(), ra.end(), rb.begin(), rb.end());
        const std::string name = differ.first != ra.end() ? differ.first->first : differ.second->first;
        what = "attribute \"" + Utf8(name.data(), name.size()) + "\" would read otherwise";
        return &a;
    }
    const std::vector<const CXMLBase*> ca = WrittenChildren(a), cb = WrittenChildren(b);
    for (size_t i = 0; i < ca.size() && i < cb.size(); ++i)
        if (const CXMLBase* d = Differs(*ca[i], *cb[i], what))
            return d;
    if (ca.size() != cb.size()) {
        what = "it would hold " + std::to_string(cb.size()) + " children, not " + std::to_string(ca.size());
        return &a;
    }
    return nullptr;
}

const CXMLBase* DiffersAround(const CXMLComposite& a, const CXMLComposite& b, std::string& what)
{
    for (int i = 0; i < a.GetChildCount() && i < b.GetChildCount(); ++i)
        if (const CXMLBase* d = Differs(*a.GetChild(i), *b.GetChild(i), what))
            return d;
    if (a.GetChildCount() != b.GetChildCount()) {
        what = "the comments and instructions around the root element would differ";
        return a.GetChildCount() ? a.GetChild(0) : nullptr;
    }
    return nullptr;
}

} // namespace

const CXMLBase* FirstDifference(const CXMLDocument& a, const CXMLDocument& b, std::string& what)
{
    if (const CXMLBase* d = DiffersAround(a.GetBeforeRoot(), b.GetBeforeRoot(), what))
        return d;
    if (const CXMLBase* d = a.GetRoot() && b.GetRoot() ? Differs(*a.GetRoot(), *b.GetRoot(), what) : nullptr)
        return d;
    return DiffersAround(a.GetAfterRoot(), b.GetAfterRoot(), what);
}

} // namespace kvnode
