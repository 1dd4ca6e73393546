#pragma once
// How the tool sees a loaded tree, all of it asked of the library: which
// class each object is (the library's registry), what the host reads of it
// (what a save of it writes, SavedAttributesOf), which of those texts name
// other descriptors and of which class, and where a name leads.
#include <KvNodeDefine/KvNodeDefine.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace kvnode {

class Speller;

// the registered class of object exactly, or null (the root's text, comments, unknown elements)
const kvnodedefine::RegisteredClass* RegisteredClassOf(const CXMLBase& object);
// "bolt group"; "descriptor" for CBaseDesc, which a name of any class names
std::string Noun(const CRuntimeClass* cls);
// a point, line, plane, vector or distance: built by a type that chooses its attributes
bool IsConstruction(const CXMLBase& object);

// GBK texts as UTF-8 for the terminal; a byte that does not convert shows as \xNN.
std::string Utf8(const char* gbk, size_t size);
inline std::string Utf8(const CString& gbk) { return Utf8(gbk.GetString(), static_cast<size_t>(gbk.GetLength())); }
// a text typed at the terminal, for comparing with names in memory
bool Utf8ToGbk(const std::string& utf8, CString& gbk);
inline std::string Bytes(const CString& s) { return std::string(s.GetString(), static_cast<size_t>(s.GetLength())); }
// noun "name", or noun (unnamed); <element> for an object of no registered class; for messages
std::string Label(const CXMLBase& object);

// One field of what the host reads of a descriptor.
struct Field {
    std::string attribute;
    CString value;        // GBK, as the host reads it (what a save writes)
    AttSpec reading;      // how it is read, and what it names
    bool derived = false; // worked out from other fields, not an attribute (a bolt's variable item)
};

// What the host reads of object, in save order: each attribute a save of it
// writes (for a construction those of its type, after "type"), then what it
// works out from them (a bolt's variable item); for a value list its values.
std::vector<Field> KeyFields(const CXMLBase& object);
// the attributes every descriptor has ("name", "showname"), which KeyFields lists first
bool IsBaseAttribute(const std::string& attribute);

struct Reference {
    const Field* field;
    CString name;
};
// The names among the fields, lists split as the host splits them; an empty
// name that is not needed names nothing and is left out.
std::vector<Reference> ReferencesOf(const std::vector<Field>& fields);

// Name lookup in one node type. A descriptor sees first the children of
// each descriptor it lies in, innermost first (the planes of its link bar),
// then the node type's children; the first descriptor of a name wins, as in
// the descriptors' own lookups.
class Scope {
public:
    explicit Scope(const CNodeTypeDesc& node);
    ~Scope();
    const CNodeTypeDesc& Node() const { return m_node; }
    // what name leads to from `from` when a descriptor of cls (or derived) is wanted, or null
    const CBaseDesc* Resolve(const CXMLBase& from, const CRuntimeClass* cls, const CString& name) const;
    // any direct child of the node type with the name, for hints
    const CBaseDesc* FindAny(const CString& name) const;
    // the names of the node type's children of cls, indexed for hints (GBK)
    const Speller& NamesOf(const CRuntimeClass* cls) const;

private:
    // a parent's descriptor children by name: the first of each class, in child order
    using Names = std::unordered_map<std::string, std::vector<const CBaseDesc*>>;
    const CBaseDesc* Find(const CXMLBase& parent, const CRuntimeClass* cls, const std::string& name) const;

    const CNodeTypeDesc& m_node;
    std::unordered_map<const CXMLBase*, Names> m_children; // only parents that have some
    mutable std::unordered_map<const CRuntimeClass*, std::unique_ptr<Speller>> m_spellers;
};

// direct children of a composite, in order (none for a plain object)
std::vector<const CXMLBase*> ChildrenOf(const CXMLBase& object);
// top and every object below it, parents before children
void ForEachObject(const CXMLBase& top, const std::function<void(const CXMLBase&)>& visit);
// every object below `top`, parents before children, not entering nested node types
void ForEachInNode(const CXMLBase& top, const std::function<void(const CXMLBase&)>& visit);
// the node types of a document: the root itself, or those anywhere below it
std::vector<const CNodeTypeDesc*> NodeTypesOf(const CXMLBase* root);

// a reader's message in UTF-8 with the element path: "message (in path)"
std::string DiagnosticText(const XmlDiagnostic& diagnostic);
// The node types to work on: all, or the one named nodeUtf8 (an error on err when none is).
bool SelectNodeTypes(const CXMLDocument& doc, const std::string* nodeUtf8, std::vector<const CNodeTypeDesc*>& out,
                     std::ostream& err);

} // namespace kvnode
