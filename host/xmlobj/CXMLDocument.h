#pragma once
#include <xmlobj/CXMLBase.h>
#include <xmlobj/XmlEncoding.h>

#include <string>
#include <vector>

// A finding about a document: where it is and what it says. line and column
// count from 1 (0 when there is no place, as for a file that cannot be
// opened); the column counts characters; path names the element, as in
// CNodeAttDef/CNodeTypeDesc[2]/CPlateDesc[1]. Plain data that each module
// compiles itself; only Format comes from the library.
struct XmlDiagnostic {
    // the file ("<memory>" for a text), the place, the message and the element's path
    std::string file;
    int line = 0;
    int column = 0;
    std::string message;
    std::string path;
    // "file:line:column: message (in path)", control characters escaped as \\xNN (ESC as \\x1B)
    KVHOST_API std::string Format() const;
};

// A place in the text a document was read from: line and column from 1, the
// column counting characters (as SARIF's unicodeCodePoints and editors do);
// offset counts bytes from the start of the bytes the load was given (a
// byte-order mark included), so that a caller holding them finds the place
// in them. Line 0 when unknown.
struct XmlPosition {
    // the place
    int line = 0;
    int column = 0;
    size_t offset = 0;
};

// From start to just past the end: an empty range has start == end.
struct XmlRange {
    // the ends
    XmlPosition start;
    XmlPosition end;
};

// An attribute as it is written: its name (GBK), where the name stands and
// where its value stands, between the quotes, references unexpanded.
struct XmlAttributeMarkup {
    // the attribute
    CString name;
    XmlRange nameRange;
    XmlRange valueRange;
};

// Where an object stands in the text it was read from. For an element:
// range is its start tag, from '<' to just past its '>', nameRange its name
// as written, and attributes every attribute in the order written (the
// library's own, such as classtype, too). For a text, comment, processing
// instruction or CDATA section: range is all of it, markup included.
struct XmlMarkup {
    // the places
    XmlRange range;
    XmlRange nameRange;
    std::vector<XmlAttributeMarkup> attributes;
};

class CXMLComposite;

// The host's entry point: reads a document into a tree of objects, created by
// the class index of each element, and writes the tree back.
//
// A failed load leaves the document as it was; a failed save leaves the
// target file as it was. Loads and saves report through GetErrorText.
// What the document holds beside its root is private to the library (no
// standard container in its layout).
class KVHOST_API CXMLDocument {
public:
    CXMLDocument();
    ~CXMLDocument();
    CXMLDocument(const CXMLDocument&) = delete;
    CXMLDocument& operator=(const CXMLDocument&) = delete;

    // reading and writing
    bool LoadFile(const char* path);
    bool LoadXml(const char* data, size_t size);
    // the same for bytes read from fileName by the caller (a pipe, a buffer
    // of an editor): messages name that file instead of "<memory>"
    bool LoadXml(const char* data, size_t size, const char* fileName);
    bool SaveFile(const char* path) const;
    bool SaveXml(std::string& out) const;

    // the tree
    CXMLBase* GetRoot() const noexcept { return m_pRoot; }
    void SetRoot(CXMLBase* pRoot); // takes ownership, deletes the old root
    CXMLBase* DetachRoot() noexcept;
    // The comments and processing instructions before and after the root
    // element, as CXMLText children: a load reads them, a save writes them
    // back in their place (and refuses anything else there); a new root keeps them.
    CXMLComposite& GetBeforeRoot() const noexcept;
    CXMLComposite& GetAfterRoot() const noexcept;

    // the encoding a save writes: the one the document was read in, UTF-8 for a new one
    XmlEncoding GetEncoding() const noexcept;
    void SetEncoding(XmlEncoding encoding) noexcept;

    // The largest file or stream LoadFile reads, 1 GiB unless set: a load
    // holds a few times the text in memory, and a stream (/dev/zero) may not end.
    static constexpr size_t kDefaultMaxFileSize = size_t(1) << 30;
    // A load holds at most this many times the text it reads, and the slack
    // besides: a document whose tree would need more (only long runs of
    // tiny elements with texts between them come near) is refused where it
    // runs out rather than let grow.
    static constexpr size_t kLoadMemoryPerByte = 32;
    static constexpr size_t kLoadMemorySlack = size_t(1) << 20;
    void SetMaxFileSize(size_t bytes) noexcept;
    size_t GetMaxFileSize() const noexcept;

    // Positions cost a little on every element and attribute, and only
    // tools that report on a tree or rewrite its text want them: ask before
    // loading. They stay valid for the tree as loaded, until the next
    // successful load or a change of root.
    void SetRecordPositions(bool record) noexcept;
    bool IsRecordingPositions() const noexcept;
    // where object's element (its '<') or text starts
    XmlPosition GetPosition(const CXMLBase* object) const;
    // where object and its attributes stand; null when not recorded
    const XmlMarkup* GetMarkup(const CXMLBase* object) const;

    // The bytes of a file as LoadFile reads them (a regular file whole, a
    // pipe or FIFO as a stream up to GetMaxFileSize(), never waiting for a
    // writer), for a caller that keeps the text beside the tree and loads it
    // with LoadXml(data, size, path): each input is read once, so a pipe
    // works. A failure says why in GetError, as LoadFile's would.
    bool ReadFile(const char* path, std::string& bytes) const;
    // the same for the process's standard input, named "<stdin>" in messages
    bool ReadStandardInput(std::string& bytes) const;
    // Replaces the file at path with bytes as SaveFile replaces it with the
    // tree's text: all or nothing, keeping the file's mode and owner.
    bool WriteFile(const char* path, const std::string& bytes) const;

    // What the last load or save said. A load keeps its first kMaxWarnings
    // warnings and, when there were more, one after them that counts the rest
    // and repeats the first of them: a document of a million unknown elements
    // would otherwise hold a million messages.
    static constexpr size_t kMaxWarnings = 1000;
    std::string GetErrorText() const;
    const XmlDiagnostic& GetError() const noexcept;
    const std::vector<XmlDiagnostic>& GetWarnings() const noexcept;

private:
    struct Impl;

    CXMLBase* m_pRoot;
    Impl* m_pImpl;
};
