#pragma once
// Inside the object library only: the state of one document being read or
// written, and the steps of Serialize that touch XML.
#include <xmlobj/CXMLDocument.h>
#include <xmlobj/CXMLUnknown.h>
#include <xmlobj/XMLDOM.h>

#include <pugixml.hpp>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

struct ClassType;

constexpr int kMaxDepth = 1024;

// Short attribute texts repeat throughout a document ("0", "sys", plane and
// variable names): those one load reads share one buffer, which saves the
// memory and the allocation of each repeat. The table is bounded and lives
// only as long as the load, so it keeps nothing alive after the document.
class TextPool {
public:
    CString Get(const char* text, size_t length);

private:
    static constexpr size_t kMaxLength = 24;
    static constexpr size_t kSlots = 4096;
    static constexpr size_t kMaxProbes = 8;
    struct Slot {
        CString text;
        std::uint32_t hash = 0;
    };
    std::unique_ptr<Slot[]> m_slots;
    size_t m_used = 0;
};

// Short texts (names, repeated values) are hashed and compared a word at a
// time, the last word overlapping the one before; no byte past the text is read.
inline std::uint64_t Word8(const char* p) noexcept
{
    std::uint64_t w;
    std::memcpy(&w, p, sizeof w);
    return w;
}

inline std::uint32_t Word4(const char* p) noexcept
{
    std::uint32_t w;
    std::memcpy(&w, p, sizeof w);
    return w;
}

inline std::uint32_t HashText(const char* text, size_t length) noexcept
{
    constexpr std::uint64_t k = 0x9E3779B97F4A7C15ull;
    std::uint64_t h = (length + 1) * k;
    if (length >= 8) {
        for (size_t i = 0; i + 8 < length; i += 8)
            h = (h ^ Word8(text + i)) * k;
        h = (h ^ Word8(text + length - 8)) * k;
    } else if (length >= 4) {
        h = (h ^ (Word4(text) | std::uint64_t{Word4(text + length - 4)} << 32)) * k;
    } else if (length > 0) {
        const auto byte = [text](size_t i) { return std::uint64_t{static_cast<unsigned char>(text[i])}; };
        h = (h ^ (byte(0) | byte(length / 2) << 8 | byte(length - 1) << 16)) * k;
    }
    return static_cast<std::uint32_t>(h ^ (h >> 32));
}

// equal texts, both ending in '\0': attribute names are too short for a call to pay
inline bool SameText(const char* a, const char* b) noexcept
{
    for (; *a == *b; ++a, ++b)
        if (!*a)
            return true;
    return false;
}

inline bool SameBytes(const char* a, const char* b, size_t length) noexcept
{
    if (length >= 8) {
        for (size_t i = 0; i + 8 < length; i += 8)
            if (Word8(a + i) != Word8(b + i))
                return false;
        return Word8(a + length - 8) == Word8(b + length - 8);
    }
    if (length >= 4)
        return Word4(a) == Word4(b) && Word4(a + length - 4) == Word4(b + length - 4);
    for (size_t i = 0; i < length; ++i)
        if (a[i] != b[i])
            return false;
    return true;
}

#if defined(__GNUC__) && !defined(_WIN32)
#define KV_DOM_IMPL_HIDDEN __attribute__((visibility("hidden")))
#else
#define KV_DOM_IMPL_HIDDEN // a DLL exports only what is marked
#endif
struct KV_DOM_IMPL_HIDDEN MSXML2::IXMLDOMDocument::Impl {
    pugi::xml_document doc;
    std::string fileName = "<memory>";
    // the text being read as it came (after any byte-order mark), and the
    // GBK text that pugixml parsed in place
    const char* input = nullptr;
    size_t inputSize = 0;
    XmlEncoding inputEncoding = XmlEncoding::Utf8;
    const char* parsedBase = nullptr;
    size_t parsedSize = 0;
    TextPool values;
    int depth = 0;
    bool failed = false;
    XmlDiagnostic error;
    std::vector<XmlDiagnostic> warnings;
    // where each object's element starts, kept only when the document asks
    std::unordered_map<const CXMLBase*, XmlPosition>* positions = nullptr;

    // reading
    // owner: the class of the object read, whose elements mostly carry the same names
    bool ReadAttributes(pugi::xml_node node, const CRuntimeClass* owner, CStringArray& list, bool keepClassType);
    bool ReadText(pugi::xml_node node, CString& text);
    CXMLBase* CreateObjectFor(pugi::xml_node element);
    void RecordPosition(const CXMLBase* object, pugi::xml_node element);

    // writing: the objects serialize into text as they go, laid out the way
    // pugixml indents a document. The text is in textEncoding, UTF-8 or
    // GBK; bytes that cannot be written in it set textError.
    std::string text;
    XmlEncoding textEncoding = XmlEncoding::Gbk;
    TextError textError;
    void BeginElement(const char* name);
    bool WriteAttributes(const CXMLBase& object);
    void WriteText(CXMLText::Kind kind, const CString& value);
    void EndElement();
    void EndDocument();
    // what names the text in a message: what, then the quoted attribute name when given
    bool CheckText(const CXMLBase& object, const CString& text, const char* what, const char* attribute = nullptr);

    // findings
    bool Fail(pugi::xml_node at, const char* place, const std::string& message);
    bool FailSave(const CXMLBase& object, const std::string& message);
    void Warn(pugi::xml_node at, const char* place, const std::string& message);
    XmlDiagnostic At(pugi::xml_node at, const char* place, const std::string& message);
    void ElementPosition(pugi::xml_node element, int& line, int& column);
    size_t OffsetOf(const char* place) const noexcept;
    // where the character at index of a parsed value stood in the text as read
    const char* SourcePlace(const char* value, size_t index);

private:
    // The attribute names of the last four kinds of element read or written
    // of a class with as many attributes: such elements mostly carry the
    // same names in the same order (optional attributes make other kinds),
    // so a load that matches them takes them interned without the name pool,
    // and neither a load nor a save checks them again (for duplicates, a
    // save for valid XML and GBK too).
    struct NameRun {
        std::uint64_t key = 0;
        std::vector<CString> names;
        size_t classTypeAt = 0;  // where "classtype" is among them (names.size() when absent)
        bool plainNames = false; // a save: all of them printable ASCII
    };
    static constexpr unsigned kNameRunSetBits = 6;
    static constexpr size_t kNameRunWays = 4;
    NameRun m_nameRuns[kNameRunWays << kNameRunSetBits]; // sets of four, the one used last first
    static std::uint64_t RunKey(const CRuntimeClass* owner, size_t count) noexcept
    {
        return reinterpret_cast<std::uintptr_t>(owner) ^ (std::uint64_t{count} << 48);
    }
    NameRun* RunSet(std::uint64_t key) noexcept
    {
        return &m_nameRuns[kNameRunWays * ((key * 0x9E3779B97F4A7C15ull) >> (64 - kNameRunSetBits))];
    }
    // the run of owner with count names that matches, made the first of its set; null when none does
    template <class Matches>
    NameRun* FindRun(const CRuntimeClass* owner, size_t count, Matches matches)
    {
        const std::uint64_t key = RunKey(owner, count);
        NameRun* set = RunSet(key);
        for (size_t i = 0; i < kNameRunWays; ++i) {
            if (set[i].key == key && set[i].names.size() == count && matches(set[i])) {
                std::rotate(set, set + i, set + i + 1);
                return &set[0];
            }
        }
        return nullptr;
    }
    // an empty run of owner with count names, first of its set, in place of the one used longest ago
    NameRun& NewRun(const CRuntimeClass* owner, size_t count)
    {
        const std::uint64_t key = RunKey(owner, count);
        NameRun* set = RunSet(key);
        std::rotate(set, set + kNameRunWays - 1, set + kNameRunWays);
        set[0].key = key;
        set[0].names.clear();
        return set[0];
    }
    bool CheckNames(const CXMLBase& object, const CStringArray& list, NameRun& run);
    static constexpr size_t kCheckedElements = 64;
    const char* m_checkedElements[kCheckedElements] = {}; // element names a save found valid
    // the class indexes a load met, so that each is looked up in the
    // registry once (the registry does not change during a load)
    struct ClassIndexHint {
        size_t length = ~size_t(0); // none yet
        char index[16];
        ClassType* type = nullptr;
    };
    static constexpr size_t kClassIndexHints = 64;
    ClassIndexHint m_classIndexes[kClassIndexHints];
    ClassType* LookupClassIndex(const char* index);
    bool Unescape(const char* raw, size_t length, pugi::xml_node at, CString& out);
    void AppendGbk(const char* gbk, size_t size);
    bool AppendShortAttribute(const CString& name, const CString& value);
    void CloseStartTag();
    void NewLineAndIndent();
    std::vector<const char*> m_openElements;
    bool m_startTagOpen = false;
    bool m_newLine = false; // before the next element, comment or end tag
    bool m_indent = true;
    // positions are asked for in document order: carry on from the last one
    size_t m_lastOffset = 0;
    int m_lastLine = 1;
    int m_lastColumn = 1;
    void Position(size_t offset, int& line, int& column);
    // the GBK text as it was before parsing, for positions: converted again
    // the first time one is asked, so that a load converts only once
    std::string m_source;
    const std::string& Source();
};

// Converts into out, which holds size bytes: GBK never takes more bytes
// than the encodings a document is read in. outSize is what was written.
bool ConvertToGbkBuffer(const char* data, size_t size, XmlEncoding from, char* out, size_t& outSize, TextError& error);
// Appends GBK text as UTF-8, or (to GBK) checked as it is.
bool AppendGbkAs(XmlEncoding to, const char* data, size_t size, std::string& out, TextError& error);

// line and column (from 1, columns counting characters) of a byte offset in a text
void TextPosition(const char* text, size_t size, size_t offset, XmlEncoding encoding, int& line, int& column);
std::string ElementPath(pugi::xml_node node);
std::string ObjectPath(const CXMLBase* object);
