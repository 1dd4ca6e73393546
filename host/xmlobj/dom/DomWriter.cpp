// Writing: objects serialize into text as they go.
#include "DomImpl.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

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


} // namespace

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
        if (!CheckText(object, list[static_cast<INT_PTR>(2 * i)], "an attribute name") || !IsXmlName(name))
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
        if (!CheckText(object, CString(element), "an element name") || !IsXmlName(element))
            return FailSave(object, "element name " + Quote(element) + " is not a valid XML name");
        checked = element;
    }
    const CStringArray& list = object.GetAttList();
    const size_t pairs = static_cast<size_t>(list.GetSize() / 2);
    // names the same as an earlier element of this class and count had were checked then
    NameRun* run = m_nameRuns.Find(object.GetRuntimeClass(), pairs, [&list, pairs](const NameRun& r) {
        for (size_t i = 0; i < pairs; ++i) {
            const CString& name = list[static_cast<INT_PTR>(2 * i)];
            if (name.GetString() != r.names[i].GetString() && name != r.names[i])
                return false;
        }
        return true;
    });
    if (!run) {
        run = &m_nameRuns.New(object.GetRuntimeClass(), pairs);
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
        else if (i + 1 == valueLength || !IsGbkCharacter(c, v[i + 1])) // a control character is no lead byte either
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
    if (kind == CXMLText::Comment || kind == CXMLText::Instruction) {
        NewLineAndIndent();
        text += kind == CXMLText::Comment ? "<!--" : "<?";
        AppendGbk(value.GetString(), std::strlen(value.GetString()));
        text += kind == CXMLText::Comment ? "-->" : "?>";
        m_newLine = m_indent = true;
        return;
    }
    if (kind == CXMLText::Text) {
        AppendEscaped(text, value, false, [this](const char* s, size_t n) { AppendGbk(s, n); });
    } else {
        // "]]>" cannot stand in a section: it ends one after "]]" and the next
        // starts with ">". Nor can a carriage return, which a reader takes for
        // a line end: it stands between two sections as a reference.
        const std::string_view data(value.GetString(), static_cast<size_t>(value.GetLength()));
        // a "]]>" whose ']' is a character's second byte ends nothing: the reader keeps that byte with its lead
        const auto findStop = [&data](size_t at) {
            for (size_t i = at; i < data.size(); i += IsGbkLeadByte(static_cast<unsigned char>(data[i])) ? 2 : 1)
                if (data[i] == '\r' || data.compare(i, 3, "]]>") == 0)
                    return i;
            return data.size();
        };
        size_t from = 0;
        do {
            const size_t stop = findStop(from);
            const bool cr = stop < data.size() && data[stop] == '\r';
            const size_t to = cr || stop == data.size() ? stop : stop + 2;
            if (to > from || data.empty()) {
                text += "<![CDATA[";
                AppendGbk(data.data() + from, to - from);
                text += "]]>";
            }
            if (cr)
                text += "&#13;";
            from = to + (cr ? 1 : 0);
        } while (from < data.size());
    }
    m_newLine = m_indent = false;
}

void MSXML2::IXMLDOMDocument::Impl::EndDocument()
{
    if (m_newLine)
        text += '\n';
}

bool MSXML2::IXMLDOMDocument::Impl::WriteAroundRoot(const CXMLComposite& side, MSXML2::IXMLDOMNode& node,
                                                    MSXML2::IXMLDOMDocument* pDoc)
{
    for (int i = 0; i < side.GetChildCount(); ++i) {
        const CXMLBase* child = side.GetChild(i);
        const bool kept = child && child->IsKindOf(RUNTIME_CLASS(CXMLText)) &&
                          (static_cast<const CXMLText*>(child)->GetKind() == CXMLText::Comment ||
                           static_cast<const CXMLText*>(child)->GetKind() == CXMLText::Instruction);
        if (child && !kept)
            return FailSave(*child,
                            "only comments and processing instructions may stand before or after the root element");
    }
    return side.SerializeChildren(node, pDoc);
}
