#pragma once
#include <xmlobj/CXMLBase.h>
#include <xmlobj/XmlEncoding.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

// A finding about a document: where it is and what it says. line and column
// count from 1 (0 when there is no place, as for a file that cannot be
// opened); the column counts characters; path names the element, as in
// CNodeAttDef/CNodeTypeDesc[2]/CPlateDesc[1].
struct KVHOST_API XmlDiagnostic {
    // the file ("<memory>" for a text), the place, the message and the element's path
    std::string file;
    int line = 0;
    int column = 0;
    std::string message;
    std::string path;
    // "file:line:column: message (in path)", control characters written as \xNN
    std::string Format() const;
};

// Where an object's element starts (its '<') in the text it was read from:
// line and column from 1, the column counting characters; 0 and 0 when unknown.
struct XmlPosition {
    // the place
    int line = 0;
    int column = 0;
};

class CXMLComposite;

// The host's entry point: reads a document into a tree of objects, created by
// the class index of each element, and writes the tree back.
//
// A failed load leaves the document as it was; a failed save leaves the
// target file as it was. Loads and saves report through GetErrorText.
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
    CXMLComposite& GetBeforeRoot() const noexcept { return *m_pBeforeRoot; }
    CXMLComposite& GetAfterRoot() const noexcept { return *m_pAfterRoot; }

    // the encoding a save writes: the one the document was read in, UTF-8 for a new one
    XmlEncoding GetEncoding() const noexcept { return m_Encoding; }
    void SetEncoding(XmlEncoding encoding) noexcept { m_Encoding = encoding; }

    // The largest file or stream LoadFile reads, 1 GiB unless set: a load
    // holds a few times the text in memory, and a stream (/dev/zero) may not end.
    static constexpr size_t kDefaultMaxFileSize = size_t(1) << 30;
    // A load holds at most this many times the text it reads, and the slack
    // besides: a document whose tree would need more (only long runs of
    // tiny elements with texts between them come near) is refused where it
    // runs out rather than let grow.
    static constexpr size_t kLoadMemoryPerByte = 32;
    static constexpr size_t kLoadMemorySlack = size_t(1) << 20;
    void SetMaxFileSize(size_t bytes) noexcept { m_MaxFileSize = bytes; }
    size_t GetMaxFileSize() const noexcept { return m_MaxFileSize; }

    // Positions cost a little on every element, and only tools that report
    // on a tree want them: ask before loading. They stay valid for the tree
    // as loaded, until the next successful load or a change of root.
    void SetRecordPositions(bool record) noexcept { m_bRecordPositions = record; }
    bool IsRecordingPositions() const noexcept { return m_bRecordPositions; }
    XmlPosition GetPosition(const CXMLBase* object) const;

    // What the last load or save said. A load keeps its first kMaxWarnings
    // warnings and, when there were more, one after them that counts the rest
    // and repeats the first of them: a document of a million unknown elements
    // would otherwise hold a million messages.
    static constexpr size_t kMaxWarnings = 1000;
    std::string GetErrorText() const { return m_Error.message.empty() ? std::string() : m_Error.Format(); }
    const XmlDiagnostic& GetError() const noexcept { return m_Error; }
    const std::vector<XmlDiagnostic>& GetWarnings() const noexcept { return m_Warnings; }

private:
    bool Load(const char* data, size_t size, const std::string& fileName);
    bool Render(std::string& out, const std::string& fileName) const;

    CXMLBase* m_pRoot;
    std::unique_ptr<CXMLComposite> m_pBeforeRoot;
    std::unique_ptr<CXMLComposite> m_pAfterRoot;
    XmlEncoding m_Encoding;
    mutable size_t m_SizeHint; // the size of the last text read or written: what a save reserves
    mutable XmlDiagnostic m_Error;
    std::vector<XmlDiagnostic> m_Warnings;
    bool m_bUtf8Mark = false; // a UTF-8 document read with a byte-order mark is written with one
    bool m_bRecordPositions = false;
    size_t m_MaxFileSize = kDefaultMaxFileSize;
    std::vector<std::pair<const CXMLBase*, XmlPosition>> m_Positions; // ordered by object
};
