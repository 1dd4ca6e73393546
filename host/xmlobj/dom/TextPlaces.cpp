// Where things are in the text read: the line, column and offset of a byte
// of the parsed text, and the extents of what the parser moved or cut short.
#include "TextPlaces.h"
#include "Places.h"
#include "TextPool.h"

#include <xmlobj/text/CodePage936.h>
#include <xmlobj/text/Utf8Sequence.h>
#include <xmlobj/text/XmlEncodingImpl.h>

#include <algorithm>
#include <cstring>

using namespace kvnodedefine;

TextPlaces::TextPlaces(const char* input, size_t inputSize, size_t inputMark, XmlEncoding inputEncoding) noexcept
    : input(input), inputSize(inputSize), inputMark(inputMark), inputEncoding(inputEncoding)
{
}

std::string TextPlaces::OpenedAt(size_t offset)
{
    int line, column;
    Position(offset, line, column);
    return "opened at line " + std::to_string(line) + ", column " + std::to_string(column);
}

size_t TextPlaces::OffsetOf(const char* place) const noexcept
{
    if (!place || !parsedBase || place < parsedBase || place > parsedBase + parsedSize)
        return 0;
    return static_cast<size_t>(place - parsedBase);
}

const std::string& TextPlaces::Source()
{
    if (m_source.size() != parsedSize) {
        TextError ignored; // the same conversion succeeded before the parse
        ConvertToGbk(input, inputSize, inputEncoding, m_source, ignored);
        m_source.resize(parsedSize);
    }
    return m_source;
}

namespace {

// The character at s of the text as read (n bytes there, in a valid text):
// how many bytes it takes there and in the GBK text parsed, and what it is
// when it is ASCII (0x80 when not).
void StepCharacter(const unsigned char* s, size_t n, XmlEncoding encoding, size_t& inputLength, size_t& parsedLength,
                   unsigned& ascii)
{
    std::uint32_t cp = s[0];
    inputLength = 1;
    switch (encoding) {
    case XmlEncoding::Utf8:
        inputLength = std::max<size_t>(1, Utf8SequenceLength(s, n, cp));
        break;
    case XmlEncoding::Utf16LE:
    case XmlEncoding::Utf16BE: {
        const auto unit = [&](size_t i) -> std::uint32_t {
            return i + 1 >= n ? 0 : encoding == XmlEncoding::Utf16LE ? s[i] | s[i + 1] << 8 : s[i] << 8 | s[i + 1];
        };
        cp = unit(0);
        inputLength = cp >= 0xD800 && cp <= 0xDBFF ? 4 : 2;
        break;
    }
    case XmlEncoding::Gbk:
    case XmlEncoding::Gb18030:
        if (IsGbkLeadByte(s[0]) && n >= 2) {
            inputLength = encoding == XmlEncoding::Gb18030 && s[1] >= 0x30 && s[1] <= 0x39 ? 4 : 2;
            // GB18030's euro sign is a pair, code page 936's a byte
            cp = encoding == XmlEncoding::Gb18030 && s[0] == 0xA2 && s[1] == 0xE3 ? kEuroSign : 0x80;
        } else if (s[0] == kEuroByte) {
            cp = kEuroSign;
        }
        break;
    }
    inputLength = std::min(inputLength, n);
    parsedLength = cp < 0x80 || cp == kEuroSign ? 1 : 2;
    ascii = cp < 0x80 ? cp : 0x80;
}

} // namespace

void TextPlaces::Position(size_t offset, int& line, int& column)
{
    const XmlPosition p = PositionOf(offset);
    line = p.line;
    column = p.column;
}

// the place of a byte of the parsed text, and the offset of its character in the bytes the load was given
XmlPosition TextPlaces::PositionOf(size_t offset)
{
    if (offset < m_cursor.parsed)
        m_cursor = Cursor();
    const auto* s = reinterpret_cast<const unsigned char*>(input);
    Cursor& c = m_cursor;
    size_t inputLength, parsedLength, nextInput, nextParsed;
    unsigned ascii, next;
    while (c.parsed < offset && c.input < inputSize) {
        StepCharacter(s + c.input, inputSize - c.input, inputEncoding, inputLength, parsedLength, ascii);
        if (ascii == '\r' && c.input + inputLength < inputSize) {
            StepCharacter(s + c.input + inputLength, inputSize - c.input - inputLength, inputEncoding, nextInput,
                          nextParsed, next);
            ascii = next == '\n' ? 0 : ascii; // CR LF ends a line once, at the LF
        }
        if (ascii == '\n' || ascii == '\r') {
            ++c.line;
            c.column = 1;
        } else if (ascii != 0) {
            ++c.column;
        }
        c.input += inputLength;
        c.parsed += parsedLength;
    }
    return XmlPosition{c.line, c.column, inputMark + c.input};
}

size_t TextPlaces::OffsetPast(size_t from, std::string_view terminator)
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

void TextPlaces::ElementPosition(pugi::xml_node element, int& line, int& column)
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
void TextPlaces::Mark(pugi::xml_node node, XmlMarkup& markup)
{
    const std::string& source = Source();
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

// The parser folds CR LF into one character inside a value and moves the
// rest of the value up; source still has both, so walk it to find where a
// character of a value stood.
const char* TextPlaces::SourcePlace(const char* value, size_t index)
{
    if (!parsedBase || value < parsedBase || value > parsedBase + parsedSize)
        return value + index;
    const std::string& source = Source();
    size_t at = static_cast<size_t>(value - parsedBase);
    for (; index > 0 && at < source.size(); --index)
        at += source[at] == '\r' && at + 1 < source.size() && source[at + 1] == '\n' ? 2 : 1;
    return parsedBase + at;
}
