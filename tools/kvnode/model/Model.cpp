#include "model/Model.h"

#include "model/Spelling.h"
#include "output/Escape.h"

#include <xmlobj/XmlEncoding.h>

#include <algorithm>
#include <cstdio>

namespace kvnode {

const kvnodedefine::RegisteredClass* RegisteredClassOf(const CXMLBase& object)
{
    // a host's class derived from a descriptor class is that class to the tool
    for (const CRuntimeClass* cls = object.GetRuntimeClass(); cls; cls = cls->m_pBaseClass)
        if (const kvnodedefine::RegisteredClass* c = kvnodedefine::FindRegisteredClass(cls))
            return c;
    return nullptr;
}

std::string Noun(const CRuntimeClass* cls)
{
    const kvnodedefine::RegisteredClass* c = kvnodedefine::FindRegisteredClass(cls);
    return c ? c->noun : "object";
}

bool IsConstruction(const CXMLBase& object)
{
    const kvnodedefine::RegisteredClass* c = RegisteredClassOf(object);
    return c && c->constructionTypes;
}

std::string Utf8(const char* gbk, size_t size)
{
    std::string out;
    while (size > 0) {
        std::string part;
        TextError error;
        if (ConvertFromGbk(gbk, size, XmlEncoding::Utf8, part, error)) {
            out += part;
            break;
        }
        // the part before the bad byte converts; show the byte and go on after it
        const size_t bad = error.offset < size ? error.offset : size - 1;
        part.clear();
        if (bad > 0 && ConvertFromGbk(gbk, bad, XmlEncoding::Utf8, part, error))
            out += part;
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(gbk[bad]));
        out += escaped;
        gbk += bad + 1;
        size -= bad + 1;
    }
    return out;
}

bool Utf8ToGbk(const std::string& utf8, CString& gbk)
{
    std::string out;
    TextError error;
    if (!ConvertToGbk(utf8.data(), utf8.size(), XmlEncoding::Utf8, out, error))
        return false;
    gbk = CString(out.data(), static_cast<int>(out.size()));
    return true;
}

std::string Label(const CXMLBase& object)
{
    const kvnodedefine::RegisteredClass* c = RegisteredClassOf(object);
    if (object.IsKindOf(RUNTIME_CLASS(CBaseDesc))) {
        const CString name = static_cast<const CBaseDesc&>(object).GetName();
        return std::string(c->noun) + (name.IsEmpty() ? " (unnamed)" : " \"" + Utf8(name) + "\"");
    }
    if (c && object.IsKindOf(RUNTIME_CLASS(CValueListDesc)))
        return c->noun;
    return std::string("<") + object.GetElementName() + ">";
}

// ---- what the host reads

std::vector<Field> KeyFields(const CXMLBase& object)
{
    std::vector<Field> fields;
    if (object.IsKindOf(RUNTIME_CLASS(CValueListDesc))) {
        CStringArray values;
        static_cast<const CValueListDesc&>(object).GetValueList(values);
        CString joined;
        for (INT_PTR i = 0; i < values.GetSize(); ++i)
            joined += (i ? "," : "") + values[i];
        fields.push_back(Field{"values", joined, AttSpec()});
        return fields;
    }
    if (object.IsKindOf(RUNTIME_CLASS(CXMLUnknown))) {
        fields.push_back(Field{"classtype", object.GetClassIndex(), AttSpec()});
        return fields;
    }
    for (kvnodedefine::SavedAttribute& a : kvnodedefine::SavedAttributesOf(object))
        fields.push_back(Field{std::move(a.name), a.text, a.reading});
    // bolts and bolt groups name their variable item inside their expressions
    CString derived;
    if (object.IsKindOf(RUNTIME_CLASS(CBoltDesc)))
        derived = static_cast<const CBoltDesc&>(object).GetVarItemName();
    else if (object.IsKindOf(RUNTIME_CLASS(CBoltGroupDesc)))
        derived = static_cast<const CBoltGroupDesc&>(object).GetVarItemName();
    else
        return fields;
    fields.push_back(Field{"varitem", derived, kvnodedefine::NameOf(RUNTIME_CLASS(CVarItemDesc), false), true});
    return fields;
}

bool IsBaseAttribute(const std::string& attribute)
{
    static const std::vector<AttributeInfo> base = AttributesOf(RUNTIME_CLASS(CBaseDesc));
    for (const AttributeInfo& a : base)
        if (a.name == attribute)
            return true;
    return false;
}

std::vector<Reference> ReferencesOf(const std::vector<Field>& fields)
{
    std::vector<Reference> refs;
    for (const Field& f : fields) {
        if (!f.reading.names || (!f.reading.needed && f.value.IsEmpty()))
            continue;
        if (!f.reading.list) {
            refs.push_back(Reference{&f, f.value});
            continue;
        }
        CStringArray names;
        CNodeGlobal::SplitStringToStringArray(f.value, names);
        for (INT_PTR i = 0; i < names.GetSize(); ++i)
            refs.push_back(Reference{&f, names[i]});
    }
    return refs;
}

// ---- names

Scope::Scope(const CNodeTypeDesc& node) : m_node(node)
{
    const auto index = [this](const CXMLBase& parent) {
        for (const CXMLBase* child : ChildrenOf(parent))
            if (child->IsKindOf(RUNTIME_CLASS(CBaseDesc))) {
                // the first of each class is enough: lookups take the first
                const auto* desc = static_cast<const CBaseDesc*>(child);
                std::vector<const CBaseDesc*>& same = m_children[&parent][Bytes(desc->GetName())];
                if (std::none_of(same.begin(), same.end(), [&](const CBaseDesc* d) {
                        return d->GetRuntimeClass() == child->GetRuntimeClass();
                    }))
                    same.push_back(desc);
            }
    };
    index(node);
    ForEachInNode(node, index);
}

Scope::~Scope() = default;

const CBaseDesc* Scope::Find(const CXMLBase& parent, const CRuntimeClass* cls, const std::string& name) const
{
    const auto names = m_children.find(&parent);
    if (names == m_children.end())
        return nullptr;
    const auto same = names->second.find(name);
    if (same == names->second.end())
        return nullptr;
    for (const CBaseDesc* desc : same->second)
        if (desc->IsKindOf(cls))
            return desc;
    return nullptr;
}

const CBaseDesc* Scope::Resolve(const CXMLBase& from, const CRuntimeClass* cls, const CString& name) const
{
    const std::string bytes = Bytes(name);
    for (const CXMLBase* o = &from; o; o = o->GetParent()) {
        if (const CBaseDesc* found = Find(*o, cls, bytes))
            return found;
        if (o == &m_node)
            break;
    }
    return nullptr;
}

const CBaseDesc* Scope::FindAny(const CString& name) const { return Find(m_node, RUNTIME_CLASS(CBaseDesc), Bytes(name)); }

const Speller& Scope::NamesOf(const CRuntimeClass* cls) const
{
    std::unique_ptr<Speller>& speller = m_spellers[cls];
    if (!speller) {
        std::vector<std::string> names;
        for (const CXMLBase* child : ChildrenOf(m_node)) {
            if (!child->IsKindOf(cls) || !child->IsKindOf(RUNTIME_CLASS(CBaseDesc)))
                continue;
            const std::string name = Bytes(static_cast<const CBaseDesc*>(child)->GetName());
            if (Find(m_node, cls, name) == child)
                names.push_back(name);
        }
        speller = std::make_unique<Speller>(std::move(names));
    }
    return *speller;
}

// ---- walking

std::vector<const CXMLBase*> ChildrenOf(const CXMLBase& object)
{
    std::vector<const CXMLBase*> children;
    ObjIterator* it = object.CreateIterator();
    if (!it)
        return children;
    for (it->First(); !it->IsDone(); it->Next())
        if (const CXMLBase* child = it->CurrentItem())
            children.push_back(child);
    object.DeleteIterator(it);
    return children;
}

void ForEachObject(const CXMLBase& top, const std::function<void(const CXMLBase&)>& visit)
{
    visit(top);
    for (const CXMLBase* child : ChildrenOf(top))
        ForEachObject(*child, visit);
}

void ForEachInNode(const CXMLBase& top, const std::function<void(const CXMLBase&)>& visit)
{
    for (const CXMLBase* child : ChildrenOf(top)) {
        if (child->IsKindOf(RUNTIME_CLASS(CNodeTypeDesc)))
            continue;
        visit(*child);
        ForEachInNode(*child, visit);
    }
}

namespace {
void CollectNodeTypes(const CXMLBase& object, std::vector<const CNodeTypeDesc*>& out)
{
    if (object.IsKindOf(RUNTIME_CLASS(CNodeTypeDesc))) {
        out.push_back(static_cast<const CNodeTypeDesc*>(&object));
        return;
    }
    for (const CXMLBase* child : ChildrenOf(object))
        CollectNodeTypes(*child, out);
}
} // namespace

std::vector<const CNodeTypeDesc*> NodeTypesOf(const CXMLBase* root)
{
    std::vector<const CNodeTypeDesc*> nodes;
    if (root)
        CollectNodeTypes(*root, nodes);
    return nodes;
}

// ---- loading for a command

std::string DiagnosticText(const XmlDiagnostic& d)
{
    std::string text = Utf8(d.message.data(), d.message.size());
    if (!d.path.empty())
        text += " (in " + Utf8(d.path.data(), d.path.size()) + ")";
    return text;
}

bool SelectNodeTypes(const CXMLDocument& doc, const std::string* nodeUtf8, std::vector<const CNodeTypeDesc*>& out,
                     std::ostream& err)
{
    out = NodeTypesOf(doc.GetRoot());
    if (!nodeUtf8)
        return true;
    CString wanted;
    if (Utf8ToGbk(*nodeUtf8, wanted)) {
        for (const CNodeTypeDesc* node : out) {
            if (node->GetName() == wanted) {
                out.assign(1, node);
                return true;
            }
        }
    }
    err << "kvnode: no node type named \"" << Printable(*nodeUtf8) << "\"";
    if (!out.empty()) {
        err << " (there are:";
        for (const CNodeTypeDesc* node : out)
            err << " \"" << Printable(Utf8(node->GetName())) << '"';
        err << ')';
    }
    err << '\n';
    return false;
}

} // namespace kvnode
