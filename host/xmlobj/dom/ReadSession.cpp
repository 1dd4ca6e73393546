// Reading: the objects take their attributes and texts from the parsed tree.
#include "ReadSession.h"
#include "ByteSet.h"
#include "ParseErrors.h"
#include "Places.h"
#include "SiblingCounter.h"
#include "XmlNames.h"

#include <xmlobj/CXMLUnknown.h>
#include <xmlobj/ClassType.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string_view>

using namespace kvnodedefine;

namespace {

constexpr int kMaxDepth = 1024;

const std::string& TooDeep()
{
    static const std::string message = "elements nested deeper than " + std::to_string(kMaxDepth) + " levels";
    return message;
}

} // namespace

ReadSession::ReadSession(MSXML2::IXMLDOMDocument& dom, const std::string& fileName, const char* data, size_t size,
                         size_t mark, XmlEncoding encoding, const ReadLimits& limits, Positions* positions)
    : DocumentSession(dom, true), doc(Tree()), fileName(fileName),
      m_places(data + mark, size - mark, mark, encoding), maxWarnings(limits.maxWarnings), positions(positions),
      memoryPerByte(limits.memoryPerByte),
      memoryBudget(size < (~size_t(0) - limits.memorySlack) / limits.memoryPerByte
                       ? limits.memoryPerByte * size + limits.memorySlack
                       : ~size_t(0)),
      memoryHeld(2 * size) // the text as read and as parsed
{
}

CXMLBase* ReadSession::Read(CXMLComposite& before, CXMLComposite& after)
{
    // converted straight into the buffer that pugixml parses in place and then owns
    const std::string_view input = m_places.Input();
    char* work = static_cast<char*>(pugi::get_memory_allocation_function()(input.size() + 1));
    if (!work)
        return FailInput("out of memory", ~size_t(0)), nullptr;
    TextError te;
    size_t parsedSize = 0;
    if (!ConvertToGbkBuffer(input.data(), input.size(), m_places.InputEncoding(), work, parsedSize, te)) {
        pugi::get_memory_deallocation_function()(work);
        return FailInput(te.message, te.offset), nullptr;
    }
    CXMLBase* root = nullptr;
    if (Parse(work, parsedSize) && HoldParsedTree() && CheckTopLevel() && ReadAroundRoot(before, after) &&
        (root = CreateObjectFor(rootElement))) {
        RecordPosition(root, rootElement);
        depth = 1;
        MSXML2::IXMLDOMNode node(rootElement.internal_object());
        if (!root->Serialize(node, &m_dom, true, true))
            Fail(rootElement, nullptr, "element could not be read");
    }
    if (failed) {
        delete root;
        return nullptr;
    }
    return root;
}

bool ReadSession::FailInput(const std::string& message, size_t offset)
{
    failed = true;
    error = XmlDiagnostic();
    error.file = fileName;
    error.message = message;
    if (offset != ~size_t(0))
        TextPosition(m_places.Input().data(), m_places.Input().size(), offset, m_places.InputEncoding(), error.line,
                     error.column);
    return false;
}

bool ReadSession::Object(CXMLBase& object, CStringArray& attributes, CXMLComposite*& content, MSXML2::IXMLDOMNode& node,
                         bool)
{
    pugi::xml_node element(node.internal_object());
    if (!ReadAttributes(element, object.GetRuntimeClass(), attributes, object.IsKindOf(RUNTIME_CLASS(CXMLUnknown))))
        return false;
    if (!element.first_child() || object.IsKindOf(RUNTIME_CLASS(CXMLComposite)))
        return true;
    // a plain object has nowhere to put children: they are kept as they
    // were read, to be written back, and a comment passes without a word
    for (pugi::xml_node c = element.first_child(); c; c = c.next_sibling()) {
        if (c.type() == pugi::node_element || c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata) {
            Warn(c, nullptr, std::string("<") + element.name() + "> holds no children: what it contains is kept unread");
            break;
        }
    }
    if (!Hold(ObjectBytes(sizeof(CXMLComposite)), element))
        return false;
    CXMLComposite* kept = new CXMLComposite;
    delete content;
    content = kept;
    const bool wasOpaque = opaque;
    opaque = true;
    const bool ok = ReadChildren(element, *content);
    opaque = wasOpaque;
    return ok;
}

bool ReadSession::Composite(CXMLComposite& composite, CStringArray& attributes, MSXML2::IXMLDOMNode& node,
                            bool children)
{
    pugi::xml_node element(node.internal_object());
    return ReadAttributes(element, composite.GetRuntimeClass(), attributes,
                          composite.IsKindOf(RUNTIME_CLASS(CXMLUnknown))) &&
           (!children || ReadChildren(element, composite));
}

// Nothing inside is interpreted, so that it comes back as it was read.
bool ReadSession::Unknown(CXMLUnknown& unknown, CStringArray& attributes, MSXML2::IXMLDOMNode& node, bool children)
{
    const bool wasOpaque = opaque;
    opaque = true;
    const bool ok = Composite(unknown, attributes, node, children);
    opaque = wasOpaque;
    return ok;
}

// the reader makes these objects itself: none reads itself
bool ReadSession::Text(const CXMLText&) { return false; }
bool ReadSession::Children(const CXMLComposite&, MSXML2::IXMLDOMNode&) { return false; }

int ReadSession::SiblingIndex(pugi::xml_node node)
{
    for (auto step = m_readPath.rbegin(); step != m_readPath.rend(); ++step)
        if (step->first == node.internal_object()) {
            const size_t counted = step->second->Bytes();
            const int index = step->second->IndexOf(node);
            memoryHeld += step->second->Bytes() - counted; // released with the counter
            return index;
        }
    // no read has reached it (an element around the root): its siblings are all there
    int index = 0;
    for (pugi::xml_node s = node; s; s = s.previous_sibling(node.name()))
        ++index;
    return index;
}

std::string ReadSession::PathOf(pugi::xml_node node)
{
    std::vector<PathStep> steps;
    for (pugi::xml_node n = node; n && n.type() != pugi::node_document; n = n.parent())
        if (n.type() == pugi::node_element)
            steps.push_back({n.name(), [this, n] { return SiblingIndex(n); }});
    std::reverse(steps.begin(), steps.end());
    return PathText(steps);
}

XmlDiagnostic ReadSession::At(pugi::xml_node at, const char* place, const std::string& message)
{
    XmlDiagnostic d;
    d.file = fileName;
    d.message = message;
    if (at) {
        d.path = PathOf(at);
        if (!place && at.offset_debug() >= 0) {
            m_places.ElementPosition(at, d.line, d.column);
            return d;
        }
    }
    m_places.Position(m_places.OffsetOf(place), d.line, d.column);
    return d;
}

void ReadSession::RecordPosition(const CXMLBase* object, pugi::xml_node node)
{
    if (positions && object && node.offset_debug() >= 0)
        m_places.Mark(node, positions->emplace_back(object, XmlMarkup()).second);
}

bool ReadSession::Fail(pugi::xml_node at, const char* place, const std::string& message)
{
    if (!failed) {
        failed = true;
        error = At(at, place, message);
    }
    return false;
}

void ReadSession::Warn(pugi::xml_node at, const char* place, const std::string& message)
{
    if (warnings.size() < maxWarnings)
        warnings.push_back(At(at, place, message));
    else if (warningsNotKept++ == 0)
        firstNotKept = At(at, place, message);
}

std::vector<XmlDiagnostic> ReadSession::TakeWarnings()
{
    if (warningsNotKept > 0) {
        firstNotKept.message = std::to_string(warningsNotKept) +
                               " more warnings from here on are not kept (the first " +
                               std::to_string(maxWarnings) + " are); this one says: " +
                               firstNotKept.message;
        warnings.push_back(std::move(firstNotKept));
    }
    return std::move(warnings);
}

// Attribute values and text are parsed with their references left in place,
// so that each one is checked here: the parser would pass an undefined
// entity through, and would write a character reference above 0x7F as UTF-8
bool ReadSession::Unescape(const char* raw, size_t length, pugi::xml_node at, CString& out)
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
            return Fail(at, m_places.SourcePlace(raw, i), "'<' is not allowed in an attribute value");
        const char* end = static_cast<const char*>(std::memchr(raw + i, ';', length - i));
        if (!end)
            return Fail(at, m_places.SourcePlace(raw, i), "'&' that starts no reference (write &amp;)");
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
                return Fail(at, m_places.SourcePlace(raw, i),
                            "invalid character reference " + Shortened(("&" + ref + ";").c_str()));
            if (!AppendCodePointAsGbk(cp, text)) {
                char buf[16];
                std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(cp));
                return Fail(at, m_places.SourcePlace(raw, i), std::string("character ") + buf + " cannot be held in GBK");
            }
        } else {
            return Fail(at, m_places.SourcePlace(raw, i), "undefined entity " + Shortened(("&" + ref + ";").c_str()));
        }
        i = static_cast<size_t>(end - raw);
    }
    out = values.Get(text.data(), text.size());
    return true;
}

bool ReadSession::ReadAttributes(pugi::xml_node node, const CRuntimeClass* owner, CStringArray& list,
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
    const char* const parsed = m_places.Parsed().data();
    const size_t parsedLength = m_places.Parsed().size();
    const auto inParsedText = [parsed, parsedLength](const char* p, size_t length) {
        const std::less<const char*> before;
        return parsed && !before(p, parsed) && before(p, parsed + parsedLength) &&
               static_cast<size_t>(parsed + parsedLength - p) > length;
    };
    NameRun* run = m_nameRuns.Find(owner, count, [names, count, inParsedText](const NameRun& r) {
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
        for (size_t i = 0; i < count; ++i)
            if (!CheckName(node, names[i], "attribute name"))
                return false;
        if (const char* dup = FindDuplicate(names, count))
            return Fail(node, dup, "duplicate attribute " + Quote(dup));
        NamePool& pool = NamePool::OfThisThread();
        run = &m_nameRuns.New(owner, count);
        run->names.resize(count);
        run->classTypeAt = count;
        for (size_t i = 0; i < count; ++i) {
            run->names[i] = pool.Get(names[i], std::strlen(names[i]));
            if (SameText(names[i], "classtype"))
                run->classTypeAt = i;
        }
    }
    const size_t skipped = keepClassType ? count : run->classTypeAt;
    // the parsed attributes, counted as they are met (they are never what
    // brings a load near its bound), the list, the values no pool shares
    const size_t made = values.Allocated();
    size_t held = count ? count * kParsedAttributeBytes + ObjectBytes(count * 2 * sizeof(CString)) : 0;
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
    return Hold(held + values.Allocated() - made, node);
}

bool ReadSession::ReadText(pugi::xml_node node, CString& text)
{
    char* value = const_cast<char*>(node.value());
    switch (node.type()) {
    case pugi::node_pcdata: {
        // checked before the trails come back: a hidden ']' ends no section
        if (const char* close = std::strstr(value, "]]>"))
            return Fail(node, m_places.SourcePlace(value, static_cast<size_t>(close - value)),
                        "\"]]>\" may not stand in text (write ]]&gt;)");
        RestoreHiddenTrails(value);
        // '<' cannot reach a text node: the parser ends the text there
        return Unescape(value, std::strlen(value), node, text);
    }
    case pugi::node_comment: {
        // the parser takes all up to "-->", but XML allows no "--" in a comment (nor would a save)
        const size_t length = std::strlen(value);
        const char* dash = std::strstr(value, "--");
        if (!dash && length && value[length - 1] == '-')
            dash = value + length - 1;
        if (dash)
            return Fail(node, m_places.SourcePlace(value, static_cast<size_t>(dash - value)),
                        "a comment may not hold \"--\" nor end in \"-\" (put a blank between the dashes)");
        break;
    }
    case pugi::node_pi: {
        char* target = const_cast<char*>(node.name());
        if (IsXmlTarget(target))
            return Fail(node, target - 2,
                        "a processing instruction may not be named " + Quote(target) +
                            ": only the XML declaration, at the very start of the file, is");
        RestoreHiddenTrails(target);
        if (!CheckName(node, target, "processing instruction target"))
            return false;
        RestoreHiddenTrails(value);
        const std::string instruction = *value ? std::string(target) + " " + value : std::string(target);
        text = values.Get(instruction.data(), instruction.size());
        return true;
    }
    default:
        break;
    }
    RestoreHiddenTrails(value);
    text = values.Get(value, std::strlen(value));
    return true;
}

namespace {

CXMLText::Kind TextKind(pugi::xml_node_type type)
{
    switch (type) {
    case pugi::node_cdata: return CXMLText::CData;
    case pugi::node_comment: return CXMLText::Comment;
    case pugi::node_pi: return CXMLText::Instruction;
    default: return CXMLText::Text;
    }
}

} // namespace

bool ReadSession::ReadChildren(pugi::xml_node element, CXMLComposite& container)
{
    // sized once: growing by doubling copies the list and holds up to twice its size
    size_t children = 0;
    for (pugi::xml_node c = element.first_child(); c; c = c.next_sibling())
        ++children;
    if (!Hold(children * sizeof(ObjItem), element))
        return false;
    container.Reserve(children);
    SiblingCounter siblings(element);
    for (pugi::xml_node c = element.first_child(), next; c; c = next) {
        next = c.next_sibling();
        if (!ReadChild(c, siblings, container))
            return false;
        if (dropRead)
            DropRead(element, next, siblings);
    }
    Release(siblings.Bytes()); // held as it grew
    return true;
}

void ReadSession::DropRead(pugi::xml_node element, pugi::xml_node upTo, SiblingCounter& siblings)
{
    const size_t counted = siblings.Bytes();
    siblings.CountBefore(upTo); // later messages may ask for the index of a later sibling
    memoryHeld += siblings.Bytes() - counted;
    for (pugi::xml_node c = element.first_child(); c && c != upTo; c = element.first_child()) {
        element.remove_child(c); // with what it holds, which was dropped when it was read
        Release(kParsedNodeBytes);
    }
}

bool ReadSession::ReadChild(pugi::xml_node c, SiblingCounter& siblings, CXMLComposite& container)
{
    const pugi::xml_node_type type = c.type();
    if (type == pugi::node_pcdata || type == pugi::node_cdata || type == pugi::node_comment || type == pugi::node_pi) {
        CString text;
        const size_t made = values.Allocated();
        if (!ReadText(c, text) || !Hold(ObjectBytes(sizeof(CXMLText)) + values.Allocated() - made, c))
            return false;
        auto* kept = new CXMLText(TextKind(type), text);
        RecordPosition(kept, c);
        container.Add(kept);
        return true;
    }
    if (type != pugi::node_element)
        return true; // no other kind reaches here: a declaration inside an element fails the parse
    RestoreHiddenTrails(const_cast<char*>(c.name()));
    const ReadPathStep step(m_readPath, c, siblings);
    if (depth >= kMaxDepth)
        return Fail(c, nullptr, TooDeep());
    CXMLBase* child = CreateObjectFor(c);
    if (!child)
        return false;
    RecordPosition(child, c);
    container.Add(child);
    MSXML2::IXMLDOMNode childNode(c.internal_object());
    ++depth;
    const bool ok = child->Serialize(childNode, &m_dom, true, true);
    --depth;
    return ok || Fail(c, nullptr, "element could not be read");
}

ClassType* ReadSession::LookupClassIndex(const char* index)
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

CXMLBase* ReadSession::CreateObjectFor(pugi::xml_node element)
{
    if (!m_hiddenTrails.empty()) {
        RestoreHiddenTrails(const_cast<char*>(element.name()));
        for (pugi::xml_attribute a = element.first_attribute(); a; a = a.next_attribute()) {
            RestoreHiddenTrails(const_cast<char*>(a.name()));
            RestoreHiddenTrails(const_cast<char*>(a.value()));
        }
    }
    const char* name = element.name();
    if (!Hold(ObjectBytes(sizeof(CXMLUnknown)), element))
        return nullptr;
    const auto unknown = [this, element, name]() -> CXMLBase* {
        const size_t made = elementNames.Allocated();
        const CString kept = elementNames.Get(name, std::strlen(name));
        return Hold(elementNames.Allocated() - made, element) ? new CXMLUnknown(kept) : nullptr;
    };
    if (opaque)
        return CheckName(element, name, "element name") ? unknown() : nullptr;
    CRuntimeClass* rc = nullptr;
    bool namedAfterClass = false;
    if (pugi::xml_attribute ct = element.attribute("classtype")) {
        ClassType* type = LookupClassIndex(ct.value());
        if (type && type->m_pRuntimeClass)
            rc = type->m_pRuntimeClass;
        else
            Warn(element, nullptr, std::string("unknown class index ") + Quote(ct.value()) + " of <" + name +
                                       ">: the element is kept as it is");
        namedAfterClass = rc && std::strcmp(rc->m_lpszClassName, name) == 0;
        if (rc && !namedAfterClass)
            Warn(element, nullptr, std::string("element <") + name + "> has the class index of " +
                                       rc->m_lpszClassName + " and is read as one");
    } else {
        rc = CRuntimeClass::FromName(name);
        if (!rc || !rc->m_pfnCreateObject || !rc->IsDerivedFrom(RUNTIME_CLASS(CXMLBase))) {
            rc = nullptr;
            Warn(element, nullptr, std::string("unknown element <") + name + ">: it is kept as it is");
        }
        namedAfterClass = rc != nullptr;
    }
    // a registered class's name is a name; any other is checked
    if (!namedAfterClass && !CheckName(element, name, "element name"))
        return nullptr;
    const size_t objectSize = rc ? static_cast<size_t>(rc->m_nObjectSize) : 0;
    if (objectSize > sizeof(CXMLUnknown) && !Hold(ObjectBytes(objectSize) - ObjectBytes(sizeof(CXMLUnknown)), element))
        return nullptr;
    if (rc) {
        CObject* object = rc->CreateObject();
        if (object && object->IsKindOf(RUNTIME_CLASS(CXMLBase)))
            return static_cast<CXMLBase*>(object);
        delete object;
    }
    return unknown();
}

// Trail bytes that are ASCII but neither a name character nor harmless to
// the parser: '@' '[' '\' ']' '^' '`' '{' '|' '}' '~'.
void ReadSession::HideParserBreakingTrails(char* text, size_t size)
{
    static const ByteSet breaking("@[\\]^`{|}~");
    m_hiddenTrails.clear();
    const auto* s = reinterpret_cast<unsigned char*>(text);
    for (size_t i = 0; i < size; ++i) {
        // ASCII a word at a time: most of a document is markup
        while (i + 8 <= size && (Word8(text + i) & 0x8080808080808080ull) == 0)
            i += 8;
        if (i < size && IsGbkLeadByte(s[i])) {
            if (i + 1 < size && breaking(text[i + 1])) {
                m_hiddenTrails.emplace_back(i + 1, text[i + 1]);
                text[i + 1] = kHiddenTrail;
            }
            ++i; // the pair is valid GBK: the conversion checked it
        }
    }
}

void ReadSession::RestoreHiddenTrails(char* text)
{
    if (m_hiddenTrails.empty() || !text || !*text)
        return;
    // a value keeps its start; the parser only moves its later bytes up,
    // so its hidden trails are the next ones from its start on, in order
    const size_t start = m_places.OffsetOf(text);
    auto next = std::lower_bound(m_hiddenTrails.begin(), m_hiddenTrails.end(), std::make_pair(start, '\0'));
    auto* s = reinterpret_cast<unsigned char*>(text);
    for (size_t i = 0; s[i] && next != m_hiddenTrails.end(); ++i) {
        if (!IsGbkLeadByte(s[i]))
            continue;
        if (s[i + 1] == static_cast<unsigned char>(kHiddenTrail))
            s[i + 1] = static_cast<unsigned char>((next++)->second);
        if (s[i + 1])
            ++i;
    }
}

bool ReadSession::Parse(char* buffer, size_t size)
{
    m_places.SetParsed(buffer, size);
    HideParserBreakingTrails(buffer, size);
    const size_t hiddenMismatch = m_hiddenTrails.empty() ? std::string::npos : FindHiddenEndTagMismatch(buffer, size, m_hiddenTrails);
    // as a fragment, since a document parse drops text outside the root
    // element unseen; CheckTopLevel refuses it, and more roots, itself
    constexpr unsigned kFlags = (pugi::parse_default & ~pugi::parse_escapes) | pugi::parse_comments |
                                pugi::parse_doctype | pugi::parse_pi | pugi::parse_declaration | pugi::parse_fragment;
    // The parser takes the last byte of a buffer for its terminator, so a
    // last character after the root element would vanish unseen: it is
    // given the text with its terminator (the buffer has room for it).
    buffer[size] = '\0';
    pugi::xml_parse_result parsed = doc.load_buffer_inplace_own(buffer, size + 1, kFlags, pugi::encoding_utf8);
    if (hiddenMismatch != std::string::npos && (parsed || static_cast<size_t>(parsed.offset) > hiddenMismatch)) {
        parsed.status = pugi::status_end_element_mismatch;
        parsed.offset = static_cast<ptrdiff_t>(hiddenMismatch);
    }
    if (parsed)
        return true;
    size_t offset = 0;
    std::string path;
    const std::string message = ExplainParseError(parsed, m_places, offset, path);
    Fail(pugi::xml_node(), m_places.Parsed().data() + offset, message);
    error.path = path;
    return false;
}

bool ReadSession::HoldPastHalf(pugi::xml_node at)
{
    // the tree and the objects must not both hold the whole document: from
    // here on, what is read leaves the tree
    dropRead = true;
    if (memoryHeld <= memoryBudget)
        return true;
    return Fail(at, nullptr,
                "the document holds too many small parts for its size: reading it would take more than " +
                    std::to_string(memoryPerByte) + " times its size in memory");
}

bool ReadSession::HoldParsedTree()
{
    size_t nodes = 0;
    for (pugi::xml_node n = doc.first_child(), next; n; n = next) {
        ++nodes;
        next = n.first_child();
        for (pugi::xml_node up = n; !next && up; up = up.parent())
            next = up.next_sibling();
    }
    // positions, which only tools ask for, are the tools' to afford
    if (positions)
        positions->reserve(nodes);
    return Hold(nodes * kParsedNodeBytes, pugi::xml_node());
}

bool ReadSession::CheckName(pugi::xml_node at, const char* name, const char* what)
{
    const size_t length = std::strlen(name);
    const size_t bad = FindNonNameCharacter(name, length);
    if (bad == length)
        return true;
    if (length == 0)
        return Fail(at, name, std::string("an empty ") + what);
    const size_t width = IsGbkLeadByte(static_cast<unsigned char>(name[bad])) && bad + 1 < length ? 2 : 1;
    return Fail(at, name + bad,
                std::string(what) + " " + Quote(name) + " holds " + Quote(std::string(name + bad, width).c_str()) +
                    (bad == 0 ? ", which may not begin an XML name" : ", which XML names may not hold"));
}

bool ReadSession::CheckDeclaration(pugi::xml_node declaration)
{
    const char* name = declaration.name();
    const char* lt = name - 2; // "<?" before the target
    if (m_places.OffsetOf(lt) != 0 || declaration.previous_sibling()) {
        const pugi::xml_node before = declaration.previous_sibling();
        if (before.type() == pugi::node_declaration)
            return Fail(declaration, lt, "a second XML declaration (remove it)");
        if (!before)
            return Fail(declaration, lt, "the XML declaration must stand at the very start of the file: remove the "
                                         "blanks before <?xml ...?>");
        return Fail(declaration, lt, "an XML declaration may only stand at the very start of the file (move it "
                                     "there, before any comment, or remove it)");
    }
    if (std::strcmp(name, "xml") != 0)
        return Fail(declaration, lt, std::string("the XML declaration is written <?xml, not <?") + name);
    static const char* const kOrder[] = {"version", "encoding", "standalone"};
    size_t next = 0;
    pugi::xml_attribute a = declaration.first_attribute();
    if (!a || std::strcmp(a.name(), "version") != 0)
        return Fail(declaration, lt, "the XML declaration must begin with version=\"1.0\"");
    for (; a; a = a.next_attribute()) {
        while (next < 3 && std::strcmp(a.name(), kOrder[next]) != 0)
            ++next;
        if (next == 3)
            return Fail(declaration, a.name(),
                        "the XML declaration may hold only version, encoding and standalone, in this order; not " +
                            Quote(a.name()));
        ++next;
    }
    return CheckDeclarationValues(declaration);
}

bool ReadSession::CheckDeclarationValues(pugi::xml_node declaration)
{
    // version: "1." and digits; a version other than 1.0 is read by its rules, as other readers do
    char* version = const_cast<char*>(declaration.attribute("version").value());
    RestoreHiddenTrails(version);
    if (std::strncmp(version, "1.", 2) != 0 || version[2 + std::strspn(version + 2, "0123456789")] != '\0')
        return Fail(declaration, version,
                    "version " + Quote(version) + " is no version of XML 1 (\"1.\" and digits: write version=\"1.0\")");
    if (std::strcmp(version, "1.0") != 0)
        Warn(declaration, version, "version " + Quote(version) + " is read as XML 1.0");
    // the encoding the text was read in was found before the parse: the two readings must agree
    if (pugi::xml_attribute e = declaration.attribute("encoding")) {
        XmlEncoding named;
        const auto utf16 = [](XmlEncoding x) { return x == XmlEncoding::Utf16LE || x == XmlEncoding::Utf16BE; };
        if (!XmlEncodingFromName(e.value(), named) ||
            (named != m_places.InputEncoding() && !(utf16(named) && utf16(m_places.InputEncoding()))))
            return Fail(declaration, e.value(),
                        "the declaration says encoding=" + Quote(e.value()) + ", but the document was read as " +
                            XmlEncodingName(m_places.InputEncoding()));
    } else if (m_places.InputEncoding() == XmlEncoding::Gbk || m_places.InputEncoding() == XmlEncoding::Gb18030) {
        return Fail(declaration, nullptr,
                    std::string("the declaration names no encoding, but the document was read as ") +
                        XmlEncodingName(m_places.InputEncoding()));
    }
    if (pugi::xml_attribute standalone = declaration.attribute("standalone")) {
        char* value = const_cast<char*>(standalone.value());
        RestoreHiddenTrails(value);
        if (std::strcmp(value, "yes") != 0 && std::strcmp(value, "no") != 0)
            return Fail(declaration, value, "standalone may be \"yes\" or \"no\", not " + Quote(value));
    }
    return true;
}

// What lies around the root element; what lies in it is checked as the objects read it.
bool ReadSession::CheckTopLevel()
{
    for (pugi::xml_node n = doc.first_child(); n; n = n.next_sibling()) {
        switch (n.type()) {
        case pugi::node_element:
            if (rootElement)
                return Fail(n, nullptr, "more than one root element");
            rootElement = n;
            break;
        case pugi::node_pcdata:
        case pugi::node_cdata:
            return Fail(n, n.value() + std::strspn(n.value(), " \t\r\n"), "text outside the root element");
        case pugi::node_declaration:
            if (!CheckDeclaration(n))
                return false;
            break;
        case pugi::node_doctype:
            return Fail(n, n.value(), "document type declarations are not supported (no DTD is ever read)");
        default:
            break;
        }
    }
    if (!rootElement)
        return Fail(pugi::xml_node(), m_places.Parsed().data() + m_places.Parsed().size(), "no root element");
    return true;
}

bool ReadSession::ReadAroundRoot(CXMLComposite& before, CXMLComposite& after)
{
    CXMLComposite* side = &before;
    for (pugi::xml_node n = doc.first_child(); n; n = n.next_sibling()) {
        if (n == rootElement)
            side = &after;
        if (n.type() != pugi::node_comment && n.type() != pugi::node_pi)
            continue;
        CString text;
        const size_t made = values.Allocated();
        // the sides' lists grow by doubling: twice a place in one
        const size_t held = ObjectBytes(sizeof(CXMLText)) + 2 * sizeof(ObjItem);
        if (!ReadText(n, text) || !Hold(held + values.Allocated() - made, n))
            return false;
        auto* kept = new CXMLText(TextKind(n.type()), text);
        RecordPosition(kept, n);
        side->Add(kept);
    }
    return true;
}
