// Names: unresolved-name, duplicate-name, unused-varitem.
#include "model/Spelling.h"
#include "rules/Families.h"

#include <map>
#include <set>
#include <unordered_map>
#include <unordered_set>

namespace kvnode {

namespace {

constexpr RuleId kUnresolvedName = "unresolved-name";
constexpr RuleId kDuplicateName = "duplicate-name";
constexpr RuleId kUnusedVarItem = "unused-varitem";
constexpr RuleId kUnknownVariable = "unknown-variable";

std::string Quoted(const CString& gbk) { return "\"" + Utf8(gbk) + "\""; }

// Which written expression a worked-out name comes from: the first of the
// descriptor's own texts that holds it after a first character.
std::string Origin(LintContext& c, const CXMLBase& o, const CString& name)
{
    for (const Field& f : c.FieldsOf(o))
        if (!f.derived && !f.reading.names && !IsBaseAttribute(f.attribute) && f.value.Find(name) >= 1)
            return "; it comes from \"" + f.attribute + "\"=" + Quoted(f.value);
    return std::string();
}

// a semicolon, or a Chinese comma or enumeration comma (GBK A3AC, A1A2, A3BB), inside a name of a list
bool HasOtherSeparator(const CString& name)
{
    const char* s = name.GetString();
    const size_t n = static_cast<size_t>(name.GetLength());
    for (size_t i = 0; i < n; ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b == ';')
            return true;
        if (b >= 0x81 && i + 1 < n) {
            const auto t = static_cast<unsigned char>(s[++i]);
            if ((b == 0xA3 && (t == 0xAC || t == 0xBB)) || (b == 0xA1 && t == 0xA2))
                return true;
        }
    }
    return false;
}

class Unresolved {
public:
    Unresolved(LintContext& c, const NameGraph& graph) : m_c(c), m_graph(graph) {}

    void Report(const NameGraph::Arc& arc)
    {
        const CXMLBase& from = *m_graph.Vertices()[arc.from].object;
        const NameGraph::Vertex& missing = m_graph.Vertices()[arc.to];
        const std::string attribute = arc.derived ? std::string() : arc.field;
        std::string message = Label(from) + ": \"" + arc.field + "\"";
        if (arc.derived)
            message += " (from its expressions)";
        if (missing.name.IsEmpty()) {
            m_c.Add(kUnresolvedName, from, attribute, message + (arc.list ? " holds an empty name" : " is empty"));
            return;
        }
        message += " names no " + Noun(missing.cls) + " " + Quoted(missing.name) + Hint(missing);
        if (arc.list && HasOtherSeparator(missing.name))
            message += " (the names of a list are separated by commas)";
        if (arc.derived)
            message += Origin(m_c, from, missing.name);
        m_c.Add(kUnresolvedName, from, attribute, message, Utf8(missing.name));
    }

private:
    // the closest name of the class wanted, or another class's descriptor of the name
    std::string Hint(const NameGraph::Vertex& missing)
    {
        std::string& hint = m_hints[&missing];
        if (!hint.empty())
            return hint == "-" ? std::string() : hint;
        Suggestion s = m_graph.Names().NamesOf(missing.cls).Closest(Bytes(missing.name));
        s.word = Utf8(s.word.data(), s.word.size());
        if (!s.word.empty())
            hint = DidYouMean(s);
        else if (const CBaseDesc* other = m_graph.Names().FindAny(missing.name))
            hint = " (" + Label(*other) + " has that name)";
        else
            hint = "-";
        return hint == "-" ? std::string() : hint;
    }

    LintContext& m_c;
    const NameGraph& m_graph;
    std::unordered_map<const NameGraph::Vertex*, std::string> m_hints;
};

// Descriptors of one class and name among the children of parent, which
// lookups by name cannot tell apart.
void Duplicates(LintContext& c, const CXMLBase& parent)
{
    std::map<std::pair<const CRuntimeClass*, std::string>, const CXMLBase*> first;
    for (const CXMLBase* child : ChildrenOf(parent)) {
        if (!child->IsKindOf(RUNTIME_CLASS(CBaseDesc)))
            continue;
        const std::string name = Bytes(static_cast<const CBaseDesc*>(child)->GetName());
        if (name.empty())
            continue;
        const auto seen = first.emplace(std::make_pair(child->GetRuntimeClass(), name), child);
        if (seen.second)
            continue;
        const XmlPosition p = c.Doc().GetPosition(seen.first->second);
        const std::string where = parent.IsKindOf(RUNTIME_CLASS(CBaseDesc)) ? Label(parent) : "the document";
        c.Add(kDuplicateName, *child, "name",
              "a second " + Label(*child) + " in " + where +
                  (p.line ? " (the first is at line " + std::to_string(p.line) + ")" : std::string()) +
                  ": lookups find only the first");
    }
}

bool EndsName(char ch) { return std::string(" \t\r\n+-*/()[]{}<>=!&|^%,;:?@'\"").find(ch) != std::string::npos; }

size_t CharSize(const char* s, size_t i, size_t n) { return static_cast<unsigned char>(s[i]) >= 0x81 && i + 1 < n ? 2 : 1; }

// The variable items of a node type and the names of their variables.
struct Items {
    struct Item {
        const CXMLBase* object;
        std::unordered_set<std::string> variables;
        std::vector<std::string> names; // in order, for hints
    };
    std::unordered_map<std::string, Item> byName; // the first item of each name
};

// A use "@Item_Variable" of an item whose variable does not exist
struct BadUse {
    std::string text; // "@Item_Variable"
    const Items::Item* item;
    std::string variable;
};

// The uses an expression makes by the convention @Item_Variable: each '@'
// followed by an item's name, '_' and a variable's name. An item's name may
// hold '_' itself, so each '_' is tried; GBK trail bytes may look like '@'
// or '_', so the text is walked a character at a time.
void UsesIn(const CString& text, const Items& items, std::unordered_set<const CXMLBase*>& used,
            std::vector<BadUse>* bad)
{
    const char* s = text.GetString();
    const size_t n = static_cast<size_t>(text.GetLength());
    for (size_t i = 0; i < n;) {
        if (s[i] != '@') {
            i += CharSize(s, i, n);
            continue;
        }
        const size_t start = ++i;
        size_t end = start;
        while (end < n && !EndsName(s[end]))
            end += CharSize(s, end, n);
        const Items::Item* named = nullptr; // the longest item named, when no variable of one is
        bool found = false;
        std::string variable;
        for (size_t j = start; j < end; j += CharSize(s, j, n)) {
            if (s[j] != '_')
                continue;
            const auto item = items.byName.find(std::string(s + start, j - start));
            if (item == items.byName.end())
                continue;
            used.insert(item->second.object);
            const std::string name(s + j + 1, end - j - 1);
            found = found || item->second.variables.count(name);
            named = &item->second;
            variable = name;
        }
        if (bad && named && !found && !variable.empty())
            bad->push_back(BadUse{std::string(s + start - 1, end - start + 1), named, variable});
        i = end;
    }
}

// Items a plate names, a bolt works out from its expressions, or any
// expression of the node type uses as @Item_Variable; and uses of variables
// an item lacks.
void Expressions(LintContext& c, const CNodeTypeDesc& node, const NameGraph& graph)
{
    Items items;
    for (const CXMLBase* child : ChildrenOf(node)) {
        if (!child->IsKindOf(RUNTIME_CLASS(CVarItemDesc)))
            continue;
        Items::Item& item =
            items.byName.emplace(Bytes(static_cast<const CBaseDesc*>(child)->GetName()), Items::Item{child, {}, {}})
                .first->second;
        if (item.object != child)
            continue;
        for (const CXMLBase* var : ChildrenOf(*child))
            if (var->IsKindOf(RUNTIME_CLASS(CVarDesc))) {
                const std::string name = Bytes(static_cast<const CBaseDesc*>(var)->GetName());
                if (item.variables.insert(name).second)
                    item.names.push_back(name);
            }
    }
    if (items.byName.empty())
        return;
    std::unordered_set<const CXMLBase*> used;
    for (const NameGraph::Arc& a : graph.Arcs())
        if (!a.owns && graph.Vertices()[a.to].object)
            used.insert(graph.Vertices()[a.to].object);
    ForEachInNode(node, [&](const CXMLBase& o) {
        // what an unknown element holds is no one's expression, but may still name an item
        const bool read = RegisteredClassOf(o) && !(o.GetParent() && o.GetParent()->IsKindOf(RUNTIME_CLASS(CXMLUnknown)));
        const CStringArray& list = o.GetAttList();
        for (INT_PTR i = 0; i + 1 < list.GetSize(); i += 2) {
            std::vector<BadUse> bad;
            UsesIn(list[i + 1], items, used, read ? &bad : nullptr);
            for (const BadUse& b : bad) {
                const std::string item = Utf8(static_cast<const CBaseDesc*>(b.item->object)->GetName());
                Suggestion s = Speller(b.item->names).Closest(b.variable);
                s.word = Utf8(s.word.data(), s.word.size());
                c.Add(kUnknownVariable, o, list[i].GetString(),
                      Label(o) + ": \"" + list[i].GetString() + "\" uses " + Utf8(b.text.data(), b.text.size()) +
                          ", but variable item \"" + item + "\" has no variable \"" +
                          Utf8(b.variable.data(), b.variable.size()) + "\"" + DidYouMean(s),
                      Utf8(b.text.data(), b.text.size()));
            }
        }
    });
    for (const CXMLBase* child : ChildrenOf(node))
        if (child->IsKindOf(RUNTIME_CLASS(CVarItemDesc)) && !used.count(child))
            c.Add(kUnusedVarItem, *child, "",
                  Label(*child) + " is named by no plate, bolt or bolt group, and no expression uses it as @" +
                      Utf8(static_cast<const CBaseDesc*>(child)->GetName()) + "_...");
}

} // namespace

void RegisterNameRules(RuleRegistry& r)
{
    r.Add({kUnknownVariable, Severity::Warning,
           "an expression uses @Item_Variable of a variable item that has no such variable",
           "Expressions name variables as @Item_Variable (docs/format.md). When Item is one of the node type's "
           "variable items but has no variable of that name, the host finds nothing to evaluate: most likely a "
           "slip in the variable's name. The message offers the closest variable of the item. A host that reads "
           "other expressions may silence it.",
           "<CPlateDesc ... thickexp=\"@EndPlate_Thik\" .../>", "<CPlateDesc ... thickexp=\"@EndPlate_Thick\" .../>"});
    r.Add({kUnresolvedName, Severity::Error,
           "a field that the descriptor's construction uses names no descriptor of the class it needs",
           "The host looks the name up among the node type's descriptors of the class the field wants (inside a "
           "link bar, among the bar's own planes first) and finds none. The message offers the closest name of "
           "that class, and says when only blanks or letter case differ.",
           "<CPointDesc classtype=\"8_12\" name=\"P\" type=\"1\" line=\"Axis\" plane=\"Web Plane\"/>",
           "<CPointDesc classtype=\"8_12\" name=\"P\" type=\"1\" line=\"Axis\" plane=\"WebPlane\"/>"});
    r.Add({kDuplicateName, Severity::Error,
           "two descriptors of one class and one parent share a name, where lookups take the first",
           "Lookups by name find the first descriptor; the second is never used. Node types are compared in the "
           "document, descriptors among the children of one parent.",
           "<CLineDesc classtype=\"8_13\" name=\"Axis\" .../> <CLineDesc classtype=\"8_13\" name=\"Axis\" .../>",
           "<CLineDesc classtype=\"8_13\" name=\"Axis\" .../> <CLineDesc classtype=\"8_13\" name=\"Axis2\" .../>"});
    r.Add({kUnusedVarItem, Severity::Warning, "a variable item that nothing names or uses",
           "Plates name their variable item in \"varitem\"; bolts and bolt groups work it out from their "
           "expressions; any expression may use a variable as @Item_Variable. An item nothing names or uses is "
           "never offered.",
           "<CVarItemDesc classtype=\"8_9\" name=\"Weld\" type=\"plate\" defineby=\"user\"/>",
           "<CPlateDesc ... varitem=\"Weld\"/> <CVarItemDesc classtype=\"8_9\" name=\"Weld\" .../>"});
}

void CheckNames(LintContext& c)
{
    if (const CXMLBase* root = c.Doc().GetRoot())
        if (!root->IsKindOf(RUNTIME_CLASS(CNodeTypeDesc)))
            Duplicates(c, *root);
    for (const CNodeTypeDesc* node : c.NodeTypes()) {
        const NameGraph& graph = c.GraphOf(*node);
        Duplicates(c, *node);
        ForEachInNode(*node, [&](const CXMLBase& o) {
            if (o.IsKindOf(RUNTIME_CLASS(CBaseDesc)))
                Duplicates(c, o);
        });
        Unresolved unresolved(c, graph);
        for (const NameGraph::Arc& a : graph.Arcs())
            if (!a.owns && !graph.Vertices()[a.to].object && !c.unclearType.count(graph.Vertices()[a.from].object))
                unresolved.Report(a);
        Expressions(c, *node, graph);
    }
}

} // namespace kvnode
