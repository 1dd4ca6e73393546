#pragma once
// One load: parses the text, checks what the parser lets pass, and reads
// the objects from the parsed tree as their Serialize asks.
#include <xmlobj/session/DocumentSession.h>
#include "RecentNameLists.h"
#include "TextPlaces.h"
#include "TextPool.h"

#include <xmlobj/XmlDiagnostic.h>
#include <xmlobj/text/XmlEncodingImpl.h>

#include <pugixml.hpp>

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class SiblingCounter;
struct ClassType;
struct CRuntimeClass;

// What a load may hold: the warnings kept (those after them are counted)
// and the memory, as bytes per byte of text and the slack besides.
struct ReadLimits {
    size_t maxWarnings;
    size_t memoryPerByte;
    size_t memorySlack;
};

class ReadSession final : public DocumentSession {
public:
    // where each object and its attributes stand
    using Positions = std::vector<std::pair<const CXMLBase*, XmlMarkup>>;

    // The size bytes at data, a byte-order mark of mark bytes first, in
    // encoding; messages name fileName. positions, when given, gets where
    // each object read stands.
    ReadSession(MSXML2::IXMLDOMDocument& dom, const std::string& fileName, const char* data, size_t size, size_t mark,
                XmlEncoding encoding, const ReadLimits& limits, Positions* positions);

    // Reads the document: the root object, owned by the caller, with the
    // comments and instructions around it into before and after; null when
    // the load fails (Error says why).
    CXMLBase* Read(CXMLComposite& before, CXMLComposite& after);
    const XmlDiagnostic& Error() const noexcept { return error; }
    // the warnings kept, and one more that counts the rest when there are too many
    std::vector<XmlDiagnostic> TakeWarnings();

    bool Object(CXMLBase& object, CStringArray& attributes, CXMLComposite*& content, MSXML2::IXMLDOMNode& node,
                bool children) override;
    bool Composite(CXMLComposite& composite, CStringArray& attributes, MSXML2::IXMLDOMNode& node,
                   bool children) override;
    bool Unknown(CXMLUnknown& unknown, CStringArray& attributes, MSXML2::IXMLDOMNode& node, bool children) override;
    bool Text(const CXMLText& text) override;
    bool Children(const CXMLComposite& composite, MSXML2::IXMLDOMNode& node) override;

private:
    pugi::xml_document& doc;
    std::string fileName;
    // the text being read as it came, and the GBK text that pugixml parsed in place
    TextPlaces m_places;
    TextPool values;
    TextPool elementNames; // of unknown elements, which repeat as values do
    bool failed = false;
    XmlDiagnostic error;
    std::vector<XmlDiagnostic> warnings;
    size_t maxWarnings;
    size_t warningsNotKept = 0;
    XmlDiagnostic firstNotKept;
    Positions* positions;

    // What a load holds, counted as it goes against its budget: the texts,
    // the parsed tree (which shrinks as it is read) and what the objects
    // take; Hold fails the load at at when it would pass the budget.
    size_t memoryPerByte; // of the text, that the budget allows
    size_t memoryBudget;
    size_t memoryHeld;
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

    // Parse, CheckTopLevel, then the objects read themselves from
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
    bool ReadChildren(pugi::xml_node element, CXMLComposite& container);
    bool ReadChild(pugi::xml_node child, SiblingCounter& siblings, CXMLComposite& container);
    CXMLBase* CreateObjectFor(pugi::xml_node element); // null when its name is none

    void RecordPosition(const CXMLBase* object, pugi::xml_node element);

    // findings
    bool Fail(pugi::xml_node at, const char* place, const std::string& message);
    // a failure at a place of the text as given, before there is a parsed one
    bool FailInput(const std::string& message, size_t offset);
    void Warn(pugi::xml_node at, const char* place, const std::string& message);
    XmlDiagnostic At(pugi::xml_node at, const char* place, const std::string& message);
    // CNodeAttDef/CNodeTypeDesc[2]/CPlateDesc[1]
    std::string PathOf(pugi::xml_node node);

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

    // the bytes hidden from the parser (ParseErrors.h), put back as each text is read
    std::vector<std::pair<size_t, char>> m_hiddenTrails; // offset in the parsed text, the byte
    void HideParserBreakingTrails(char* text, size_t size);
    void RestoreHiddenTrails(char* text);
    bool CheckDeclaration(pugi::xml_node declaration);
    bool CheckDeclarationValues(pugi::xml_node declaration);
    bool CheckName(pugi::xml_node at, const char* name, const char* what);

    // names checked once for the elements of a class that carry them alike
    RecentNameLists m_nameRuns;
    using NameRun = RecentNameLists::Run;
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
};
