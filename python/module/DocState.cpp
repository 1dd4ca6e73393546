#include "DocState.h"

#include <xmlobj/ObjIterator.h>

#include <pybind11/pybind11.h>

#include <vector>

namespace py = pybind11;

namespace kvpy {

namespace {

// visits root and every object under it, parents before their children
template <class Visit>
void ForEachInTree(CXMLBase* root, Visit visit)
{
    std::vector<CXMLBase*> pending{root};
    while (!pending.empty()) {
        CXMLBase* object = pending.back();
        pending.pop_back();
        visit(object);
        ObjIterator* it = object->CreateIterator();
        if (!it)
            continue;
        for (it->First(); !it->IsDone(); it->Next())
            if (CXMLBase* child = it->CurrentItem())
                pending.push_back(child);
        object->DeleteIterator(it);
    }
}

} // namespace

Entry::~Entry()
{
    if (object)
        doc->m_entries.erase(object);
}

CXMLBase& Entry::Get() const
{
    if (!object) {
        PyErr_SetString(PyExc_ReferenceError, gone);
        throw py::error_already_set();
    }
    doc->WaitWhileSaving();
    return *object;
}

std::shared_ptr<DocState> DocState::ForDocument(std::unique_ptr<CXMLDocument> document)
{
    std::shared_ptr<DocState> state(new DocState);
    state->m_hasDocument = true;
    state->m_document = std::move(document);
    return state;
}

std::shared_ptr<DocState> DocState::ForLoose(std::unique_ptr<CXMLBase> loose)
{
    std::shared_ptr<DocState> state(new DocState);
    state->m_loose = std::move(loose);
    return state;
}

DocState::~DocState() = default;

CXMLDocument& DocState::Document()
{
    if (!m_hasDocument)
        throw py::type_error("a descriptor that belongs to no document");
    if (!m_document)
        throw py::value_error("the document is closed");
    WaitWhileSaving();
    return *m_document;
}

void DocState::Close()
{
    if (!m_document)
        return;
    WaitWhileSaving();
    for (auto& [object, entry] : m_entries) {
        entry->object = nullptr;
        entry->gone = "the document of this object was closed";
    }
    m_entries.clear();
    ++m_generation;
    m_document.reset();
    m_hasSource = false;
    m_sourceBytes = std::string();
}

std::shared_ptr<Entry> DocState::EntryOf(CXMLBase* object)
{
    auto [at, added] = m_entries.try_emplace(object, nullptr);
    if (!added)
        return at->second->shared_from_this();
    auto entry = std::make_shared<Entry>();
    entry->doc = shared_from_this();
    entry->object = object;
    at->second = entry.get();
    return entry;
}

void DocState::Forget(CXMLBase* subtree, const char* why)
{
    ++m_generation;
    if (m_entries.empty())
        return;
    ForEachInTree(subtree, [&](CXMLBase* object) {
        const auto at = m_entries.find(object);
        if (at == m_entries.end())
            return;
        at->second->object = nullptr;
        at->second->gone = why;
        m_entries.erase(at);
    });
}

CXMLBase* DocState::GiveLooseTo(DocState& tree)
{
    CXMLBase* loose = m_loose.release();
    // the entries now keep the tree alive, and this state goes with the last of them
    const std::shared_ptr<DocState> keep = shared_from_this();
    for (auto& [object, entry] : m_entries) {
        tree.m_entries[object] = entry;
        entry->doc = tree.shared_from_this();
    }
    m_entries.clear();
    ++m_generation;
    ++tree.m_generation;
    tree.Changed();
    return loose;
}

void DocState::WaitWhileSaving()
{
    while (m_saving.load()) {
        py::gil_scoped_release unlocked;
        std::unique_lock<std::mutex> lock(m_mutex);
        m_saved.wait(lock, [this] { return !m_saving.load(); });
    }
}

DocState::Saving::Saving(DocState& state) : m_state(state)
{
    m_state.WaitWhileSaving();
    m_state.m_saving = true;
}

DocState::Saving::~Saving()
{
    {
        const std::lock_guard<std::mutex> lock(m_state.m_mutex);
        m_state.m_saving = false;
    }
    m_state.m_saved.notify_all();
}

void DocState::KeepSource(std::string name, std::string bytes)
{
    m_hasSource = true;
    m_fileName = std::move(name);
    m_sourceBytes = std::move(bytes);
}

void DocState::Changed() noexcept
{
    m_hasSource = false;
    m_sourceBytes = std::string();
}

} // namespace kvpy
