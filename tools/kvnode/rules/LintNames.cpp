// Names in a node type: unresolved-name, duplicate-name, unused-varitem.
#include "model/Spelling.h"
#include "rules/Families.h"

#include <map>

namespace kvnode {

namespace {

constexpr RuleId kUnresolvedName = "unresolved-name";
constexpr RuleId kDuplicateName = "duplicate-name";
constexpr RuleId kUnusedVarItem = "unused-varitem";

std::string Quoted(const CString& gbk) { return "\"" + Utf8(gbk) + "\""; }

// How a bolt or bolt group came by its variable item's name, the way the
// class derives it: the first expression with its suffix, the suffix taken
// out and the first character dropped.
std::string Derivation(const CXMLBase& o)
{
    CString len, diam, num;
    const char* diamSuffix;
    if (KindOf(o) == Kind::Bolt) {
        const auto& b = static_cast<const CBoltDesc&>(o);
        len = b.GetLenExp(), diam = b.GetDiamExp(), num = b.GetNumExp(), diamSuffix = "_MaoDiam";
    } else {
        const auto& g = static_cast<const CBoltGroupDesc&>(o);
        len = g.GetLenExp(), diam = g.GetDiamExp(), num = g.GetNumExp(), diamSuffix = "_BoltDiam";
    }
    const std::pair<const char*, const CString*> from[] = {{"len", &len}, {"diam", &diam}, {"num", &num}};
    const char* suffixes[] = {"_Len", diamSuffix, "_Num"};
    for (int i = 0; i < 3; ++i) {
        if (from[i].second->Find(suffixes[i]) < 0)
            continue;
        CString rest = *from[i].second;
        rest.Replace(suffixes[i], "");
        std::string text = "; it comes from \"" + std::string(from[i].first) + "\"=" + Quoted(*from[i].second) +
                           " with \"" + suffixes[i] + "\" taken out";
        if (rest.GetLength() >= 2)
            text += " and its first character \"" + Utf8(rest.Left(1)) + "\" dropped";
        return text;
    }
    return std::string();
}

void Unresolved(LintContext& c, const CXMLBase& from, const Reference& ref, const Scope& scope)
{
    const Field& f = *ref.field;
    std::string message = Label(from) + ": \"" + f.attribute + "\"";
    if (f.derived)
        message += " (from its expressions)";
    if (ref.name.IsEmpty()) {
        c.Add(kUnresolvedName, from, f.attribute, message + (f.list ? " holds an empty name" : " is empty"));
        return;
    }
    message += " names no " + std::string(KindWord(f.target)) + " " + Quoted(ref.name);
    const std::string name(ref.name.GetString(), static_cast<size_t>(ref.name.GetLength()));
    const std::vector<std::string> names = scope.NamesOf(f.target);
    Suggestion s = Closest(name, names);
    const bool oneReading = SameButCaseOrBlanks(s) && OnlyCandidate(name, s, names);
    s.word = Utf8(s.word.data(), s.word.size());
    if (!s.word.empty())
        message += DidYouMean(s);
    else if (const CBaseDesc* other = scope.FindAny(ref.name))
        message += " (" + Label(*other) + " has that name)";
    if (f.derived)
        message += Derivation(from);
    Finding& finding = c.Add(kUnresolvedName, from, f.derived ? std::string() : f.attribute, message, Utf8(ref.name));
    if (!f.derived && !s.word.empty())
        finding.fix = oneReading ? Fix::Safe(Fix::Part::Subject, s.word) : Fix::Unsafe(Fix::Part::Subject, s.word);
}

// Descriptors of one kind and name among the children of parent, which
// lookups by name cannot tell apart.
void Duplicates(LintContext& c, const CXMLBase& parent)
{
    std::map<std::pair<Kind, std::string>, const CXMLBase*> first;
    for (const CXMLBase* child : ChildrenOf(parent)) {
        const Kind kind = KindOf(*child);
        if (kind == Kind::Other || kind == Kind::ValueList || kind == Kind::Cut || kind == Kind::BoltPlane)
            continue;
        const CString name = static_cast<const CBaseDesc*>(child)->GetName();
        if (name.IsEmpty())
            continue;
        const auto seen = first.emplace(std::make_pair(kind, std::string(name.GetString())), child);
        if (seen.second)
            continue;
        const XmlPosition p = c.Doc().GetPosition(seen.first->second);
        c.Add(kDuplicateName, *child, "name",
              "a second " + Label(*child) + " in " + Label(parent) +
                  (p.line ? " (the first is at line " + std::to_string(p.line) + ")" : std::string()) +
                  ": lookups find only the first");
    }
}

void CheckNode(LintContext& c, const CNodeTypeDesc& node, ConstructionGraph& graph)
{
    const Scope scope(node);
    Duplicates(c, node);
    std::set<const CBaseDesc*> namedItems;
    ForEachInNode(node, [&](const CXMLBase& o) {
        const Kind kind = KindOf(o);
        if (IsConstruction(kind))
            graph.IndexOf(&o);
        if (kind == Kind::LinkBar || kind == Kind::VarItem)
            Duplicates(c, o);
        if (c.unclearType.count(&o))
            return;
        const std::vector<Field> fields = KeyFields(o);
        for (const Reference& ref : ReferencesOf(fields)) {
            const CBaseDesc* target = scope.Resolve(o, ref.field->target, ref.name);
            if (!target)
                Unresolved(c, o, ref, scope);
            else if (ref.field->target == Kind::VarItem)
                namedItems.insert(target);
            if (target && IsConstruction(kind) && IsConstruction(KindOf(*target))) {
                const int from = graph.IndexOf(&o);
                const int to = graph.IndexOf(target);
                graph.edges[from].push_back(ConstructionGraph::Edge{to, ref.field->attribute});
            }
        }
    });
    for (const CXMLBase* child : ChildrenOf(node))
        if (KindOf(*child) == Kind::VarItem && !namedItems.count(static_cast<const CBaseDesc*>(child)))
            c.Add(kUnusedVarItem, *child, "", Label(*child) + " is named by no plate, bolt or bolt group");
}

} // namespace

void RegisterNameRules(RuleRegistry& r)
{
    r.Add({kUnresolvedName, Severity::Error,
           "a field that the descriptor's construction uses names no descriptor of the kind it needs",
           "The host looks the name up among the node type's descriptors of the kind the field wants and finds "
           "none. The message offers the closest name of that kind, and says when only blanks or letter case "
           "differ.",
           "<CPointDesc classtype=\"8_12\" name=\"P\" type=\"1\" line=\"Axis\" plane=\"Web Plane\"/>",
           "<CPointDesc classtype=\"8_12\" name=\"P\" type=\"1\" line=\"Axis\" plane=\"WebPlane\"/>",
           FixKind::SafeOrUnsafe});
    r.Add({kDuplicateName, Severity::Error, "two descriptors of one kind share a name where lookups would take the first",
           "Lookups by name find the first descriptor; the second is never used.",
           "<CLineDesc classtype=\"8_13\" name=\"Axis\" .../> <CLineDesc classtype=\"8_13\" name=\"Axis\" .../>",
           "<CLineDesc classtype=\"8_13\" name=\"Axis\" .../> <CLineDesc classtype=\"8_13\" name=\"Axis2\" .../>"});
    r.Add({kUnusedVarItem, Severity::Warning, "a variable item that no plate, bolt or bolt group names",
           "Plates name their variable item in \"varitem\"; bolts and bolt groups derive it from their "
           "expressions. An item nothing names is never offered.",
           "<CVarItemDesc classtype=\"8_9\" name=\"Weld\" type=\"plate\" defineby=\"user\"/>",
           "<CPlateDesc ... varitem=\"Weld\"/> <CVarItemDesc classtype=\"8_9\" name=\"Weld\" .../>"});
}

void CheckNames(LintContext& c)
{
    for (const CNodeTypeDesc* node : NodeTypesOf(c.Doc().GetRoot()))
        CheckNode(c, *node, c.graphs[node]);
}

} // namespace kvnode
