#pragma once
// How the tool sees a loaded tree: what each descriptor is, which of its
// fields matter, which of them name other descriptors, and where a name leads.
#include <KvNodeDefine/KvNodeDefine.h>

#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace kvnode {

enum class Kind {
    Other, // not a descriptor the tool knows: the root, unknown elements, text
    NodeType,
    Member,
    Plate,
    Cut,
    Bolt,
    BoltGroup,
    BoltPlane,
    LinkBar,
    VarItem,
    Var,
    ValueList,
    Point,
    Line,
    Plane,
    Vector,
    Distance,
    Any, // as a reference target: a descriptor of any kind
};

Kind KindOf(const CXMLBase& object);
CRuntimeClass* RuntimeClassOf(Kind kind); // null for Other and Any
const char* KindWord(Kind kind); // "bolt group", "point", ...
inline bool IsConstruction(Kind k) { return k >= Kind::Point && k <= Kind::Distance; }

// GBK texts as UTF-8 for the terminal; a byte that does not convert shows as \xNN.
std::string Utf8(const char* gbk, size_t size);
inline std::string Utf8(const CString& gbk) { return Utf8(gbk.GetString(), static_cast<size_t>(gbk.GetLength())); }
// a text typed at the terminal, for comparing with names in memory
bool Utf8ToGbk(const std::string& utf8, CString& gbk);
// kind "name", or kind (unnamed); for messages
std::string Label(const CXMLBase& object);

// One field that matters for what a descriptor is. Names of other
// descriptors carry the kind they must name; the rest are texts for the host.
struct Field {
    const char* attribute;
    CString value;            // GBK, as stored (enumerations as their display text)
    Kind target = Kind::Other; // Other: not a name
    bool optional = false;     // an empty value is no reference and not shown
    bool list = false;         // comma-separated names
    bool derived = false;      // computed from other fields, not an attribute of its own
};

// The key fields of an object, in attribute order; for a construction only
// those its type uses.
std::vector<Field> KeyFields(const CXMLBase& object);
// "type=1 (PointByLinePlane)" for a construction, empty otherwise
std::string ConstructionType(const CXMLBase& object);
// a construction kind's table of types, or null
const SteelSystem::EnumTable* ConstructionTypes(Kind kind);

struct Reference {
    const Field* field;
    CString name;
};
// The names among the key fields, lists split; empty optional names left out.
std::vector<Reference> ReferencesOf(const std::vector<Field>& fields);

// Name lookup in one node type: its direct children, and for anything
// inside a link bar also the link bar's own planes, which come first.
// The first descriptor of a name wins, as in the descriptors' own lookups.
class Scope {
public:
    explicit Scope(const CNodeTypeDesc& node);
    const CNodeTypeDesc& Node() const { return m_node; }
    // what name leads to from `from` when a descriptor of `kind` is wanted, or null
    const CBaseDesc* Resolve(const CXMLBase& from, Kind kind, const CString& name) const;
    // any direct child of the node type with the name, for hints
    const CBaseDesc* FindAny(const CString& name) const;
    // the names of the node type's children of a kind (GBK), for hints
    std::vector<std::string> NamesOf(Kind kind) const;

private:
    using Key = std::pair<Kind, std::string>;
    const CNodeTypeDesc& m_node;
    std::map<Key, const CBaseDesc*> m_children;
    std::map<std::pair<const CXMLBase*, std::string>, const CBaseDesc*> m_linkBarPlanes;
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
