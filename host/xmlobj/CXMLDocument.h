#pragma once
#include <xmlobj/CXMLBase.h>
#include <xmlobj/XmlDiagnostic.h>
#include <xmlobj/XmlEncoding.h>

#include <string>
#include <vector>

class CXMLComposite;

// The host's entry point: reads a document into a tree of objects, created by
// the class index of each element, and writes the tree back.
//
// A failed load leaves the document as it was; a failed save leaves the
// target file as it was (the text is written to a temporary file beside it,
// flushed and renamed over it). Loads and saves report through GetErrorText.
// What the document holds beside its root is private to the library (no
// standard container in its layout).
//
// Threads: separate documents are independent. The functions of one
// document and its tree that are const (the getters, GetErrorText,
// GetPosition, the descriptors' getters, child lists and lookups) may run on
// any number of threads at once. A load, a change, and a save (which
// refreshes every object's attribute list from its fields) need the
// document to themselves.
class KVHOST_API CXMLDocument {
public:
    // An empty document: no root, encoding UTF-8.
    CXMLDocument();
    // Deletes the root and with it the tree.
    ~CXMLDocument();
    CXMLDocument(const CXMLDocument&) = delete;
    CXMLDocument& operator=(const CXMLDocument&) = delete;

    // Reads the file at path (a file, a pipe or a device that can be read to
    // its end, up to GetMaxFileSize bytes) and makes it the document; false,
    // the document unchanged, when it cannot be read or is not a well-formed
    // document in a supported encoding.
    bool LoadFile(const char* path);
    // Reads a document from size bytes at data; messages name it "<memory>".
    bool LoadXml(const char* data, size_t size);
    // Reads a document from size bytes at data that the caller read from
    // fileName (a pipe, an editor's buffer): messages name that file.
    bool LoadXml(const char* data, size_t size, const char* fileName);
    // Writes the document to path in GetEncoding, replacing the file whole or
    // not at all; false, with the reason, when it cannot. A save refreshes
    // every object's attribute list from its fields: it is a write.
    bool SaveFile(const char* path) const;
    // Writes the document into out, as SaveFile would write the file.
    bool SaveXml(std::string& out) const;

    // The root object, or null before the first load.
    CXMLBase* GetRoot() const noexcept { return m_pRoot; }
    // Makes pRoot the root; the document takes ownership and deletes the old root.
    void SetRoot(CXMLBase* pRoot);
    // Hands the root to the caller, who then owns it; the document is left without one.
    CXMLBase* DetachRoot() noexcept;
    // The comments and processing instructions before the root element, as
    // CXMLText children: a load reads them, a save writes them back in their
    // place (and refuses anything else there); a new root keeps them.
    CXMLComposite& GetBeforeRoot() const noexcept;
    // The comments and processing instructions after the root element, as for GetBeforeRoot.
    CXMLComposite& GetAfterRoot() const noexcept;

    // The encoding a save writes: the one the document was read in, UTF-8 for a new one.
    XmlEncoding GetEncoding() const noexcept;
    // Sets the encoding the next save writes.
    void SetEncoding(XmlEncoding encoding) noexcept;

    // The largest file or stream LoadFile reads, 1 GiB unless set: a load
    // holds a few times the text in memory, and a stream (/dev/zero) may not end.
    static constexpr size_t kDefaultMaxFileSize = size_t(1) << 30;
    // A load holds at most this many times the text it reads, and the slack
    // besides: a document whose tree would need more (only long runs of
    // tiny elements with texts between them come near) is refused where it
    // runs out rather than let grow.
    static constexpr size_t kLoadMemoryPerByte = 32;
    // The memory a load may hold besides kLoadMemoryPerByte times its text.
    static constexpr size_t kLoadMemorySlack = size_t(1) << 20;
    // Sets the largest file or stream LoadFile reads, in bytes.
    void SetMaxFileSize(size_t bytes) noexcept;
    // The largest file or stream LoadFile reads, in bytes.
    size_t GetMaxFileSize() const noexcept;

    // Asks the next loads to record where each element, text and attribute
    // stands (a little time on every one, for tools that report on a tree or
    // rewrite its text). What they record stays valid for the tree as loaded,
    // until the next successful load or a change of root.
    void SetRecordPositions(bool record) noexcept;
    // Whether loads record positions.
    bool IsRecordingPositions() const noexcept;
    // Where object's element (its '<') or text starts, as recorded by the
    // last successful load; line 0 when unknown or after a change of root.
    XmlPosition GetPosition(const CXMLBase* object) const;
    // Where object and its attributes stand, as recorded by the last
    // successful load; null when not recorded.
    const XmlMarkup* GetMarkup(const CXMLBase* object) const;

    // The bytes of a file as LoadFile reads them (a regular file whole, a
    // pipe or FIFO as a stream up to GetMaxFileSize(), never waiting for a
    // writer), for a caller that keeps the text beside the tree and loads it
    // with LoadXml(data, size, path): each input is read once, so a pipe
    // works. A failure says why in GetError, as LoadFile's would.
    bool ReadFile(const char* path, std::string& bytes) const;
    // The bytes of the process's standard input as ReadFile reads a pipe,
    // named "<stdin>" in messages.
    bool ReadStandardInput(std::string& bytes) const;
    // Replaces the file at path with bytes as SaveFile replaces it with the
    // tree's text: all or nothing, keeping the file's mode and owner.
    bool WriteFile(const char* path, const std::string& bytes) const;

    // The warnings a load keeps: its first kMaxWarnings and, when there were
    // more, one after them that counts the rest and repeats the first of
    // them (a document of a million unknown elements would otherwise hold a
    // million messages).
    static constexpr size_t kMaxWarnings = 1000;
    // What the last failed load or save said, "file:line:column: message (in
    // path)"; empty after a success.
    std::string GetErrorText() const;
    // The last failure, in parts; an empty message after a success.
    const XmlDiagnostic& GetError() const noexcept;
    // What the last load warned of (elements of unknown classes kept, class
    // indices that disagree with the element name...), in document order.
    const std::vector<XmlDiagnostic>& GetWarnings() const noexcept;

private:
    struct Impl; // what it holds beside the root, and the steps of a load and a save

    CXMLBase* m_pRoot;
    Impl* m_pImpl;
};
