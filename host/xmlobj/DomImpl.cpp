#include "DomImpl.h"

#include <xmlobj/CXMLUnknown.h>
#include <xmlobj/ClassType.h>
#include <xmlobj/ObjIterator.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <mutex>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace {

// The immortal copy of a short attribute name, one per process (up to a
// bound). The pools of the threads hold copies of these: immortal copies
// made by a pool itself would be lost, never freed, when its thread ends.
bool SharedName(const char* name, size_t length, CString& out)
{
    constexpr size_t kMaxNames = 4096;
    static auto* lock = new std::mutex;
    static auto* names = new std::unordered_map<std::string, CString>;
    std::lock_guard<std::mutex> guard(*lock);
    auto it = names->find(std::string(name, length));
    if (it == names->end()) {
        if (names->size() >= kMaxNames)
            return false;
        it = names->emplace(std::string(name, length), CString::Immortal(name, static_cast<int>(length))).first;
    }
    out = it->second;
    return true;
}

// Attribute names repeat on every element: each thread keeps a copy of each
// short name it meets (up to a bound), so reading an attribute allocates
// only its value.
class NamePool {
public:
    CString Get(const char* name, size_t length)
    {
        if (length > kMaxLength)
            return CString(name, static_cast<int>(length));
        const size_t h = HashText(name, length);
        for (size_t probe = 0; probe < kSlots; ++probe) {
            Slot& s = m_slots[(h + probe) % kSlots];
            if (s.name.IsEmpty()) {
                if (m_used >= kSlots / 2 || !SharedName(name, length, s.name))
                    break;
                ++m_used;
                return s.name;
            }
            if (static_cast<size_t>(s.name.GetLength()) == length && SameBytes(s.name.GetString(), name, length))
                return s.name;
        }
        return CString(name, static_cast<int>(length));
    }

private:
    static constexpr size_t kMaxLength = 32;
    static constexpr size_t kSlots = 512;
    struct Slot {
        CString name;
    };
    Slot m_slots[kSlots];
    size_t m_used = 0;
};

} // namespace

CString TextPool::Get(const char* text, size_t length)
{
    if (length == 0 || length > kMaxLength)
        return CString(text, static_cast<int>(length));
    if (!m_slots)
        m_slots.reset(new Slot[kSlots]);
    const std::uint32_t h = HashText(text, length);
    for (size_t probe = 0; probe < kMaxProbes; ++probe) {
        Slot& s = m_slots[(h + probe) % kSlots];
        if (s.text.IsEmpty()) {
            if (m_used >= kSlots / 4 * 3)
                break;
            ++m_used;
            s.hash = h;
            s.text = CString(text, static_cast<int>(length));
            return s.text;
        }
        if (s.hash == h && static_cast<size_t>(s.text.GetLength()) == length &&
            SameBytes(s.text.GetString(), text, length))
            return s.text;
    }
    return CString(text, static_cast<int>(length));
}

namespace {

NamePool& Names()
{
    thread_local NamePool pool;
    return pool;
}

bool IsXmlChar(std::uint32_t cp) noexcept
{
    return cp == 0x9 || cp == 0xA || cp == 0xD || (cp >= 0x20 && cp <= 0xD7FF) || (cp >= 0xE000 && cp <= 0xFFFD) ||
           (cp >= 0x10000 && cp <= 0x10FFFF);
}

// Bytes as a table of flags: building one costs less than searching a set per byte.
struct ByteSet {
    bool has[256] = {};
    explicit ByteSet(const char* bytes, bool controls = false)
    {
        for (const char* b = bytes; *b; ++b)
            has[static_cast<unsigned char>(*b)] = true;
        for (int c = 0; controls && c < 0x20; ++c)
            has[c] = true;
    }
    bool operator()(char c) const noexcept { return has[static_cast<unsigned char>(c)]; }
};

bool IsValidName(const char* name) noexcept
{
    static const ByteSet badFirst("-.0123456789");
    static const ByteSet bad(" \t\r\n<>&\"'=/?!;,()[]{}%#$*+\\^`|~@");
    if (!*name || badFirst(*name))
        return false;
    for (const char* p = name; *p; ++p)
        if (bad(*p))
            return false;
    return true;
}

// the entity reference an escaped character is written as, or null for one
// written as a character reference
const char* NamedReference(char c) noexcept
{
    switch (c) {
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    case '"': return "&quot;";
    default: return nullptr;
    }
}

// Appends text with the characters escaped that pugixml escapes: in an
// attribute value & < " and every control character; in text & < > and
// the control characters but tab and line feed. pugixml leaves a carriage
// return in text raw, which the next reader takes for a line end: written as
// a reference, it survives. Runs of bytes above 0x7F go through appendGbk.
template <class AppendGbk>
void AppendEscaped(std::string& out, const CString& text, bool attribute, AppendGbk appendGbk)
{
    static const ByteSet inAttribute("&<\"", true);
    static const ByteSet inText = [] {
        ByteSet set("&<>", true);
        for (unsigned char c : {'\t', '\n'})
            set.has[c] = false;
        return set;
    }();
    const ByteSet& special = attribute ? inAttribute : inText;
    const char* s = text.GetString();
    const char* end = s + text.GetLength();
    while (s < end) {
        const char* plain = s;
        while (s < end && !special(*s) && static_cast<unsigned char>(*s) < 0x80)
            ++s;
        out.append(plain, static_cast<size_t>(s - plain)); // ASCII: the same in every encoding written
        if (s == end)
            break;
        if (static_cast<unsigned char>(*s) >= 0x80) {
            plain = s;
            // a character's second byte may be ASCII (0x40..0x7E): take it with its lead
            while (s < end && static_cast<unsigned char>(*s) >= 0x80)
                s += IsGbkLeadByte(static_cast<unsigned char>(*s)) && s + 1 < end ? 2 : 1;
            appendGbk(plain, static_cast<size_t>(s - plain));
            continue;
        }
        if (const char* named = NamedReference(*s)) {
            out += named;
        } else {
            const char reference[] = {'&', '#', static_cast<char>('0' + *s / 10), static_cast<char>('0' + *s % 10), ';'};
            out.append(reference, sizeof reference);
        }
        ++s;
    }
}

// the first name that occurs twice among names, or null
const char* FindDuplicate(const char* const* names, size_t count)
{
    if (count <= 16) {
        for (size_t i = 0; i < count; ++i)
            for (size_t j = i + 1; j < count; ++j)
                if (SameText(names[i], names[j]))
                    return names[j];
        return nullptr;
    }
    std::vector<const char*> sorted(names, names + count);
    std::sort(sorted.begin(), sorted.end(), [](const char* x, const char* y) { return std::strcmp(x, y) < 0; });
    for (size_t i = 1; i < sorted.size(); ++i)
        if (SameText(sorted[i - 1], sorted[i]))
            return sorted[i];
    return nullptr;
}

std::string Quote(const char* s) { return std::string("\"") + s + "\""; }

int SiblingIndex(pugi::xml_node node)
{
    int index = 1;
    for (pugi::xml_node s = node.previous_sibling(node.name()); s; s = s.previous_sibling(node.name()))
        ++index;
    return index;
}

} // namespace

void TextPosition(const char* text, size_t size, size_t offset, XmlEncoding encoding, int& line, int& column)
{
    line = 1;
    column = 1;
    if (offset > size)
        offset = size;
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    const bool utf16 = encoding == XmlEncoding::Utf16LE || encoding == XmlEncoding::Utf16BE;
    for (size_t i = 0; i < offset;) {
        size_t len = 1;
        bool newline = false;
        if (utf16) {
            len = 2;
            const unsigned u = encoding == XmlEncoding::Utf16LE ? (i + 1 < size ? s[i] | (s[i + 1] << 8) : s[i])
                                                                : (i + 1 < size ? (s[i] << 8) | s[i + 1] : s[i] << 8);
            newline = u == '\n';
            if (u >= 0xD800 && u <= 0xDBFF)
                len = 4;
        } else if (encoding == XmlEncoding::Utf8) {
            newline = s[i] == '\n';
            while (i + len < size && (s[i + len] & 0xC0) == 0x80)
                ++len;
        } else {
            newline = s[i] == '\n';
            if (s[i] >= 0x81 && s[i] <= 0xFE && i + 1 < size)
                len = (encoding == XmlEncoding::Gb18030 && s[i + 1] >= 0x30 && s[i + 1] <= 0x39) ? 4 : 2;
        }
        if (newline) {
            ++line;
            column = 1;
        } else {
            ++column;
        }
        i += len;
    }
}

std::string ElementPath(pugi::xml_node node)
{
    std::vector<std::string> steps;
    for (pugi::xml_node n = node; n && n.type() != pugi::node_document; n = n.parent()) {
        if (n.type() != pugi::node_element)
            continue;
        std::string step = n.name();
        if (n.parent().type() != pugi::node_document)
            step += "[" + std::to_string(SiblingIndex(n)) + "]";
        steps.push_back(step);
    }
    std::string path;
    for (auto it = steps.rbegin(); it != steps.rend(); ++it)
        path += (path.empty() ? "" : "/") + *it;
    return path;
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
    const std::string& source = Source();
    if (offset < m_lastOffset) {
        m_lastOffset = 0;
        m_lastLine = m_lastColumn = 1;
    }
    int l, c;
    TextPosition(source.data() + m_lastOffset, source.size() - m_lastOffset, offset - m_lastOffset, XmlEncoding::Gbk, l,
                 c);
    line = m_lastLine + l - 1;
    column = l == 1 ? m_lastColumn + c - 1 : c;
    m_lastOffset = offset;
    m_lastLine = line;
    m_lastColumn = column;
}

XmlDiagnostic MSXML2::IXMLDOMDocument::Impl::At(pugi::xml_node at, const char* place, const std::string& message)
{
    XmlDiagnostic d;
    d.file = fileName;
    d.message = message;
    if (at) {
        d.path = ElementPath(at);
        if (!place && at.offset_debug() >= 0) {
            ElementPosition(at, d.line, d.column);
            return d;
        }
    }
    Position(OffsetOf(place), d.line, d.column);
    return d;
}

void MSXML2::IXMLDOMDocument::Impl::ElementPosition(pugi::xml_node element, int& line, int& column)
{
    // offset_debug points past the opening: at an element's or a processing
    // instruction's name, at a comment's or CDATA section's text
    const ptrdiff_t offset = element.offset_debug();
    if (offset < 0) {
        line = column = 0;
        return;
    }
    ptrdiff_t opening = 0;
    switch (element.type()) {
    case pugi::node_element: opening = 1; break;         // <
    case pugi::node_pi: opening = 2; break;              // <?
    case pugi::node_comment: opening = 4; break;         // <!--
    case pugi::node_cdata: opening = 9; break;           // <![CDATA[
    default: break;
    }
    Position(static_cast<size_t>(offset >= opening ? offset - opening : 0), line, column);
}

// Elements are read in document order, so Position carries on from the last
// one and the whole load stays one pass over the text.
void MSXML2::IXMLDOMDocument::Impl::RecordPosition(const CXMLBase* object, pugi::xml_node element)
{
    if (!positions || !object)
        return;
    XmlPosition& p = (*positions)[object];
    ElementPosition(element, p.line, p.column);
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
// into our GBK text.
bool MSXML2::IXMLDOMDocument::Impl::Unescape(const char* raw, size_t length, pugi::xml_node at, CString& out)
{
    std::string text;
    text.reserve(length);
    for (size_t i = 0; i < length; ++i) {
        size_t plain = i;
        while (plain < length && raw[plain] != '&' && raw[plain] != '<')
            ++plain;
        text.append(raw + i, plain - i);
        if (plain == length)
            break;
        i = plain;
        if (raw[i] == '<')
            return Fail(at, SourcePlace(raw, i), "'<' is not allowed in an attribute value");
        const char* end = static_cast<const char*>(std::memchr(raw + i, ';', length - i));
        if (!end)
            return Fail(at, SourcePlace(raw, i), "'&' that starts no reference (write &amp;)");
        const std::string ref(raw + i + 1, end);
        if (ref == "lt") text += '<';
        else if (ref == "gt") text += '>';
        else if (ref == "amp") text += '&';
        else if (ref == "quot") text += '"';
        else if (ref == "apos") text += '\'';
        else if (ref.size() > 1 && ref[0] == '#') {
            const bool hex = ref[1] == 'x';
            const char* digits = ref.c_str() + (hex ? 2 : 1);
            // digits only (strtoul would take blanks, a sign and "0x" too),
            // the value held past 0x10FFFF so that no length wraps it round
            std::uint32_t cp = 0;
            bool valid = *digits != '\0';
            for (const char* d = digits; valid && *d; ++d) {
                const char c = *d;
                const int v = c >= '0' && c <= '9'           ? c - '0'
                              : hex && c >= 'a' && c <= 'f' ? c - 'a' + 10
                              : hex && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                            : -1;
                valid = v >= 0;
                if (valid && cp <= 0x10FFFF)
                    cp = cp * (hex ? 16 : 10) + static_cast<std::uint32_t>(v);
            }
            if (!valid || !IsXmlChar(cp))
                return Fail(at, SourcePlace(raw, i), "invalid character reference &" + ref + ";");
            if (!AppendCodePointAsGbk(cp, text)) {
                char buf[16];
                std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(cp));
                return Fail(at, SourcePlace(raw, i), std::string("character ") + buf + " cannot be held in GBK");
            }
        } else {
            return Fail(at, SourcePlace(raw, i), "undefined entity &" + ref + ";");
        }
        i = static_cast<size_t>(end - raw);
    }
    out = CString(text.data(), static_cast<int>(text.size()));
    return true;
}

bool MSXML2::IXMLDOMDocument::Impl::ReadAttributes(pugi::xml_node node, const CRuntimeClass* owner, CStringArray& list,
                                                  bool keepClassType)
{
    // gather the attributes once, then fill the list at its final size
    constexpr size_t kTypical = 32;
    const char* nameStore[kTypical];
    const char* valueStore[kTypical];
    std::vector<const char*> moreNames, moreValues;
    const char** names = nameStore;
    const char** texts = valueStore;
    size_t count = 0;
    for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute(), ++count) {
        if (count == kTypical) {
            moreNames.assign(nameStore, nameStore + kTypical);
            moreValues.assign(valueStore, valueStore + kTypical);
        }
        if (count < kTypical) {
            nameStore[count] = a.name();
            valueStore[count] = a.value();
        } else {
            moreNames.push_back(a.name());
            moreValues.push_back(a.value());
        }
    }
    if (count > kTypical) {
        names = moreNames.data();
        texts = moreValues.data();
    }
    // names the same as an earlier element of this class and count had were checked then
    // the names lie in the parsed text, which goes on past each of them:
    // compared a word at a time, as far as the run's name and its end
    const char* const parsed = parsedBase;
    const size_t parsedLength = parsedSize;
    const auto inParsedText = [parsed, parsedLength](const char* p, size_t length) {
        const std::less<const char*> before;
        return parsed && !before(p, parsed) && before(p, parsed + parsedLength) &&
               static_cast<size_t>(parsed + parsedLength - p) > length;
    };
    NameRun* run = FindRun(owner, count, [names, count, inParsedText](const NameRun& r) {
        for (size_t i = 0; i < count; ++i) {
            const size_t length = static_cast<size_t>(r.names[i].GetLength());
            const bool same = inParsedText(names[i], length)
                                  ? SameBytes(r.names[i].GetString(), names[i], length) && names[i][length] == '\0'
                                  : SameText(r.names[i].GetString(), names[i]);
            if (!same)
                return false;
        }
        return true;
    });
    if (!run) {
        if (const char* dup = FindDuplicate(names, count))
            return Fail(node, dup, "duplicate attribute " + Quote(dup));
        NamePool& pool = Names();
        run = &NewRun(owner, count);
        run->names.resize(count);
        run->classTypeAt = count;
        for (size_t i = 0; i < count; ++i) {
            run->names[i] = pool.Get(names[i], std::strlen(names[i]));
            if (SameText(names[i], "classtype"))
                run->classTypeAt = i;
        }
    }
    const size_t skipped = keepClassType ? count : run->classTypeAt;
    // what the object set before it was read (in its constructor) is replaced in
    // place; into an empty list, the attributes go at its final size at once
    const INT_PTR preset = list.GetSize() - 1;
    INT_PTR at = list.GetSize();
    if (preset < 0)
        list.SetSize(2 * static_cast<INT_PTR>(count - (skipped < count ? 1 : 0)));
    static const ByteSet plainEnd = [] {
        ByteSet set("&<");
        set.has[0] = true;
        return set;
    }();
    for (size_t i = 0; i < count; ++i) {
        if (i == skipped)
            continue;
        const char* value = texts[i];
        size_t plain = 0;
        while (!plainEnd(value[plain]))
            ++plain;
        CString text;
        if (value[plain] == '\0')
            text = values.Get(value, plain);
        else if (!Unescape(value, plain + std::strlen(value + plain), node, text))
            return false;
        INT_PTR same = 0;
        while (same < preset && !SameText(list[same], names[i]))
            same += 2;
        if (same < preset) {
            list[same + 1] = std::move(text);
        } else if (preset < 0) {
            list[at++] = run->names[i];
            list[at++] = std::move(text);
        } else {
            list.Add(run->names[i]);
            list.Add(std::move(text));
        }
    }
    return true;
}

bool MSXML2::IXMLDOMDocument::Impl::ReadText(pugi::xml_node node, CString& text)
{
    const char* value = node.value();
    const size_t length = std::strlen(value);
    if (node.type() == pugi::node_comment) {
        // the parser takes all up to "-->", but XML allows no "--" in a comment (nor would a save)
        const char* dash = std::strstr(value, "--");
        if (!dash && length && value[length - 1] == '-')
            dash = value + length - 1;
        if (dash)
            return Fail(node, SourcePlace(value, static_cast<size_t>(dash - value)),
                        "a comment may not hold \"--\" nor end in \"-\"");
    } else if (node.type() == pugi::node_cdata) {
        // a GBK second byte 0x5D is ']': followed by "]>" it ended the section inside its character
        const size_t bad = FindInvalidGbk(value, length);
        if (bad != length)
            return Fail(node, SourcePlace(value, bad),
                        "a CDATA section cannot hold this character before \"]>\" (write the text outside CDATA)");
    }
    if (node.type() != pugi::node_pcdata) {
        text = value;
        return true;
    }
    // '<' cannot reach a text node: the parser ends the text there
    return Unescape(value, length, node, text);
}

ClassType* MSXML2::IXMLDOMDocument::Impl::LookupClassIndex(const char* index)
{
    const size_t length = std::strlen(index);
    if (length > sizeof(ClassIndexHint::index))
        return ClassType::Lookup(index, length);
    ClassIndexHint& hint = m_classIndexes[HashText(index, length) % kClassIndexHints];
    if (hint.length != length || std::memcmp(hint.index, index, length) != 0) {
        hint.type = ClassType::Lookup(index, length);
        hint.length = length;
        std::memcpy(hint.index, index, length);
    }
    return hint.type;
}

CXMLBase* MSXML2::IXMLDOMDocument::Impl::CreateObjectFor(pugi::xml_node element)
{
    const char* name = element.name();
    CRuntimeClass* rc = nullptr;
    if (pugi::xml_attribute ct = element.attribute("classtype")) {
        ClassType* type = LookupClassIndex(ct.value());
        if (type && type->m_pRuntimeClass)
            rc = type->m_pRuntimeClass;
        else
            Warn(element, nullptr, std::string("unknown class index ") + Quote(ct.value()) + " of <" + name +
                                       ">: the element is kept as it is");
        if (rc && std::strcmp(rc->m_lpszClassName, name) != 0)
            Warn(element, nullptr, std::string("element <") + name + "> has the class index of " +
                                       rc->m_lpszClassName + " and is read as one");
    } else {
        rc = CRuntimeClass::FromName(name);
        if (!rc || !rc->m_pfnCreateObject || !rc->IsDerivedFrom(RUNTIME_CLASS(CXMLBase))) {
            rc = nullptr;
            Warn(element, nullptr, std::string("unknown element <") + name + ">: it is kept as it is");
        }
    }
    if (rc) {
        CObject* object = rc->CreateObject();
        if (object && object->IsKindOf(RUNTIME_CLASS(CXMLBase)))
            return static_cast<CXMLBase*>(object);
        delete object;
    }
    return new CXMLUnknown(CString(name));
}

bool MSXML2::IXMLDOMDocument::Impl::CheckText(const CXMLBase& object, const CString& text, const char* what,
                                              const char* attribute)
{
    const size_t bad = FindInvalidGbk(text.GetString(), static_cast<size_t>(text.GetLength()));
    if (bad == static_cast<size_t>(text.GetLength()))
        return true;
    char buf[64];
    std::snprintf(buf, sizeof buf, " holds byte 0x%02X at %zu, ", static_cast<unsigned char>(text[static_cast<int>(bad)]),
                  bad);
    return FailSave(object, std::string(what) + (attribute ? " " + Quote(attribute) : std::string()) + buf +
                                "which is not a valid GBK character XML can hold");
}

// Checks the names of list and keeps them in run when they pass. A buffer
// run shares cannot change in place, so equal pointers mean equal names.
bool MSXML2::IXMLDOMDocument::Impl::CheckNames(const CXMLBase& object, const CStringArray& list, NameRun& run)
{
    const size_t pairs = static_cast<size_t>(list.GetSize() / 2);
    constexpr size_t kTypical = 32;
    const char* nameStore[kTypical];
    std::vector<const char*> moreNames(pairs > kTypical ? pairs : 0);
    const char** names = pairs > kTypical ? moreNames.data() : nameStore;
    run.classTypeAt = pairs;
    for (size_t i = 0; i < pairs; ++i) {
        const char* name = list[static_cast<INT_PTR>(2 * i)];
        names[i] = name;
        if (SameText(name, "classtype"))
            run.classTypeAt = i;
        if (!IsValidName(name) || !CheckText(object, list[static_cast<INT_PTR>(2 * i)], "an attribute name"))
            return FailSave(object, "attribute name " + Quote(name) + " is not a valid XML name");
    }
    if (const char* dup = FindDuplicate(names, pairs))
        return FailSave(object, "duplicate attribute " + Quote(dup));
    run.names.resize(pairs);
    for (size_t i = 0; i < pairs; ++i)
        run.names[i] = list[static_cast<INT_PTR>(2 * i)];
    run.plainNames = std::all_of(run.names.begin(), run.names.end(), [](const CString& name) {
        return std::all_of(name.GetString(), name.GetString() + name.GetLength(),
                           [](char c) { return c > 0x20 && c < 0x7F; });
    });
    return true;
}

bool MSXML2::IXMLDOMDocument::Impl::WriteAttributes(const CXMLBase& object)
{
    // the name a host gave an unknown element is written as it is
    const char* element = object.GetElementName();
    // the tree does not change during a save, so a name checked once keeps its address
    const char*& checked = m_checkedElements[(reinterpret_cast<std::uintptr_t>(element) >> 3) % kCheckedElements];
    if (checked != element) {
        if (!IsValidName(element) || !CheckText(object, CString(element), "an element name"))
            return FailSave(object, "element name " + Quote(element) + " is not a valid XML name");
        checked = element;
    }
    const CStringArray& list = object.GetAttList();
    const size_t pairs = static_cast<size_t>(list.GetSize() / 2);
    // names the same as an earlier element of this class and count had were checked then
    NameRun* run = FindRun(object.GetRuntimeClass(), pairs, [&list, pairs](const NameRun& r) {
        for (size_t i = 0; i < pairs; ++i) {
            const CString& name = list[static_cast<INT_PTR>(2 * i)];
            if (name.GetString() != r.names[i].GetString() && name != r.names[i])
                return false;
        }
        return true;
    });
    if (!run) {
        run = &NewRun(object.GetRuntimeClass(), pairs);
        if (!CheckNames(object, list, *run))
            return false;
    }
    const auto write = [this](const char* name, const CString& value) {
        text += ' ';
        AppendGbk(name, std::strlen(name));
        text += "=\"";
        AppendEscaped(text, value, true, [this](const char* s, size_t n) { AppendGbk(s, n); });
        text += '"';
    };
    const CString classIndex = object.GetClassIndex();
    static const CString classType = CString::Immortal("classtype", 9);
    if (!classIndex.IsEmpty() && run->classTypeAt == pairs && !AppendShortAttribute(classType, classIndex))
        write("classtype", classIndex);
    for (size_t i = 0; i < pairs; ++i) {
        const CString& name = list[static_cast<INT_PTR>(2 * i)];
        const CString& value = list[static_cast<INT_PTR>(2 * i + 1)];
        if (run->plainNames && AppendShortAttribute(name, value))
            continue;
        if (!CheckText(object, value, "attribute", name))
            return false;
        write(name, value);
    }
    return true;
}

// Most attributes are short: written into a line of their own, escaped and
// converted as they go, one append writes them. name is printable ASCII
// already. A value with a control character, a byte that is not GBK or a
// character only the general conversion answers writes nothing and returns
// false, and the general path says what is wrong with it.
bool MSXML2::IXMLDOMDocument::Impl::AppendShortAttribute(const CString& name, const CString& value)
{
    constexpr size_t kLongestName = 64, kLongestValue = 64;
    const size_t nameLength = static_cast<size_t>(name.GetLength());
    const size_t valueLength = static_cast<size_t>(value.GetLength());
    if (nameLength > kLongestName || valueLength > kLongestValue)
        return false;
    char line[kLongestName + 6 * kLongestValue + 4]; // "&quot;" is the longest a byte becomes
    size_t n = 0;
    line[n++] = ' ';
    const char* nameText = name.GetString();
    for (size_t i = 0; i < nameLength; ++i)
        line[n++] = nameText[i];
    line[n++] = '=';
    line[n++] = '"';
    const auto* v = reinterpret_cast<const unsigned char*>(value.GetString());
    const auto put = [&](const char* s) {
        while (*s)
            line[n++] = *s++;
    };
    static const ByteSet special = [] {
        ByteSet set("&<\"", true);
        for (int c = 0x80; c < 0x100; ++c)
            set.has[c] = true;
        return set;
    }();
    for (size_t i = 0; i < valueLength; ++i) {
        const unsigned char c = v[i];
        if (!special(static_cast<char>(c)))
            line[n++] = static_cast<char>(c);
        else if (const char* named = NamedReference(static_cast<char>(c)))
            put(named);
        else if (i + 1 == valueLength || !IsGbkPair(c, v[i + 1])) // a control character is no lead byte either
            return false;
        else if (textEncoding == XmlEncoding::Gbk) {
            line[n++] = static_cast<char>(c);
            line[n++] = static_cast<char>(v[++i]);
        } else {
            const size_t written = GbkPairToUtf8(c, v[i + 1], line + n);
            if (written == 0)
                return false;
            n += written;
            ++i;
        }
    }
    line[n++] = '"';
    text.append(line, n);
    return true;
}

void MSXML2::IXMLDOMDocument::Impl::AppendGbk(const char* gbk, size_t size)
{
    size_t ascii = 0;
    while (ascii < size && gbk[ascii] >= 0x20 && gbk[ascii] < 0x7F)
        ++ascii;
    if (ascii == size)
        text.append(gbk, size);
    else if (textError.message.empty())
        AppendGbkAs(textEncoding, gbk, size, text, textError);
}

// The layout follows pugixml's indented output, so that documents keep the
// bytes they had when pugixml wrote them: an element, comment or end tag
// starts a new, indented line unless text came just before it.
void MSXML2::IXMLDOMDocument::Impl::CloseStartTag()
{
    if (m_startTagOpen)
        text += '>';
    m_startTagOpen = false;
}

void MSXML2::IXMLDOMDocument::Impl::NewLineAndIndent()
{
    if (m_newLine)
        text += '\n';
    if (m_indent)
        text.append(2 * m_openElements.size(), ' ');
}

void MSXML2::IXMLDOMDocument::Impl::BeginElement(const char* name)
{
    CloseStartTag();
    NewLineAndIndent();
    text += '<';
    AppendGbk(name, std::strlen(name));
    m_openElements.push_back(name);
    m_startTagOpen = true;
    m_newLine = m_indent = true;
}

void MSXML2::IXMLDOMDocument::Impl::EndElement()
{
    const char* name = m_openElements.back();
    m_openElements.pop_back();
    if (m_startTagOpen) {
        text += " />";
        m_startTagOpen = false;
    } else {
        NewLineAndIndent();
        text += "</";
        AppendGbk(name, std::strlen(name));
        text += '>';
    }
    m_newLine = m_indent = true;
}

void MSXML2::IXMLDOMDocument::Impl::WriteText(CXMLText::Kind kind, const CString& value)
{
    CloseStartTag();
    if (kind == CXMLText::Comment) {
        NewLineAndIndent();
        text += "<!--";
        AppendGbk(value.GetString(), std::strlen(value.GetString()));
        text += "-->";
        m_newLine = m_indent = true;
        return;
    }
    if (kind == CXMLText::Text) {
        AppendEscaped(text, value, false, [this](const char* s, size_t n) { AppendGbk(s, n); });
    } else {
        // "]]>" cannot stand in a section: it ends one after "]]" and the next starts with ">"
        const std::string_view data(value.GetString(), static_cast<size_t>(value.GetLength()));
        size_t from = 0;
        do {
            const size_t close = data.find("]]>", from);
            const size_t to = close == std::string_view::npos ? data.size() : close + 2;
            text += "<![CDATA[";
            AppendGbk(data.data() + from, to - from);
            text += "]]>";
            from = to;
        } while (from < data.size());
    }
    m_newLine = m_indent = false;
}

void MSXML2::IXMLDOMDocument::Impl::EndDocument()
{
    if (m_newLine)
        text += '\n';
}
