#pragma once
// What the Python objects of one tree share: the tree's owner (a document, or
// a descriptor made in Python that no tree has taken yet) and the entries
// that tell those objects when their C++ object goes.
#include <xmlobj/CXMLBase.h>
#include <xmlobj/CXMLDocument.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace kvpy {

class DocState;

// One object of a tree as Python sees it, shared by every Python object that
// stands for it. object becomes null when the object is removed from its
// parent or its document is closed; gone then says which.
struct Entry : std::enable_shared_from_this<Entry> {
    std::shared_ptr<DocState> doc; // keeps the tree alive
    CXMLBase* object = nullptr;
    const char* gone = nullptr;
    ~Entry();
    // the object; ReferenceError once it is gone, and a wait while another thread saves the tree
    CXMLBase& Get() const;
};

class DocState : public std::enable_shared_from_this<DocState> {
public:
    // a document, loaded or new
    static std::shared_ptr<DocState> ForDocument(std::unique_ptr<CXMLDocument> document);
    // a descriptor made in Python, owned here until a tree takes it
    static std::shared_ptr<DocState> ForLoose(std::unique_ptr<CXMLBase> loose);
    ~DocState();
    DocState(const DocState&) = delete;
    DocState& operator=(const DocState&) = delete;

    // the document; ValueError once closed, TypeError for a loose descriptor's state
    CXMLDocument& Document();
    bool HasDocument() const noexcept { return m_hasDocument; }
    bool IsClosed() const noexcept { return m_hasDocument && !m_document; }
    // deletes the tree: every object of it is gone for Python
    void Close();

    // the entry of an object of this tree, made on first use
    std::shared_ptr<Entry> EntryOf(CXMLBase* object);
    // Tells the Python objects of subtree (its root and everything under it) that they are gone; call before deleting it.
    void Forget(CXMLBase* subtree, const char* why);
    // Hands the loose descriptor to tree's owner, which the caller makes its
    // parent (or root): its Python objects then keep that tree alive instead.
    CXMLBase* GiveLooseTo(DocState& tree);
    bool IsLoose(const CXMLBase* object) const noexcept { return object == m_loose.get(); }
    CXMLBase* LooseRoot() const noexcept { return m_loose.get(); }
    // counts the changes of the tree's shape (a child added or removed, the
    // root replaced, the document closed), so that a walk in progress notices them
    std::uint64_t Generation() const noexcept { return m_generation; }

    // Saves write the tree (they bring every attribute list up to date)
    // without the GIL: while one runs, the other threads' reads and writes of
    // this tree wait. Call with the GIL held.
    void WaitWhileSaving();
    class Saving {
    public:
        explicit Saving(DocState& state);
        ~Saving();
        Saving(const Saving&) = delete;
        Saving& operator=(const Saving&) = delete;

    private:
        DocState& m_state;
    };

    // The bytes the document was read from, kept while the tree is as read, so
    // that a check reports places in them; a change drops them.
    void KeepSource(std::string name, std::string bytes);
    void Changed() noexcept;
    bool HasSource() const noexcept { return m_hasSource; }
    const std::string& SourceBytes() const noexcept { return m_sourceBytes; }
    // the file the document was read from, or the name it was read under
    const std::string& FileName() const noexcept { return m_fileName; }
    void SetFileName(std::string name) { m_fileName = std::move(name); }

private:
    DocState() = default;
    friend struct Entry;

    bool m_hasDocument = false;
    std::unique_ptr<CXMLDocument> m_document;
    std::unique_ptr<CXMLBase> m_loose;
    std::unordered_map<const CXMLBase*, Entry*> m_entries;
    std::uint64_t m_generation = 0;

    std::atomic<bool> m_saving{false};
    std::mutex m_mutex;
    std::condition_variable m_saved;

    bool m_hasSource = false;
    std::string m_fileName;
    std::string m_sourceBytes;
};

} // namespace kvpy
