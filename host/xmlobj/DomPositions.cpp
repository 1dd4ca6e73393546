// Where things are: lines and columns of offsets in the text read, the
// paths of elements and objects, and the findings that carry both.
#include "DomImpl.h"

#include <xmlobj/ObjIterator.h>

#include <algorithm>
#include <cstring>

size_t CharacterLength(const char* text, size_t size, size_t at, XmlEncoding encoding) noexcept
{
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    size_t length = 1;
    switch (encoding) {
    case XmlEncoding::Utf16LE:
    case XmlEncoding::Utf16BE: {
        const unsigned high = at + 1 < size ? s[at + (encoding == XmlEncoding::Utf16LE ? 1 : 0)] : 0;
        length = high >= 0xD8 && high <= 0xDB ? 4 : 2;
        break;
    }
    case XmlEncoding::Utf8:
        while (length < 4 && at + length < size && (s[at + length] & 0xC0) == 0x80)
            ++length;
        break;
    case XmlEncoding::Gbk:
    case XmlEncoding::Gb18030:
        if (s[at] >= 0x81 && at + 1 < size)
            length = encoding == XmlEncoding::Gb18030 && s[at + 1] >= 0x30 && s[at + 1] <= 0x39 ? 4 : 2;
        break;
    }
    return std::min(length, size - at);
}

// CR, LF and CR LF each end a line: a CR followed by LF is counted with the LF.
void TextPosition(const char* text, size_t size, size_t offset, XmlEncoding encoding, int& line, int& column)
{
    line = 1;
    column = 1;
    if (offset > size)
        offset = size;
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    const bool utf16 = encoding == XmlEncoding::Utf16LE || encoding == XmlEncoding::Utf16BE;
    const auto unitAt = [&](size_t i) -> unsigned {
        if (!utf16)
            return i < size ? s[i] : 0;
        if (i + 1 >= size)
            return i < size ? s[i] : 0;
        return encoding == XmlEncoding::Utf16LE ? s[i] | (s[i + 1] << 8) : (s[i] << 8) | s[i + 1];
    };
    const size_t unit = utf16 ? 2 : 1;
    for (size_t i = 0; i < offset; i += CharacterLength(text, size, i, encoding)) {
        const unsigned u = unitAt(i);
        if (u == '\r' && unitAt(i + unit) == '\n') {
            // the LF that follows ends the line
        } else if (u == '\n' || u == '\r') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
}

int MSXML2::IXMLDOMDocument::Impl::SiblingIndex(pugi::xml_node node)
{
    // back to the nearest same-named sibling counted before: messages come
    // in document order, so each sibling is passed once
    int steps = 0;
    for (pugi::xml_node s = node; s; s = s.previous_sibling(node.name()), ++steps) {
        const auto known = m_siblingIndexes.find(s.internal_object());
        if (known != m_siblingIndexes.end()) {
            steps += known->second;
            break;
        }
    }
    const int index = steps;
    m_siblingIndexes[node.internal_object()] = index;
    return index;
}

std::string PathText(const std::vector<PathStep>& steps)
{
    // a path too deep to read keeps its first and last steps
    constexpr size_t kEnds = 4;
    std::string path;
    for (size_t depth = 0; depth < steps.size(); ++depth) {
        if (steps.size() > 3 * kEnds && depth >= kEnds && depth < steps.size() - kEnds) {
            if (depth == kEnds)
                path += "/... " + std::to_string(steps.size() - 2 * kEnds) + " more ...";
            continue;
        }
        if (!path.empty())
            path += '/';
        path += steps[depth].name;
        if (depth > 0)
            path += "[" + std::to_string(steps[depth].index()) + "]";
    }
    return path;
}

std::string MSXML2::IXMLDOMDocument::Impl::PathOf(pugi::xml_node node)
{
    std::vector<PathStep> steps;
    for (pugi::xml_node n = node; n && n.type() != pugi::node_document; n = n.parent())
        if (n.type() == pugi::node_element)
            steps.push_back({n.name(), [this, n] { return SiblingIndex(n); }});
    std::reverse(steps.begin(), steps.end());
    return PathText(steps);
}

std::string MSXML2::IXMLDOMDocument::Impl::OpenedAt(size_t offset)
{
    int line, column;
    Position(offset, line, column);
    return "opened at line " + std::to_string(line) + ", column " + std::to_string(column);
}

std::string ObjectPath(const CXMLBase* object)
{
    std::vector<std::string> steps;
    for (const CXMLBase* o = object; o; o = o->GetParent()) {
        std::string step = o->GetElementName();
        if (const CXMLBase* parent = o->GetParent()) {
            int index = 0;
            ObjIterator* it = parent->CreateIterator();
            for (it->First(); !it->IsDone(); it->Next()) {
                const CXMLBase* sibling = it->CurrentItem();
                if (sibling && std::strcmp(sibling->GetElementName(), o->GetElementName()) == 0)
                    ++index;
                if (sibling == o)
                    break;
            }
            parent->DeleteIterator(it);
            step += "[" + std::to_string(index) + "]";
        }
        steps.push_back(step);
    }
    std::string path;
    for (auto it = steps.rbegin(); it != steps.rend(); ++it)
        path += (path.empty() ? "" : "/") + *it;
    return path;
}

size_t MSXML2::IXMLDOMDocument::Impl::OffsetOf(const char* place) const noexcept
{
    if (!place || !parsedBase || place < parsedBase || place > parsedBase + parsedSize)
        return 0;
    return static_cast<size_t>(place - parsedBase);
}

const std::string& MSXML2::IXMLDOMDocument::Impl::Source()
{
    if (m_source.size() != parsedSize) {
        TextError ignored; // the same conversion succeeded before the parse
        ConvertToGbk(input, inputSize, inputEncoding, m_source, ignored);
        m_source.resize(parsedSize);
    }
    return m_source;
}

void MSXML2::IXMLDOMDocument::Impl::Position(size_t offset, int& line, int& column)
{
    const XmlPosition p = PositionOf(offset);
    line = p.line;
    column = p.column;
}

// Lines and characters are counted in the GBK text the parser read, and the
// input's bytes beside them: each character of the one is a character of the other.
XmlPosition MSXML2::IXMLDOMDocument::Impl::PositionOf(size_t offset)
{
    const std::string& source = Source();
    offset = std::min(offset, source.size());
    if (offset < m_lastParsed) {
        m_lastParsed = 0;
        m_last = XmlPosition{1, 1, 0};
    }
    const auto* s = reinterpret_cast<const unsigned char*>(source.data());
    const size_t asciiInput = inputEncoding == XmlEncoding::Utf16LE || inputEncoding == XmlEncoding::Utf16BE ? 2 : 1;
    size_t at = m_lastParsed, in = m_last.offset;
    int line = m_last.line, column = m_last.column;
    while (at < offset) {
        const unsigned char c = s[at];
        if (c == '\r' && at + 1 < source.size() && s[at + 1] == '\n') {
            // the LF that follows ends the line
        } else if (c == '\n' || c == '\r') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
        if (c < 0x80) {
            ++at;
            in += asciiInput;
        } else {
            at += CharacterLength(source.data(), source.size(), at, XmlEncoding::Gbk);
            in += CharacterLength(input, inputSize, in, inputEncoding);
        }
    }
    m_lastParsed = at;
    m_last = XmlPosition{line, column, in};
    return XmlPosition{line, column, inputMark + in};
}

size_t MSXML2::IXMLDOMDocument::Impl::OffsetPast(size_t from, std::string_view terminator)
{
    const std::string& source = Source();
    // a byte below 0x40 is never a GBK character's second byte: a plain search finds it
    if (static_cast<unsigned char>(terminator[0]) < 0x40) {
        const size_t found = source.find(terminator.data(), from, terminator.size());
        return found == std::string::npos ? source.size() : found + terminator.size();
    }
    for (size_t i = from; i < source.size(); i += CharacterLength(source.data(), source.size(), i, XmlEncoding::Gbk))
        if (source.compare(i, terminator.size(), terminator) == 0)
            return i + terminator.size();
    return source.size();
}

XmlDiagnostic MSXML2::IXMLDOMDocument::Impl::At(pugi::xml_node at, const char* place, const std::string& message)
{
    XmlDiagnostic d;
    d.file = fileName;
    d.message = message;
    if (at) {
        d.path = PathOf(at);
        if (!place && at.offset_debug() >= 0) {
            ElementPosition(at, d.line, d.column);
            return d;
        }
    }
    Position(OffsetOf(place), d.line, d.column);
    return d;
}

namespace {

// the bytes before the place pugixml records for a construct: its '<' and what follows it
size_t OpeningLength(pugi::xml_node_type type)
{
    switch (type) {
    case pugi::node_element: return 1;     // <
    case pugi::node_pi:
    case pugi::node_declaration: return 2; // <?
    case pugi::node_comment: return 4;     // <!--
    case pugi::node_cdata: return 9;       // <![CDATA[
    default: return 0;
    }
}

} // namespace

void MSXML2::IXMLDOMDocument::Impl::ElementPosition(pugi::xml_node element, int& line, int& column)
{
    // offset_debug points at the name or the text; the construct starts at its '<'
    const ptrdiff_t offset = element.offset_debug();
    if (offset < 0) {
        line = column = 0;
        return;
    }
    const auto opening = static_cast<ptrdiff_t>(OpeningLength(element.type()));
    Position(static_cast<size_t>(offset >= opening ? offset - opening : 0), line, column);
}

// Elements are read in document order, so the places carry on from the last
// one and the whole load stays one pass over the text. What the parser
// moved or cut short (values, texts) is measured in the text as read: each
// construct ends at the first of its terminators, which it cannot hold.
void MSXML2::IXMLDOMDocument::Impl::RecordPosition(const CXMLBase* object, pugi::xml_node node)
{
    if (!positions || !object || node.offset_debug() < 0)
        return;
    const std::string& source = Source();
    XmlMarkup& markup = (*positions)[object];
    const size_t opening = OpeningLength(node.type());
    const auto at = static_cast<size_t>(node.offset_debug());
    const size_t start = at >= opening ? at - opening : 0;
    markup.range.start = PositionOf(start);
    const auto range = [this](size_t from, size_t to) { return XmlRange{PositionOf(from), PositionOf(to)}; };
    size_t end = start;
    switch (node.type()) {
    case pugi::node_element: {
        end = OffsetOf(node.name()) + std::strlen(node.name());
        markup.nameRange = range(OffsetOf(node.name()), end);
        NamePool& names = NamePool::OfThisThread();
        for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) {
            const size_t name = OffsetOf(a.name()), value = OffsetOf(a.value());
            const char quote = value > 0 ? source[value - 1] : '"';
            end = std::min(source.find(quote, value), source.size());
            const size_t nameLength = std::strlen(a.name());
            markup.attributes.push_back(
                XmlAttributeMarkup{names.Get(a.name(), nameLength), range(name, name + nameLength), range(value, end)});
        }
        end = OffsetPast(end, ">");
        break;
    }
    case pugi::node_pcdata: end = std::min(source.find('<', start), source.size()); break;
    case pugi::node_comment: end = OffsetPast(start + opening, "-->"); break;
    case pugi::node_cdata: end = OffsetPast(start + opening, "]]>"); break;
    case pugi::node_pi: end = OffsetPast(start + opening, "?>"); break;
    default: break;
    }
    markup.range.end = PositionOf(end);
}

bool MSXML2::IXMLDOMDocument::Impl::Fail(pugi::xml_node at, const char* place, const std::string& message)
{
    if (!failed) {
        failed = true;
        error = At(at, place, message);
    }
    return false;
}

void MSXML2::IXMLDOMDocument::Impl::Warn(pugi::xml_node at, const char* place, const std::string& message)
{
    warnings.push_back(At(at, place, message));
}

bool MSXML2::IXMLDOMDocument::Impl::FailSave(const CXMLBase& object, const std::string& message)
{
    if (!failed) {
        failed = true;
        error = XmlDiagnostic();
        error.file = fileName;
        error.message = message;
        error.path = ObjectPath(&object);
    }
    return false;
}

// The parser folds CR LF into one character inside a value and moves the
// rest of the value up; source still has both, so walk it to find where a
// character of a value stood.
const char* MSXML2::IXMLDOMDocument::Impl::SourcePlace(const char* value, size_t index)
{
    if (!parsedBase || value < parsedBase || value > parsedBase + parsedSize)
        return value + index;
    const std::string& source = Source();
    size_t at = static_cast<size_t>(value - parsedBase);
    for (; index > 0 && at < source.size(); --index)
        at += source[at] == '\r' && at + 1 < source.size() && source[at + 1] == '\n' ? 2 : 1;
    return parsedBase + at;
}

// Attribute values and text are parsed with their references left in place,
// so that each one is checked here: the parser would pass an undefined
// entity through, and would write a character reference above 0x7F as UTF-8
