#include "FieldTable.h"

#include "Texts.h"

#include <KvNodeDefine/Attributes.h>
#include <KvNodeDefine/CBaseDesc.h>

#include <map>
#include <set>

namespace py = pybind11;

namespace kvpy {

namespace {

std::map<const CRuntimeClass*, std::vector<Field>>& Fields()
{
    static std::map<const CRuntimeClass*, std::vector<Field>> fields;
    return fields;
}

std::unique_ptr<CXMLBase> Create(const CRuntimeClass* cls)
{
    return std::unique_ptr<CXMLBase>(static_cast<CXMLBase*>(const_cast<CRuntimeClass*>(cls)->CreateObject()));
}

// what a fresh object of cls reads with only attribute set to text
std::unique_ptr<CXMLBase> ReadFresh(const CRuntimeClass* cls, const std::string& attribute, const CString& text)
{
    std::unique_ptr<CXMLBase> object = Create(cls);
    if (!attribute.empty())
        object->SetAttText(attribute.c_str(), text);
    object->RefreshMemberWithAttList();
    return object;
}

void Resolve(const CRuntimeClass* cls, std::vector<Field>& fields)
{
    // which fields each attribute changes, given a text that changes a text,
    // a number, a list, a flag or a character
    const std::unique_ptr<CXMLBase> fresh = ReadFresh(cls, std::string(), CString());
    std::map<std::string, std::set<const Field*>> changes;
    for (const AttributeInfo& a : AttributesOf(const_cast<CRuntimeClass*>(cls)))
        for (const char* marker : {"0", "7", "kvprobe"})
            for (const Field& field : fields)
                if (a.read && field.fingerprint(*ReadFresh(cls, a.name, marker)) != field.fingerprint(*fresh))
                    changes[a.name].insert(&field);
    for (Field& field : fields) {
        // an attribute the field is read from; where there are more (a
        // variable's shown value falls back to "value"), the one that is its own
        std::set<std::string> found, own;
        for (const auto& [name, changed] : changes)
            if (changed.count(&field)) {
                found.insert(name);
                if (changed.size() == 1)
                    own.insert(name);
            }
        if (found.size() > 1)
            found = own;
        const std::string where = std::string(cls->m_lpszClassName) + "." + field.name;
        if (found.size() > 1 || (found.empty() && !field.hasSetter))
            throw py::import_error(where + " is read from " + std::to_string(found.size()) +
                                   " attributes of its own; a field without a setter needs one");
        // a field with a setter may be converted elsewhere than in the refresh pair (the root's version)
        if (found.empty())
            continue;
        field.attribute = *found.begin();
        if (field.fingerprint(*ReadFresh(cls, field.attribute, field.sampleText)) != field.sampleFingerprint)
            throw py::import_error(where + " does not read back what its attribute is given");
    }
}

} // namespace

void AddField(const CRuntimeClass* cls, Field field) { Fields()[cls].push_back(std::move(field)); }

const Field* FindField(const CRuntimeClass* cls, const std::string& name)
{
    for (; cls; cls = cls->m_pBaseClass) {
        const auto at = Fields().find(cls);
        if (at == Fields().end())
            continue;
        for (const Field& field : at->second)
            if (field.name == name)
                return &field;
    }
    return nullptr;
}

void ResolveAttributes()
{
    for (auto& [cls, fields] : Fields())
        Resolve(cls, fields);
}

void SetField(CXMLBase& object, const Field& field, py::handle value)
{
    if (field.hasSetter) {
        field.set(object, value);
        return;
    }
    // No attribute is ever removed: one that the field was not read from is
    // not added for a value the field holds already.
    const CString text = field.attributeText(value);
    if (field.fingerprint(object) == text.GetString())
        return;
    object.RefreshAttListWithMember();
    object.SetAttText(field.attribute.c_str(), text);
    object.RefreshMemberWithAttList();
}

void CopySetterFields(const CXMLBase& from, CXMLBase& to)
{
    for (const CRuntimeClass* cls = from.GetRuntimeClass(); cls; cls = cls->m_pBaseClass) {
        const auto at = Fields().find(cls);
        if (at != Fields().end())
            for (const Field& field : at->second)
                if (field.copy)
                    field.copy(from, to);
    }
}

std::unique_ptr<CXMLBase> BuildObject(CRuntimeClass* cls, const py::kwargs& given)
{
    // every field named, and its text for those read from attributes
    std::map<std::string, CString> texts;
    std::vector<std::pair<const Field*, py::handle>> setters;
    const std::vector<AttributeInfo> attributes = AttributesOf(cls);
    // a class without fixed attributes (a value list) is given its attributes themselves
    std::vector<std::pair<CString, CString>> free;
    for (const auto& [key, value] : given) {
        const std::string name = py::str(key);
        const Field* field = FindField(cls, name);
        if (!field && attributes.empty() && !cls->IsDerivedFrom(RUNTIME_CLASS(CBaseDesc))) {
            free.emplace_back(ToText(key), ToText(value));
            continue;
        }
        if (!field)
            throw py::type_error(std::string(cls->m_lpszClassName) + " has no field " + name);
        if (field->attribute.empty())
            setters.emplace_back(field, value);
        else
            texts[field->attribute] = field->attributeText(value);
    }
    // the attributes in the order a save writes them, read once, as a load reads them
    std::unique_ptr<CXMLBase> object = Create(cls);
    for (const AttributeInfo& a : attributes) {
        const auto text = texts.find(a.name);
        if (text != texts.end())
            object->SetAttText(a.name.c_str(), text->second);
    }
    for (const auto& [name, text] : free)
        object->SetAttText(name, text);
    object->RefreshMemberWithAttList();
    // A save keeps the order of the attributes an object holds and adds those
    // it lacks after them; so the object is made again holding from the start
    // every attribute its save writes (a construction: those of its type), as
    // one read from a file would, the given texts as given.
    const std::vector<kvnodedefine::SavedAttribute> saved = kvnodedefine::SavedAttributesOf(*object);
    if (!saved.empty()) {
        object = Create(cls);
        for (const kvnodedefine::SavedAttribute& a : saved) {
            const auto text = texts.find(a.name);
            object->SetAttText(a.name.c_str(), text != texts.end() ? text->second : a.text);
            if (text != texts.end())
                texts.erase(text);
        }
        for (const auto& [name, text] : texts) // read by the class, written by no save
            object->SetAttText(name.c_str(), text);
        object->RefreshMemberWithAttList();
    }
    for (const auto& [field, value] : setters)
        field->set(*object, value);
    return object;
}

} // namespace kvpy
