#pragma once
// Inside the object library only: the state of one document being read or
// written, and the steps of Serialize that touch XML.
#include <xmlobj/CXMLComposite.h>
#include <xmlobj/XmlDiagnostic.h>
#include <xmlobj/CXMLUnknown.h>
#include <xmlobj/XMLDOM.h>

#include "RecentNameLists.h"
#include "TextPool.h"
#include <xmlobj/text/XmlEncodingImpl.h>

#include <pugixml.hpp>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct ClassType;
class SiblingCounter;

// the library's conversions, named unqualified throughout its own code
using kvnodedefine::AppendCodePointAsGbk;
using kvnodedefine::AppendGbkAs;
using kvnodedefine::ConvertFromGbk;
using kvnodedefine::ConvertToGbk;
using kvnodedefine::ConvertToGbkBuffer;
using kvnodedefine::DetectEncoding;
using kvnodedefine::FindInvalidGbk;
using kvnodedefine::GbkCodePoint;
using kvnodedefine::GbkPairToUtf8;
using kvnodedefine::IsGbkCharacter;
using kvnodedefine::IsGbkLeadByte;
using kvnodedefine::TextError;
using kvnodedefine::XmlEncodingName;

constexpr int kMaxDepth = 1024;

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

struct KVHOST_LOCAL MSXML2::IXMLDOMDocument::Impl {
    pugi::xml_document doc;
    std::string fileName = "<memory>";
    // the text being read as it came (after any byte-order mark), and the
    // GBK text that pugixml parsed in place
    const char* input = nullptr;
    size_t inputSize = 0;
    size_t inputMark = 0; // the byte-order mark's bytes before input
    XmlEncoding inputEncoding = XmlEncoding::Utf8;
    const char* parsedBase = nullptr;
    size_t parsedSize = 0;
    TextPool values;
    TextPool elementNames; // of unknown elements, which repeat as values do
    bool failed = false;
    XmlDiagnostic error;
    std::vector<XmlDiagnostic> warnings;
    size_t maxWarnings = 0; // kept; those after them are counted
    size_t warningsNotKept = 0;
    XmlDiagnostic firstNotKept;
    // the warnings kept, and one more that counts the rest when there are too many
    std::vector<XmlDiagnostic> TakeWarnings();
    // where each object and its attributes stand, kept only when the document asks
    std::vector<std::pair<const CXMLBase*, XmlMarkup>>* positions = nullptr;

    // What a load holds, counted as it goes against its budget: the texts,
    // the parsed tree (which shrinks as it is read) and what the objects
    // take; Hold fails the load at at when it would pass the budget.
    size_t memoryBudget = ~size_t(0);
    size_t memoryPerByte = 0; // of the text, that the budget allows
    size_t memoryHeld = 0;
    bool Hold(size_t bytes, pugi::xml_node at)
    {
        memoryHeld += bytes;
        return memoryHeld <= memoryBudget / 2 || HoldPastHalf(at);
    }
    bool HoldPastHalf(pugi::xml_node at);
    // Past half its budget, a load drops from the parsed tree what it has
    // read (dropping costs time, and most documents never come near)
    bool dropRead = false;
    void DropRead(pugi::xml_node element, pugi::xml_node upTo, SiblingCounter& siblings); // the children before upTo
    void Release(size_t bytes) noexcept { memoryHeld -= std::min(bytes, memoryHeld); }
    // the parsed tree's records of nodes and attributes, as pugixml allocates them
    static constexpr size_t kParsedNodeBytes = 8 * sizeof(void*), kParsedAttributeBytes = 5 * sizeof(void*);
    // what an object of size bytes takes with its allocation (its place in its parent's list is held with the list)
    static constexpr size_t ObjectBytes(size_t size) noexcept { return (size + 8 + 15) / 16 * 16; }
    // counts the parsed tree's records, once the parse has made them
    bool HoldParsedTree();

    // reading: Parse, CheckTopLevel, then the objects read themselves from
    // rootElement down. What the parser lets pass is checked as it is read
    // (every element, attribute and text is, also what nothing interprets).
    bool Parse(char* buffer, size_t size); // buffer holds size + 1 bytes
    bool CheckTopLevel();
    pugi::xml_node rootElement;
    int depth = 0; // of the element being read
    // the comments and processing instructions before and after the root element
    bool ReadAroundRoot(CXMLComposite& before, CXMLComposite& after);
    // true while reading what no class interprets (inside an unknown element,
    // or what a plain object holds): every element there is kept as it is
    bool opaque = false;
    // owner: the class of the object read, whose elements mostly carry the same names
    bool ReadAttributes(pugi::xml_node node, const CRuntimeClass* owner, CStringArray& list, bool keepClassType);
    bool ReadText(pugi::xml_node node, CString& text);
    // the children of element into container: texts, comments and
    // processing instructions in their place, elements created by class
    bool ReadChildren(pugi::xml_node element, CXMLComposite& container, MSXML2::IXMLDOMDocument* pDoc);
    bool ReadChild(pugi::xml_node child, SiblingCounter& siblings, CXMLComposite& container,
                   MSXML2::IXMLDOMDocument* pDoc);
    CXMLBase* CreateObjectFor(pugi::xml_node element); // null when its name is none

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
    bool WriteAroundRoot(const CXMLComposite& side, MSXML2::IXMLDOMNode& node, MSXML2::IXMLDOMDocument* pDoc);
    // what names the text in a message: what, then the quoted attribute name when given
    bool CheckText(const CXMLBase& object, const CString& text, const char* what, const char* attribute = nullptr);

    // findings
    bool Fail(pugi::xml_node at, const char* place, const std::string& message);
    bool FailSave(const CXMLBase& object, const std::string& message);
    void Warn(pugi::xml_node at, const char* place, const std::string& message);
    XmlDiagnostic At(pugi::xml_node at, const char* place, const std::string& message);
    // CNodeAttDef/CNodeTypeDesc[2]/CPlateDesc[1]
    std::string PathOf(pugi::xml_node node);
    void ElementPosition(pugi::xml_node element, int& line, int& column);
    size_t OffsetOf(const char* place) const noexcept;
    // where the character at index of a parsed value stood in the text as read
    const char* SourcePlace(const char* value, size_t index);

    // "opened at line 3, column 5"
    std::string OpenedAt(size_t offset);

private:
    // The elements being read, from the root's child down, each with what
    // counts its siblings: a message carries its element's path, with the
    // element's index among its same-named siblings.
    using ReadPath = std::vector<std::pair<const pugi::xml_node_struct*, SiblingCounter*>>;
    ReadPath m_readPath;
    struct ReadPathStep {
        ReadPath& path;
        ReadPathStep(ReadPath& p, pugi::xml_node element, SiblingCounter& siblings) : path(p)
        {
            path.emplace_back(element.internal_object(), &siblings);
        }
        ~ReadPathStep() { path.pop_back(); }
        ReadPathStep(const ReadPathStep&) = delete;
        ReadPathStep& operator=(const ReadPathStep&) = delete;
    };
    int SiblingIndex(pugi::xml_node node);

    // GBK trail bytes that are ASCII but no name character ('@', '[', ']'
    // ...) would stop the parser inside a name, and a ']' could close a
    // CDATA section inside a character: the parser sees them as 0xFF (never
    // a trail byte, always a name character), and each text has them put
    // back as it is read.
    static constexpr char kHiddenTrail = '\xFF';
    std::vector<std::pair<size_t, char>> m_hiddenTrails; // offset in the parsed text, the byte
    void HideParserBreakingTrails(char* text, size_t size);
    void RestoreHiddenTrails(char* text);
    // why the parser stopped, said for an engineer: what the end of the file cut short
    std::string ExplainParseError(const pugi::xml_parse_result& parsed, size_t& offset, std::string& path);
    // the offset of the name of the first end tag whose name the hiding made
    // match its element's, or npos; text as the parser will see it
    size_t FindHiddenEndTagMismatch(const char* text, size_t size) const;
    bool CheckDeclaration(pugi::xml_node declaration);
    bool CheckDeclarationValues(pugi::xml_node declaration);
    bool CheckName(pugi::xml_node at, const char* name, const char* what);

    // names checked once for the elements of a class that carry them alike
    RecentNameLists m_nameRuns;
    using NameRun = RecentNameLists::Run;
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
    // Positions are asked for in document order: a walk over the text as
    // read carries on from the last one, counting how many bytes each
    // character became in the parsed text, so that no text is converted again.
    struct Cursor {
        size_t parsed = 0, input = 0;
        int line = 1, column = 1;
    };
    Cursor m_cursor;
    void Position(size_t offset, int& line, int& column);
    XmlPosition PositionOf(size_t offset);
    // the offset just past the first terminator at or after from, or the end of the text
    size_t OffsetPast(size_t from, std::string_view terminator);
    // the GBK text as it was before parsing, for explaining a failure or
    // recording where attributes end: converted again the first time one
    // is asked, so that a load converts only once
    std::string m_source;
    const std::string& Source();
};

// line and column (from 1, columns counting characters) of a byte offset in a text
void TextPosition(const char* text, size_t size, size_t offset, XmlEncoding encoding, int& line, int& column);
// the bytes of the character at offset at of a valid text in encoding (at least 1)
size_t CharacterLength(const char* text, size_t size, size_t at, XmlEncoding encoding) noexcept;
std::string ObjectPath(const CXMLBase* object);
// a step of a path: the element's name and its index among same-named
// siblings, asked for only when the step is shown
struct PathStep {
    std::string name;
    std::function<int()> index;
};
// CNodeAttDef/CNodeTypeDesc[2]/CPlateDesc[1]; the middle of a very deep path is left out
std::string PathText(const std::vector<PathStep>& steps);

// names
bool IsXmlChar(std::uint32_t cp) noexcept;
// offset of the first character of a GBK name that XML names may not hold
// there, or length when all may (an empty name has none that may)
size_t FindNonNameCharacter(const char* name, size_t length);
inline bool IsXmlName(const char* name)
{
    const size_t length = std::strlen(name);
    return length > 0 && FindNonNameCharacter(name, length) == length;
}
// "xml" in any case: the declaration's target, which no other instruction may have
inline bool IsXmlTarget(std::string_view name)
{
    return name.size() == 3 && (name[0] | 0x20) == 'x' && (name[1] | 0x20) == 'm' && (name[2] | 0x20) == 'l';
}
// the first name that occurs twice among names, or null
const char* FindDuplicate(const char* const* names, size_t count);
// a text for a message, cut short after 64 bytes; and in quotes
std::string Shortened(const char* s);
std::string Quote(const char* s);
