#include <KvNodeDefine/Attributes.h>
#include <KvNodeDefine/TextConvert.h>
#include <xmlobj/CXMLBase.h>

#include <algorithm>
#include <atomic>
#include <memory>

namespace kvnodedefine {

namespace {

// what a probe heard, in the order it heard it
struct Notes {
    std::vector<AttributeInfo> written;
    std::vector<AttributeInfo> read;
    std::vector<SavedAttribute>* saved = nullptr; // each write with its text
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
    AttributeInfo info;
    info.name = name;
    info.reading = reading;
    list.push_back(info);
}

std::vector<AttributeInfo>::iterator Find(std::vector<AttributeInfo>& list, const std::string& name)
{
    return std::find_if(list.begin(), list.end(), [&](const AttributeInfo& a) { return a.name == name; });
}

bool Has(std::vector<AttributeInfo>& list, const std::string& name) { return Find(list, name) != list.end(); }

// what a save of object writes after its attributes are set to text (and
// "type" to type), as its fields then hold them
std::vector<AttributeInfo> SavedWith(CXMLBase& object, const std::vector<AttributeInfo>& all, const char* text,
                                     const EnumText* type)
{
    for (const AttributeInfo& a : all)
        object.SetAttText(a.name.c_str(), text);
    if (type)
        object.SetAttText("type", IntToText(type->value));
    ReadFieldsFromAttributes(object);
    Notes notes;
    {
        const Probe probe(notes);
        WriteFieldsToAttributes(object);
    }
    return notes.written;
}

} // namespace

// A load and a save with no document: every class converts its fields in
// Serialize (the root does so there alone), and the XML object library,
// having nothing to read or write, does nothing.
void ReadFieldsFromAttributes(CXMLBase& object)
{
    MSXML2::IXMLDOMNode none;
    object.Serialize(none, nullptr, true, false);
}

void WriteFieldsToAttributes(CXMLBase& object)
{
    MSXML2::IXMLDOMNode none;
    object.Serialize(none, nullptr, false, false);
}

void WriteAtt(CXMLBase& object, const char* name, AttSpec reading, const CString& text)
{
    if (Notes* notes = Listening()) {
        Note(notes->written, name, reading);
        if (notes->saved)
            notes->saved->push_back(SavedAttribute{name, reading, text});
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
        ReadFieldsFromAttributes(*object);
    }
    std::vector<AttributeInfo> all = notes.read;
    for (AttributeInfo& a : all)
        a.read = true;

    // What a save writes depends on the fields: "0" in every attribute sets
    // each field that is written only when set, and a construction is saved
    // once for each of its types. Empty texts then show which of them a
    // save leaves out when unset.
    const auto type = Find(all, "type");
    const EnumTable* types = type != all.end() ? type->reading.table : nullptr;
    const int rounds = types && types->count > 0 ? types->count : 1;
    std::vector<AttributeInfo> written;
    for (int round = 0; round < rounds; ++round) {
        const EnumText* typeRow = types ? &types->rows[round] : nullptr;
        const std::vector<AttributeInfo> set = SavedWith(*object, all, "0", typeRow);
        std::vector<AttributeInfo> unset = SavedWith(*object, all, "", typeRow);
        for (const AttributeInfo& w : set) {
            if (!Has(written, w.name))
                written.push_back(w);
            AttributeInfo& info = *Find(written, w.name);
            info.writtenOnlyWhenSet = info.writtenOnlyWhenSet || !Has(unset, w.name);
            if (typeRow)
                info.writtenForTypes.push_back(typeRow->value);
        }
    }
    // anything only written goes after the attribute written before it
    std::string previous;
    for (const AttributeInfo& w : written) {
        auto at = Find(all, w.name);
        if (at == all.end()) {
            const auto after = previous.empty() ? all.begin() : Find(all, previous) + 1;
            at = all.insert(after, w);
        }
        at->written = true;
        at->writtenOnlyWhenSet = w.writtenOnlyWhenSet;
        // what every type writes does not depend on the type
        if (static_cast<int>(w.writtenForTypes.size()) < rounds)
            at->writtenForTypes = w.writtenForTypes;
        previous = w.name;
    }
    return all;
}

std::vector<SavedAttribute> SavedAttributesOf(const CXMLBase& object)
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
    ReadFieldsFromAttributes(*copy);
    Notes notes;
    notes.saved = &saved;
    const Probe probe(notes);
    WriteFieldsToAttributes(*copy);
    return saved;
}

} // namespace kvnodedefine
