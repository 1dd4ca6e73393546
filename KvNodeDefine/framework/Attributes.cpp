#include <KvNodeDefine/Attributes.h>
#include <KvNodeDefine/TextConvert.h>
#include <xmlobj/CXMLBase.h>

#include <algorithm>
#include <atomic>
#include <memory>

namespace {

// what a probe heard, in the order it heard it
struct Notes {
    std::vector<AttributeInfo> written;
    std::vector<AttributeInfo> read;
    std::vector<kvnodedefine::SavedAttribute>* saved = nullptr; // each write with its text
};

// Loads and saves ask the cheap question first: is any probe running at all?
std::atomic<int> g_probes{0};
thread_local Notes* t_notes = nullptr;

Notes* Listening() { return g_probes.load(std::memory_order_relaxed) ? t_notes : nullptr; }

// a probe listening on this thread for as long as it lives
class Probe {
public:
    explicit Probe(Notes& notes)
    {
        ++g_probes;
        t_notes = &notes;
    }
    ~Probe()
    {
        t_notes = nullptr;
        --g_probes;
    }
    Probe(const Probe&) = delete;
    Probe& operator=(const Probe&) = delete;
};

void Note(std::vector<AttributeInfo>& list, const char* name, AttSpec reading)
{
    for (const AttributeInfo& a : list)
        if (a.name == name)
            return;
    list.push_back(AttributeInfo{name, reading});
}

std::vector<AttributeInfo>::iterator Find(std::vector<AttributeInfo>& list, const std::string& name)
{
    return std::find_if(list.begin(), list.end(), [&](const AttributeInfo& a) { return a.name == name; });
}

} // namespace

void WriteAtt(CXMLBase& object, const char* name, AttSpec reading, const CString& text)
{
    if (Notes* notes = Listening()) {
        Note(notes->written, name, reading);
        if (notes->saved)
            notes->saved->push_back(kvnodedefine::SavedAttribute{name, reading, text});
    }
    object.SetAttText(name, text);
}

bool ReadAtt(const CXMLBase& object, const char* name, AttSpec reading, CString& text)
{
    if (Notes* notes = Listening())
        Note(notes->read, name, reading);
    return object.GetAttText(name, text);
}

std::vector<AttributeInfo> AttributesOf(CRuntimeClass* cls)
{
    if (!cls || !cls->IsDerivedFrom(RUNTIME_CLASS(CXMLBase)))
        return {};
    const std::unique_ptr<CObject> made(cls->CreateObject());
    auto* object = dynamic_cast<CXMLBase*>(made.get());
    if (!object)
        return {};
    Notes notes;
    {
        const Probe probe(notes);
        object->RefreshMemberWithAttList();
    }
    std::vector<AttributeInfo> all = notes.read;
    for (AttributeInfo& a : all)
        a.read = true;

    // What a save writes depends on the fields: "0" in every attribute sets
    // each field that is written only when set, and a construction is saved
    // once for each of its types.
    const auto type = Find(all, "type");
    const SteelSystem::EnumTable* types = type != all.end() ? type->reading.table : nullptr;
    const int rounds = types && types->count > 0 ? types->count : 1;
    for (int round = 0; round < rounds; ++round) {
        for (const AttributeInfo& a : all)
            object->SetAttText(a.name.c_str(), "0");
        if (types)
            object->SetAttText("type", IntToText(types->rows[round].value));
        object->RefreshMemberWithAttList();
        const Probe probe(notes);
        object->RefreshAttListWithMember();
    }
    // anything only written goes after the attribute written before it
    std::string previous;
    for (const AttributeInfo& w : notes.written) {
        auto at = Find(all, w.name);
        if (at == all.end()) {
            const auto after = previous.empty() ? all.begin() : Find(all, previous) + 1;
            at = all.insert(after, w);
        }
        at->written = true;
        previous = w.name;
    }
    return all;
}

std::vector<kvnodedefine::SavedAttribute> kvnodedefine::SavedAttributesOf(const CXMLBase& object)
{
    std::vector<SavedAttribute> saved;
    const CRuntimeClass* cls = object.GetRuntimeClass();
    const std::unique_ptr<CObject> made(cls->m_pfnCreateObject ? cls->CreateObject() : nullptr);
    auto* copy = dynamic_cast<CXMLBase*>(made.get());
    if (!copy)
        return saved;
    const CStringArray& list = object.GetAttList();
    for (INT_PTR i = 0; i + 1 < list.GetSize(); i += 2)
        copy->SetAttText(list[i].GetString(), list[i + 1]);
    copy->RefreshMemberWithAttList();
    Notes notes;
    notes.saved = &saved;
    const Probe probe(notes);
    copy->RefreshAttListWithMember();
    return saved;
}
