// Writing: objects serialize into text as they go.
#include "WriteSession.h"
#include "TextPool.h"
#include "ByteSet.h"
#include "Places.h"
#include "XmlNames.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>

using namespace kvnodedefine;

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

WriteSession::WriteSession(MSXML2::IXMLDOMDocument& dom, const std::string& fileName, XmlEncoding encoding,
                           bool utf8Mark, size_t reserve)
    : DocumentSession(dom, false), fileName(fileName), encoding(encoding), utf8Mark(utf8Mark),
      // UTF-8 and GBK are written as the objects go; the others are converted from GBK after
      textEncoding(encoding == XmlEncoding::Utf8 || encoding == XmlEncoding::Gbk ? encoding : XmlEncoding::Gbk)
{
    // a large document would otherwise be copied each time the text doubles
    text.reserve(reserve);
}

bool WriteSession::Write(CXMLBase& root, const CXMLComposite& before, const CXMLComposite& after, std::string& out)
{
    // the objects are handed a node, which they only pass on
    MSXML2::IXMLDOMNode node = m_dom.createDocumentElement(root.GetElementName());
    if (encoding == XmlEncoding::Utf8 && utf8Mark)
        text += "\xEF\xBB\xBF";
    text += "<?xml version=\"1.0\" encoding=\"";
    text += XmlEncodingName(encoding);
    text += "\"?>\n";
    const auto fail = [&] {
        if (!failed)
            error = Problem("the document could not be saved");
        return false;
    };
    if (!WriteAroundRoot(before, node))
        return fail();
    BeginElement(root.GetElementName());
    if (!root.Serialize(node, &m_dom, false, true))
        return fail();
    EndElement();
    if (!WriteAroundRoot(after, node))
        return fail();
    EndDocument();
    TextError te = textError;
    if (te.message.empty() && textEncoding == encoding)
        out.swap(text);
    else if (te.message.empty())
        ConvertFromGbk(text.data(), text.size(), encoding, out, te);
    if (!te.message.empty()) {
        error = Problem(te.message);
        return false;
    }
    return true;
}

XmlDiagnostic WriteSession::Problem(const std::string& message) const
{
    XmlDiagnostic d;
    d.file = fileName;
    d.message = message;
    return d;
}

bool WriteSession::Object(CXMLBase& object, CStringArray&, CXMLComposite*& content, MSXML2::IXMLDOMNode& node,
                          bool children)
{
    return WriteAttributes(object) && (!content || !children || Children(*content, node));
}

bool WriteSession::Composite(CXMLComposite& composite, CStringArray&, MSXML2::IXMLDOMNode& node, bool children)
{
    return WriteAttributes(composite) && (!children || Children(composite, node));
}

bool WriteSession::Unknown(CXMLUnknown& unknown, CStringArray& attributes, MSXML2::IXMLDOMNode& node, bool children)
{
    return Composite(unknown, attributes, node, children);
}

// A save writes text, not nodes: every child is handed the node it is
// written under, which it only passes on.
bool WriteSession::Children(const CXMLComposite& composite, MSXML2::IXMLDOMNode& node)
{
    for (int i = 0; i < composite.GetChildCount(); ++i) {
        CXMLBase* child = composite.GetChild(i);
        if (!child)
            continue;
        const bool isText = child->IsKindOf(RUNTIME_CLASS(CXMLText));
        if (!isText)
            BeginElement(child->GetElementName());
        if (!child->Serialize(node, &m_dom, false, true))
            return false;
        if (!isText)
            EndElement();
    }
    return true;
}

bool WriteSession::Text(const CXMLText& object)
{
    const CXMLText::Kind kind = object.GetKind();
    const CString value = object.GetText();
    if (!CheckText(object, value, "text"))
        return false;
    if (kind == CXMLText::Comment &&
        (value.Find("--") >= 0 || (value.GetLength() && value[value.GetLength() - 1] == '-')))
        return FailSave(object, "a comment may not hold \"--\" nor end in \"-\"");
    // XML has no way to keep one there: a reader would take it for a line end
    if ((kind == CXMLText::Comment || kind == CXMLText::Instruction) && value.Find('\r') >= 0)
        return FailSave(object, std::string("a ") + (kind == CXMLText::Comment ? "comment" : "processing instruction") +
                                    " may not hold a carriage return, which a reader takes for a line end "
                                    "(write line ends as \\n alone)");
    if (kind == CXMLText::Instruction) {
        const int blank = value.Find(' ');
        const CString target = blank < 0 ? value : value.Left(blank);
        if (!IsXmlName(target) || IsXmlTarget(target.GetString()))
            return FailSave(object, "processing instruction target " + Quote(target) + " is not a valid one");
        if (value.Find("?>") >= 0)
            return FailSave(object, "a processing instruction may not hold \"?>\"");
    }
    WriteText(kind, value);
    return true;
}

bool WriteSession::CheckText(const CXMLBase& object, const CString& text, const char* what,
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
bool WriteSession::CheckNames(const CXMLBase& object, const CStringArray& list, NameRun& run)
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

bool WriteSession::WriteAttributes(const CXMLBase& object)
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
bool WriteSession::AppendShortAttribute(const CString& name, const CString& value)
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

void WriteSession::AppendGbk(const char* gbk, size_t size)
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
void WriteSession::CloseStartTag()
{
    if (m_startTagOpen)
        text += '>';
    m_startTagOpen = false;
}

void WriteSession::NewLineAndIndent()
{
    if (m_newLine)
        text += '\n';
    if (m_indent)
        text.append(2 * m_openElements.size(), ' ');
}

void WriteSession::BeginElement(const char* name)
{
    CloseStartTag();
    NewLineAndIndent();
    text += '<';
    AppendGbk(name, std::strlen(name));
    m_openElements.push_back(name);
    m_startTagOpen = true;
    m_newLine = m_indent = true;
}

void WriteSession::EndElement()
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

void WriteSession::WriteText(CXMLText::Kind kind, const CString& value)
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

void WriteSession::EndDocument()
{
    if (m_newLine)
        text += '\n';
}

bool WriteSession::WriteAroundRoot(const CXMLComposite& side, MSXML2::IXMLDOMNode& node)
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
    return Children(side, node);
}

bool WriteSession::FailSave(const CXMLBase& object, const std::string& message)
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
