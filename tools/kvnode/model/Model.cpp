#include "model/Model.h"

#include <xmlobj/XmlEncoding.h>

#include <cstdio>

namespace kvnode {

namespace {

struct KindInfo {
    CRuntimeClass* cls;
    Kind kind;
    const char* word;
};

// the order does not matter: the descriptor classes derive from none of one another
const KindInfo kKinds[] = {
    {RUNTIME_CLASS(CNodeTypeDesc), Kind::NodeType, "node type"},
    {RUNTIME_CLASS(CNodeMemberDesc), Kind::Member, "member"},
    {RUNTIME_CLASS(CPlateDesc), Kind::Plate, "plate"},
    {RUNTIME_CLASS(CCutDesc), Kind::Cut, "cut"},
    {RUNTIME_CLASS(CBoltDesc), Kind::Bolt, "bolt"},
    {RUNTIME_CLASS(CBoltGroupDesc), Kind::BoltGroup, "bolt group"},
    {RUNTIME_CLASS(CBoltPlaneDesc), Kind::BoltPlane, "bolt plane"},
    {RUNTIME_CLASS(CLinkBarDesc), Kind::LinkBar, "link bar"},
    {RUNTIME_CLASS(CVarItemDesc), Kind::VarItem, "variable item"},
    {RUNTIME_CLASS(CVarDesc), Kind::Var, "variable"},
    {RUNTIME_CLASS(CValueListDesc), Kind::ValueList, "value list"},
    {RUNTIME_CLASS(CPointDesc), Kind::Point, "point"},
    {RUNTIME_CLASS(CLineDesc), Kind::Line, "line"},
    {RUNTIME_CLASS(CPlaneDesc), Kind::Plane, "plane"},
    {RUNTIME_CLASS(CVecDesc), Kind::Vector, "vector"},
    {RUNTIME_CLASS(CDistDesc), Kind::Distance, "distance"},
};

std::string Bytes(const CString& s) { return std::string(s.GetString(), static_cast<size_t>(s.GetLength())); }

// ---- the constructions: which fields each type uses, in the order a save writes them

// The kind of descriptor a construction attribute names: the same attribute
// names the same kind in every class; the texts ("pointdesc", "rellen"...) name none.
Kind TargetOf(const char* attribute)
{
    static const std::pair<const char*, Kind> targets[] = {
        {"memname", Kind::Member},   {"refmem", Kind::Member},       {"line", Kind::Line},
        {"line1", Kind::Line},       {"line2", Kind::Line},          {"plane", Kind::Plane},
        {"plane1", Kind::Plane},     {"plane2", Kind::Plane},        {"relplane", Kind::Plane},
        {"parellelplane", Kind::Plane}, {"perpplane", Kind::Plane},  {"point", Kind::Point},
        {"point1", Kind::Point},     {"point2", Kind::Point},        {"oldpoint", Kind::Point},
        {"vec", Kind::Vector},       {"vec1", Kind::Vector},         {"vec2", Kind::Vector},
        {"oldvec", Kind::Vector},    {"norm", Kind::Vector},         {"dotproductvec", Kind::Vector},
    };
    for (const auto& t : targets)
        if (std::strcmp(t.first, attribute) == 0)
            return t.second;
    return Kind::Other;
}

// the fields the construction's type writes, from the class's own table
template <class C>
void AddTyped(const C& desc, int type, std::vector<Field>& out)
{
    for (const TypedAttribute<C>& row : C::Layout())
        if (type >= row.firstType && type <= row.lastType)
            out.push_back(Field{row.name, desc.*row.field, TargetOf(row.name), row.onlyIfNotEmpty});
}

std::string TypeText(int type, const SteelSystem::EnumTable& types)
{
    const char* name = types.TextOf(type);
    return "type=" + std::to_string(type) + " (" + (name ? name : "unknown") + ")";
}

// ---- the other descriptors

CString EnumText(int value, const SteelSystem::EnumTable& table)
{
    CString text = IntToText(value);
    if (const char* name = table.TextOf(value))
        text = text + "(" + name + ")";
    return text;
}

// a text for the host: it names no descriptor
Field Text(const char* attribute, const CString& value, bool optional = false)
{
    return Field{attribute, value, Kind::Other, optional};
}

Field Name(const char* attribute, const CString& value, Kind target, bool optional = false)
{
    return Field{attribute, value, target, optional};
}

// the variable item a bolt or bolt group derives from its expressions
Field DerivedVarItem(const CString& name)
{
    Field f = Name("varitem", name, Kind::VarItem, true);
    f.derived = true;
    return f;
}

void AddOtherFields(const CXMLBase& object, Kind kind, std::vector<Field>& out)
{
    switch (kind) {
    case Kind::NodeType:
        out.push_back(Text("nodetype", IntToText(static_cast<const CNodeTypeDesc&>(object).GetNodeType())));
        break;
    case Kind::Member: {
        const auto& m = static_cast<const CNodeMemberDesc&>(object);
        out.push_back(Text("kind", IntListToText(m.GetKindArray())));
        out.push_back(Text("sectype", IntListToText(m.GetSecTypeArray())));
        out.push_back(Text("linkplanes", m.GetStrLinkPlanes()));
        out.push_back(Text("rotangles", m.GetRotateAngles(), true));
        out.push_back(Text("linkto", m.GetLinkTo(), true));
        out.push_back(Text("directused", m.IsDirectUsed() ? CString() : CString("0"), true));
        out.push_back(Text("sectdesc", m.GetSectDesc(), true));
        break;
    }
    case Kind::Plate: {
        const auto& p = static_cast<const CPlateDesc&>(object);
        out.push_back(Text("material", EnumText(p.GetMaterial(), SteelSystem::MaterialTable())));
        out.push_back(Text("lenexp", p.GetLenExp()));
        out.push_back(Text("widthexp", p.GetWidthExp()));
        out.push_back(Text("thickexp", p.GetThickExp()));
        Field planes = Name("planes", p.GetPlaneNames(), Kind::Plane);
        planes.list = true;
        out.push_back(planes);
        out.push_back(Name("varitem", p.GetVarItemName(), Kind::VarItem, true));
        break;
    }
    case Kind::Cut: {
        Field planes = Name("planes", static_cast<const CCutDesc&>(object).GetPlaneNames(), Kind::Plane);
        planes.list = true;
        out.push_back(planes);
        break;
    }
    case Kind::Bolt: {
        const auto& b = static_cast<const CBoltDesc&>(object);
        out.push_back(Text("material", EnumText(b.GetMaterial(), SteelSystem::MaterialTable())));
        out.push_back(Text("boltgrade", EnumText(b.GetBoltGrade(), SteelSystem::BoltGradeTable())));
        out.push_back(Text("diam", b.GetDiamExp()));
        out.push_back(Text("len", b.GetLenExp()));
        out.push_back(Text("dlen", b.GetDianBanLenExp(), true));
        out.push_back(Text("dwidth", b.GetDianBanWidthExp(), true));
        out.push_back(Text("dthick", b.GetDianBanThickExp(), true));
        out.push_back(Name("fathername", b.GetFatherName(), Kind::Any, true));
        out.push_back(Name("point", b.GetPointName(), Kind::Point));
        out.push_back(Name("plane", b.GetPlaneName(), Kind::Plane));
        out.push_back(Text("num", b.GetNumExp()));
        out.push_back(DerivedVarItem(b.GetVarItemName()));
        break;
    }
    case Kind::BoltGroup: {
        const auto& g = static_cast<const CBoltGroupDesc&>(object);
        out.push_back(Text("material", EnumText(g.GetMaterial(), SteelSystem::MaterialTable())));
        out.push_back(Text("boltgrade", EnumText(g.GetBoltGrade(), SteelSystem::BoltGradeTable())));
        out.push_back(Text("bolttype", EnumText(g.GetBoltType(), SteelSystem::BoltTypeTable())));
        out.push_back(Text("diam", g.GetDiamExp()));
        out.push_back(Text("len", g.GetLenExp()));
        out.push_back(Text("num", g.GetNumExp()));
        out.push_back(Name("fathername", g.GetFatherName(), Kind::Any, true));
        out.push_back(Text("fatherindex", g.GetFatherSideIndex(), true));
        out.push_back(Text("priorflag", g.GetPriorFlag(), true));
        out.push_back(DerivedVarItem(g.GetVarItemName()));
        break;
    }
    case Kind::BoltPlane: {
        const auto& p = static_cast<const CBoltPlaneDesc&>(object);
        out.push_back(Name("plane", p.GetPlaneName(), Kind::Plane));
        out.push_back(Name("father", p.GetFatherName(), Kind::Any, true));
        break;
    }
    case Kind::LinkBar: {
        const auto& l = static_cast<const CLinkBarDesc&>(object);
        out.push_back(Text("sectype", IntListToText(l.GetSecTypeArray())));
        out.push_back(Text("sect", l.GetSecSize()));
        out.push_back(Text("len", l.GetLenExp()));
        out.push_back(Name("attach1", l.GetAttachPlane1(), Kind::Plane));
        out.push_back(Name("attach2", l.GetAttachPlane2(), Kind::Plane));
        out.push_back(Name("attach3", l.GetAttachPlane3(), Kind::Plane));
        out.push_back(Text("firstindex", IntToText(l.GetFirstIndex())));
        out.push_back(Text("secondindex", IntToText(l.GetSecondIndex())));
        break;
    }
    case Kind::VarItem: {
        const auto& v = static_cast<const CVarItemDesc&>(object);
        out.push_back(Text("type", v.GetStrType(), true));
        out.push_back(Text("defineby", v.IsPredefined() ? "sys" : "user"));
        break;
    }
    case Kind::Var: {
        const auto& v = static_cast<const CVarDesc&>(object);
        out.push_back(Text("value", v.GetRealValue()));
        out.push_back(Text("showvalue", v.GetShowValue() == v.GetRealValue() ? CString() : v.GetShowValue(), true));
        out.push_back(Text("type", v.GetType() == -1 ? CString() : IntToText(v.GetType()), true));
        const char format = v.GetFormatType();
        out.push_back(Text("formattype", CString(&format, 1)));
        break;
    }
    case Kind::ValueList: {
        CStringArray values;
        static_cast<const CValueListDesc&>(object).GetValueList(values);
        CString joined;
        for (INT_PTR i = 0; i < values.GetSize(); ++i)
            joined += (i ? "," : "") + values[i];
        out.push_back(Text("values", joined));
        break;
    }
    default:
        break;
    }
}

} // namespace

Kind KindOf(const CXMLBase& object)
{
    for (const KindInfo& k : kKinds)
        if (object.IsKindOf(k.cls))
            return k.kind;
    return Kind::Other;
}

CRuntimeClass* RuntimeClassOf(Kind kind)
{
    for (const KindInfo& k : kKinds)
        if (k.kind == kind)
            return k.cls;
    return nullptr;
}

const char* KindWord(Kind kind)
{
    for (const KindInfo& k : kKinds)
        if (k.kind == kind)
            return k.word;
    return kind == Kind::Any ? "descriptor" : "object";
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
    const Kind kind = KindOf(object);
    if (kind == Kind::Other)
        return std::string("<") + object.GetElementName() + ">";
    if (kind == Kind::ValueList)
        return KindWord(kind);
    const CString name = static_cast<const CBaseDesc&>(object).GetName();
    return std::string(KindWord(kind)) + (name.IsEmpty() ? " (unnamed)" : " \"" + Utf8(name) + "\"");
}

std::vector<Field> KeyFields(const CXMLBase& object)
{
    std::vector<Field> fields;
    const Kind kind = KindOf(object);
    switch (kind) {
    case Kind::Point: {
        const auto& d = static_cast<const CPointDesc&>(object);
        AddTyped(d, d.GetPointType(), fields);
        break;
    }
    case Kind::Line: {
        const auto& d = static_cast<const CLineDesc&>(object);
        AddTyped(d, d.GetLineType(), fields);
        break;
    }
    case Kind::Plane: {
        const auto& d = static_cast<const CPlaneDesc&>(object);
        AddTyped(d, d.GetPlaneType(), fields);
        break;
    }
    case Kind::Vector: {
        const auto& d = static_cast<const CVecDesc&>(object);
        AddTyped(d, d.GetVecType(), fields);
        break;
    }
    case Kind::Distance: {
        const auto& d = static_cast<const CDistDesc&>(object);
        AddTyped(d, d.GetDistType(), fields);
        break;
    }
    case Kind::Other:
        if (object.IsKindOf(RUNTIME_CLASS(CNodeAttDef)))
            fields.push_back(Text("Version", IntToText(static_cast<const CNodeAttDef&>(object).GetVersion())));
        else if (object.IsKindOf(RUNTIME_CLASS(CXMLUnknown)))
            fields.push_back(Text("classtype", object.GetClassIndex(), true));
        break;
    default:
        AddOtherFields(object, kind, fields);
        break;
    }
    return fields;
}

const SteelSystem::EnumTable* ConstructionTypes(Kind kind)
{
    switch (kind) {
    case Kind::Point: return &CPointDesc::Types();
    case Kind::Line: return &CLineDesc::Types();
    case Kind::Plane: return &CPlaneDesc::Types();
    case Kind::Vector: return &CVecDesc::Types();
    case Kind::Distance: return &CDistDesc::Types();
    default: return nullptr;
    }
}

std::string ConstructionType(const CXMLBase& object)
{
    switch (KindOf(object)) {
    case Kind::Point:
        return TypeText(static_cast<const CPointDesc&>(object).GetPointType(), CPointDesc::Types());
    case Kind::Line:
        return TypeText(static_cast<const CLineDesc&>(object).GetLineType(), CLineDesc::Types());
    case Kind::Plane:
        return TypeText(static_cast<const CPlaneDesc&>(object).GetPlaneType(), CPlaneDesc::Types());
    case Kind::Vector:
        return TypeText(static_cast<const CVecDesc&>(object).GetVecType(), CVecDesc::Types());
    case Kind::Distance:
        return TypeText(static_cast<const CDistDesc&>(object).GetDistType(), CDistDesc::Types());
    default:
        return std::string();
    }
}

std::vector<Reference> ReferencesOf(const std::vector<Field>& fields)
{
    std::vector<Reference> refs;
    for (const Field& f : fields) {
        if (f.target == Kind::Other || (f.optional && f.value.IsEmpty()))
            continue;
        if (!f.list) {
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
    for (const CXMLBase* child : ChildrenOf(node)) {
        const Kind kind = KindOf(*child);
        if (kind == Kind::Other || kind == Kind::ValueList)
            continue;
        const auto& desc = static_cast<const CBaseDesc&>(*child);
        m_children.emplace(Key{kind, Bytes(desc.GetName())}, &desc);
        m_children.emplace(Key{Kind::Any, Bytes(desc.GetName())}, &desc);
        if (kind != Kind::LinkBar)
            continue;
        for (const CXMLBase* part : ChildrenOf(desc))
            if (KindOf(*part) == Kind::Plane)
                m_linkBarPlanes.emplace(std::make_pair(child, Bytes(static_cast<const CBaseDesc*>(part)->GetName())),
                                        static_cast<const CBaseDesc*>(part));
    }
}

const CBaseDesc* Scope::Resolve(const CXMLBase& from, Kind kind, const CString& name) const
{
    if (kind == Kind::Plane) {
        for (const CXMLBase* o = &from; o && o != &m_node; o = o->GetParent()) {
            if (KindOf(*o) != Kind::LinkBar)
                continue;
            const auto it = m_linkBarPlanes.find(std::make_pair(o, Bytes(name)));
            if (it != m_linkBarPlanes.end())
                return it->second;
        }
    }
    const auto it = m_children.find(Key{kind, Bytes(name)});
    return it == m_children.end() ? nullptr : it->second;
}

const CBaseDesc* Scope::FindAny(const CString& name) const { return Resolve(m_node, Kind::Any, name); }

std::vector<std::string> Scope::NamesOf(Kind kind) const
{
    std::vector<std::string> names;
    for (auto it = m_children.lower_bound(Key{kind, std::string()}); it != m_children.end() && it->first.first == kind;
         ++it)
        names.push_back(it->first.second);
    return names;
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
        if (KindOf(*child) == Kind::NodeType)
            continue;
        visit(*child);
        ForEachInNode(*child, visit);
    }
}

namespace {
void CollectNodeTypes(const CXMLBase& object, std::vector<const CNodeTypeDesc*>& out)
{
    if (KindOf(object) == Kind::NodeType) {
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
    err << "kvnode: no node type named \"" << *nodeUtf8 << "\"";
    if (!out.empty()) {
        err << " (there are:";
        for (const CNodeTypeDesc* node : out)
            err << " \"" << Utf8(node->GetName()) << '"';
        err << ')';
    }
    err << '\n';
    return false;
}

} // namespace kvnode
