#include "Lint.h"

#include "Model.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <unordered_map>
#include <utility>

namespace kvnode {

const std::vector<Rule>& Rules()
{
    static const std::vector<Rule> rules = {
        {RuleId::XmlError, "xml-error", Severity::Error,
         "the file cannot be read, is not well-formed XML, or holds text its encoding cannot",
         "The file cannot be opened, is not well-formed XML, declares an encoding the library does not read, "
         "or holds bytes its encoding does not allow. The file is not checked further and the check exits with "
         "status 2."},
        {RuleId::XmlWarning, "xml-warning", Severity::Warning,
         "the reader met something it does not keep or read as the element says",
         "The reader met something it does not keep, or reads otherwise than the element says: a processing "
         "instruction, a comment outside the root, children of an element that holds none, an element whose "
         "name disagrees with its class index. Saving the document writes it without what was dropped."},
        {RuleId::UnknownClass, "unknown-class", Severity::Warning,
         "an element of a class no registered class index or name stands for; it is kept as it is",
         "An element whose class index (or, without one, whose name) belongs to no registered class. The "
         "library keeps it and writes it back unchanged, but no descriptor sees it; usually a typing error in "
         "classtype."},
        {RuleId::UnresolvedName, "unresolved-name", Severity::Error,
         "a field that the descriptor's construction uses names no descriptor of the kind it needs",
         "A field that the descriptor's construction uses names no descriptor of the kind it needs among the "
         "children of its node type (a descriptor inside a link bar sees the bar's planes first). The host "
         "cannot build the descriptor. When a descriptor of another kind has the name, the message says so."},
        {RuleId::DuplicateName, "duplicate-name", Severity::Error,
         "two descriptors of one kind share a name where lookups would take the first",
         "Two descriptors of one kind with the same name among the children of a node type, a link bar or a "
         "variable item. Lookups take the first, so the second is never found."},
        {RuleId::PlatePlanes, "plate-planes", Severity::Error, "a plate whose \"planes\" does not hold three names",
         "A plate's planes field must split into exactly three names (an empty name between two commas counts, "
         "a final comma does not); the host builds no plate otherwise."},
        {RuleId::CutPlanes, "cut-planes", Severity::Error, "a cut whose \"planes\" holds no name",
         "A cut's planes field must hold at least one name; the host builds no cut otherwise."},
        {RuleId::BoltPlanes, "bolt-planes", Severity::Error, "a bolt or bolt group with fewer than two bolt planes",
         "A bolt or bolt group needs at least two bolt plane children, one at each end of the bolt."},
        {RuleId::LinkBarPlanes, "linkbar-planes", Severity::Error, "a link bar without exactly three planes",
         "A link bar needs exactly three plane children."},
        {RuleId::ConstructionCycle, "construction-cycle", Severity::Error,
         "points, lines, planes, vectors or distances built from one another in a circle",
         "Points, lines, planes, vectors or distances that are built from one another in a circle, so the host "
         "can build none of them. The circle is reported once, from the descriptor that comes first in the "
         "file, with the field each step goes through."},
        {RuleId::EmptyValueList, "empty-value-list", Severity::Warning, "a variable whose value list holds no value",
         "A variable whose value list holds no value, so the user is offered no choice. A variable without a "
         "value list is fine."},
        {RuleId::UnusedVarItem, "unused-varitem", Severity::Warning,
         "a variable item that no plate, bolt or bolt group names",
         "A variable item that no plate (varitem), bolt or bolt group (through its expressions) names."},
        {RuleId::UnusedSuppression, "unused-suppression", Severity::Warning,
         "a kvnode: ignore comment that silenced nothing, or names no rule",
         "A comment <!-- kvnode: ignore RULE --> silences RULE on the element that follows it, and <!-- "
         "kvnode: ignore-file RULE --> in the whole file. One that silenced nothing this run (of a rule the "
         "run checks), names an unknown rule or says something else after kvnode: is reported, so stale "
         "silences do not pile up."},
    };
    return rules;
}

const Rule& RuleOf(RuleId rule) { return Rules()[static_cast<size_t>(rule)]; }

namespace {

std::string Quoted(const CString& gbk) { return "\"" + Utf8(gbk) + "\""; }

std::string Count(long long n, const char* what) { return std::to_string(n) + " " + what + (n == 1 ? "" : "s"); }

// one document's findings
class Linter {
public:
    Linter(const CXMLDocument& doc, const std::string& file) : m_doc(doc), m_file(file) {}

    std::vector<Finding> Run()
    {
        ReaderWarnings();
        for (const CNodeTypeDesc* node : NodeTypesOf(m_doc.GetRoot()))
            NodeType(*node);
        std::stable_sort(m_findings.begin(), m_findings.end(), [](const Finding& a, const Finding& b) {
            return std::make_pair(a.line, a.column) < std::make_pair(b.line, b.column);
        });
        return std::move(m_findings);
    }

private:
    void Add(RuleId rule, const CXMLBase& at, std::string message)
    {
        const XmlPosition p = m_doc.GetPosition(&at);
        m_findings.push_back(Finding{m_file, p.line, p.column, rule, std::move(message)});
    }

    // The reader's warnings; those at an element it kept as unknown are about its class.
    void ReaderWarnings()
    {
        std::set<std::pair<int, int>> unknown;
        if (const CXMLBase* root = m_doc.GetRoot()) {
            ForEachObject(*root, [&](const CXMLBase& o) {
                if (o.IsKindOf(RUNTIME_CLASS(CXMLUnknown))) {
                    const XmlPosition p = m_doc.GetPosition(&o);
                    unknown.emplace(p.line, p.column);
                }
            });
        }
        for (const XmlDiagnostic& w : m_doc.GetWarnings()) {
            const bool isUnknown = unknown.count({w.line, w.column}) > 0;
            m_findings.push_back(Finding{m_file, w.line, w.column,
                                         isUnknown ? RuleId::UnknownClass : RuleId::XmlWarning, DiagnosticText(w)});
        }
    }

    void NodeType(const CNodeTypeDesc& node)
    {
        const Scope scope(node);
        Duplicates(node);
        std::set<const CBaseDesc*> namedItems;
        ForEachInNode(node, [&](const CXMLBase& o) {
            const Kind kind = KindOf(o);
            const std::vector<Field> fields = KeyFields(o);
            for (const Reference& ref : ReferencesOf(fields)) {
                const CBaseDesc* target = scope.Resolve(o, ref.field->target, ref.name);
                if (!target)
                    Unresolved(o, ref, scope);
                else if (ref.field->target == Kind::VarItem)
                    namedItems.insert(target);
                if (target && IsConstruction(kind) && IsConstruction(KindOf(*target)))
                    m_edges[&o].push_back(Edge{target, ref.field->attribute});
            }
            if (IsConstruction(kind))
                m_constructions.push_back(&o);
            Counts(o, kind);
            if (kind == Kind::LinkBar || kind == Kind::VarItem)
                Duplicates(o);
        });
        for (const CXMLBase* child : ChildrenOf(node))
            if (KindOf(*child) == Kind::VarItem && !namedItems.count(static_cast<const CBaseDesc*>(child)))
                Add(RuleId::UnusedVarItem, *child, Label(*child) + " is named by no plate, bolt or bolt group");
        Cycles();
    }

    void Unresolved(const CXMLBase& from, const Reference& ref, const Scope& scope)
    {
        const Field& f = *ref.field;
        std::string message = Label(from) + ": \"" + f.attribute + "\"";
        if (f.derived)
            message += " (from its expressions)";
        if (ref.name.IsEmpty()) {
            Add(RuleId::UnresolvedName, from, message + (f.list ? " holds an empty name" : " is empty"));
            return;
        }
        message += " names no " + std::string(KindWord(f.target)) + " " + Quoted(ref.name);
        if (const CBaseDesc* other = scope.FindAny(ref.name))
            message += " (" + Label(*other) + " has that name)";
        Add(RuleId::UnresolvedName, from, message);
    }

    // Descriptors of one kind and name among the children of parent, which
    // lookups by name cannot tell apart.
    void Duplicates(const CXMLBase& parent)
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
            const XmlPosition p = m_doc.GetPosition(seen.first->second);
            Add(RuleId::DuplicateName, *child,
                "a second " + Label(*child) + " in " + Label(parent) +
                    (p.line ? " (the first is at line " + std::to_string(p.line) + ")" : std::string()) +
                    ": lookups find only the first");
        }
    }

    // the counts the classes themselves test, and value lists without values
    void Counts(const CXMLBase& o, Kind kind)
    {
        std::string problem;
        RuleId rule = RuleId::PlatePlanes;
        if (kind == Kind::Plate) {
            CStringArray names;
            if (!static_cast<const CPlateDesc&>(o).GetPlaneNames(names))
                problem = "\"planes\" holds " + Count(names.GetSize(), "name") + "; a plate needs three";
        } else if (kind == Kind::Cut) {
            CStringArray names;
            rule = RuleId::CutPlanes;
            if (!static_cast<const CCutDesc&>(o).GetPlaneNames(names))
                problem = "\"planes\" holds no name; a cut needs at least one";
        } else if (kind == Kind::Bolt || kind == Kind::BoltGroup) {
            AcArray<CBoltPlaneDesc*> planes;
            rule = RuleId::BoltPlanes;
            const bool ok = kind == Kind::Bolt ? static_cast<const CBoltDesc&>(o).GetBoltPlaneDescArray(planes)
                                               : static_cast<const CBoltGroupDesc&>(o).GetBoltPlaneDescArray(planes);
            if (!ok)
                problem = "has " + Count(planes.length(), "bolt plane") + "; it needs at least two";
        } else if (kind == Kind::LinkBar) {
            AcArray<CPlaneDesc*> planes;
            rule = RuleId::LinkBarPlanes;
            if (!static_cast<const CLinkBarDesc&>(o).GetPlaneDescArray(planes))
                problem = "has " + Count(planes.length(), "plane") + "; a link bar needs exactly three";
        } else if (kind == Kind::Var) {
            CStringArray values;
            rule = RuleId::EmptyValueList;
            if (static_cast<const CVarDesc&>(o).GetValueList(values) && values.IsEmpty())
                problem = "has a value list without values";
        }
        if (!problem.empty())
            Add(rule, o, Label(o) + (problem[0] == '"' ? ": " : " ") + problem);
    }

    // Every circle among the constructions, found as the back edges of a
    // depth-first walk (kept on an explicit stack: chains can be long).
    void Cycles()
    {
        std::unordered_map<const CXMLBase*, int> state; // 1 on the stack, 2 done
        struct Frame {
            const CXMLBase* node;
            size_t next;
        };
        for (const CXMLBase* start : m_constructions) {
            if (state[start])
                continue;
            std::vector<Frame> stack{{start, 0}};
            state[start] = 1;
            while (!stack.empty()) {
                Frame& top = stack.back();
                const std::vector<Edge>& out = m_edges[top.node];
                if (top.next == out.size()) {
                    state[top.node] = 2;
                    stack.pop_back();
                    continue;
                }
                const Edge edge = out[top.next++];
                if (state[edge.to] == 0) {
                    state[edge.to] = 1;
                    stack.push_back({edge.to, 0});
                } else if (state[edge.to] == 1) {
                    size_t from = stack.size() - 1;
                    while (stack[from].node != edge.to)
                        --from;
                    std::vector<std::pair<const CXMLBase*, const char*>> cycle;
                    for (size_t i = from; i < stack.size(); ++i)
                        cycle.emplace_back(stack[i].node, m_edges[stack[i].node][stack[i].next - 1].field);
                    ReportCycle(cycle);
                }
            }
        }
        m_edges.clear();
        m_constructions.clear();
    }

    // told from the descriptor that comes first in the file
    void ReportCycle(std::vector<std::pair<const CXMLBase*, const char*>> cycle)
    {
        const auto order = [&](const CXMLBase* o) {
            const XmlPosition p = m_doc.GetPosition(o);
            return std::make_pair(p.line, p.column);
        };
        std::rotate(cycle.begin(),
                    std::min_element(cycle.begin(), cycle.end(),
                                     [&](const auto& a, const auto& b) { return order(a.first) < order(b.first); }),
                    cycle.end());
        std::string message = "construction cycle: ";
        for (const auto& step : cycle)
            message += Label(*step.first) + " --" + step.second + "--> ";
        message += Label(*cycle.front().first);
        Add(RuleId::ConstructionCycle, *cycle.front().first, message);
    }

    struct Edge {
        const CXMLBase* to;
        const char* field;
    };

    const CXMLDocument& m_doc;
    const std::string& m_file;
    std::vector<Finding> m_findings;
    std::vector<const CXMLBase*> m_constructions; // of the node type at hand, in file order
    std::unordered_map<const CXMLBase*, std::vector<Edge>> m_edges;
};

void AppendJsonString(std::string& out, const std::string& s)
{
    out += '"';
    for (const char c : s) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
                out += buf;
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

const char* SeverityWord(Severity s) { return s == Severity::Error ? "error" : "warning"; }

} // namespace

std::vector<Finding> LintDocument(const CXMLDocument& doc, const std::string& file) { return Linter(doc, file).Run(); }

LintResult LintFile(const std::string& path)
{
    LintResult result;
    CXMLDocument doc;
    doc.SetRecordPositions(true);
    if (!doc.LoadFile(path.c_str())) {
        const XmlDiagnostic& e = doc.GetError();
        result.findings.push_back(Finding{path, e.line, e.column, RuleId::XmlError, DiagnosticText(e)});
        return result;
    }
    result.loaded = true;
    result.findings = LintDocument(doc, path);
    return result;
}

std::string FormatText(const Finding& f)
{
    std::string s = f.file;
    if (f.line > 0)
        s += ":" + std::to_string(f.line) + ":" + std::to_string(f.column);
    return s + ": " + SeverityWord(f.severity()) + ": " + f.message + " [" + RuleOf(f.rule).id + "]";
}

std::string FormatJson(const std::vector<Finding>& findings)
{
    std::string out = "[";
    for (size_t i = 0; i < findings.size(); ++i) {
        const Finding& f = findings[i];
        out += i ? ",\n  {" : "\n  {";
        out += "\"file\": ";
        AppendJsonString(out, f.file);
        out += ", \"line\": " + std::to_string(f.line) + ", \"column\": " + std::to_string(f.column);
        out += ", \"severity\": \"" + std::string(SeverityWord(f.severity())) + "\"";
        out += ", \"rule\": \"" + std::string(RuleOf(f.rule).id) + "\", \"message\": ";
        AppendJsonString(out, f.message);
        out += "}";
    }
    out += findings.empty() ? "]\n" : "\n]\n";
    return out;
}

} // namespace kvnode
