#include "commands/Commands.h"
#include "model/Input.h"
#include "model/Model.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <sstream>
#include <sys/stat.h>
#ifdef _WIN32
#define popen _popen
#define pclose _pclose
#else
#include <sys/wait.h>
#include <unistd.h>
#endif
#include <unordered_map>

namespace kvnode {

namespace {

struct Style {
    Kind kind;
    const char* shape;
    const char* fill;
};

// parts are boxes, constructions ellipses, parameters notes
const Style kStyles[] = {
    {Kind::Member, "box3d", "#d9d9d9"},  {Kind::Plate, "box", "#9ecae1"},    {Kind::Cut, "box", "#deebf7"},
    {Kind::Bolt, "box", "#fdae6b"},      {Kind::BoltGroup, "box", "#fd8d3c"}, {Kind::BoltPlane, "box", "#fee6ce"},
    {Kind::LinkBar, "box", "#bcbddc"},   {Kind::VarItem, "note", "#ffffb2"}, {Kind::Point, "ellipse", "#a1d99b"},
    {Kind::Line, "ellipse", "#fdd0a2"},  {Kind::Plane, "ellipse", "#c6dbef"}, {Kind::Vector, "ellipse", "#fcbba1"},
    {Kind::Distance, "ellipse", "#f0e0b0"},
};

const Style* StyleOf(Kind kind)
{
    for (const Style& s : kStyles)
        if (s.kind == kind)
            return &s;
    return nullptr;
}

const char kCycleColor[] = "#d62728";

std::string Dot(const std::string& text)
{
    std::string s = "\"";
    for (const char c : text) {
        if (c == '\n') {
            s += "\\n";
            continue;
        }
        if (c == '"' || c == '\\')
            s += '\\';
        s += c;
    }
    return s + "\"";
}

// ---- the graph of one node type, built before it is written

struct Vertex {
    std::string label;
    const Style* style; // null: a name that leads nowhere
    Kind kind;
    bool inCycle = false;
};

struct Arc {
    size_t from, to;
    std::string label;
    bool owns;           // a child the descriptor owns, not a name
    bool cycle = false;  // a step of a construction cycle
};

struct Cluster {
    std::string title;
    std::vector<Vertex> vertices;
    std::vector<Arc> arcs;
    std::vector<int> component; // of each vertex: its strongly connected component, numbered sinks first
};

// a name from one construction to another: what construction cycles are made of
bool IsConstructionStep(const Cluster& c, const Arc& a)
{
    const Vertex &from = c.vertices[a.from], &to = c.vertices[a.to];
    return !a.owns && from.style && to.style && IsConstruction(from.kind) && IsConstruction(to.kind);
}

class ClusterBuilder {
public:
    Cluster Build(const CNodeTypeDesc& node)
    {
        m_cluster.title = Utf8(node.GetName());
        if (!node.GetShowName().IsEmpty())
            m_cluster.title += " (" + Utf8(node.GetShowName()) + ")";
        ForEachInNode(node, [&](const CXMLBase& o) {
            if (const Style* style = StyleOf(KindOf(o)))
                Add(o, *style);
        });
        const Scope scope(node);
        ForEachInNode(node, [&](const CXMLBase& o) { Arcs(o, scope); });
        return std::move(m_cluster);
    }

private:
    void Add(const CXMLBase& o, const Style& style)
    {
        m_index[&o] = m_cluster.vertices.size();
        const auto& desc = static_cast<const CBaseDesc&>(o);
        std::string label = Utf8(desc.GetName());
        if (!desc.GetShowName().IsEmpty())
            label += " (" + Utf8(desc.GetShowName()) + ")";
        m_cluster.vertices.push_back(Vertex{label + "\n" + KindWord(KindOf(o)), &style, KindOf(o)});
    }

    void Arcs(const CXMLBase& o, const Scope& scope)
    {
        const auto from = m_index.find(&o);
        if (from == m_index.end())
            return;
        for (const CXMLBase* child : ChildrenOf(o)) {
            const auto to = m_index.find(child);
            if (to != m_index.end())
                m_cluster.arcs.push_back(Arc{from->second, to->second, KindWord(KindOf(*child)), true});
        }
        const std::vector<Field> fields = KeyFields(o);
        for (const Reference& ref : ReferencesOf(fields)) {
            const Kind kind = ref.field->target;
            const CBaseDesc* target = scope.Resolve(o, kind, ref.name);
            const auto to = target ? m_index.find(target) : m_index.end();
            const size_t id = to != m_index.end() ? to->second : Missing(kind, ref.name);
            m_cluster.arcs.push_back(Arc{from->second, id, ref.field->attribute, false});
        }
    }

    // a name that leads nowhere, drawn once per kind and name
    size_t Missing(Kind kind, const CString& name)
    {
        const auto key = std::make_pair(kind, std::string(name.GetString()));
        const auto it = m_missing.find(key);
        if (it != m_missing.end())
            return it->second;
        m_missing.emplace(key, m_cluster.vertices.size());
        m_cluster.vertices.push_back(Vertex{Utf8(name) + "?\nno such " + KindWord(kind), nullptr, kind});
        return m_cluster.vertices.size() - 1;
    }

    Cluster m_cluster;
    std::unordered_map<const CXMLBase*, size_t> m_index;
    std::map<std::pair<Kind, std::string>, size_t> m_missing;
};

// Tarjan's strongly connected components over the arcs that pass, without
// recursion: chains of constructions can be long. Components come out sinks first.
std::vector<int> Components(const Cluster& c, bool (*passes)(const Cluster&, const Arc&))
{
    const size_t n = c.vertices.size();
    std::vector<std::vector<size_t>> out(n);
    for (const Arc& a : c.arcs)
        if (passes(c, a))
            out[a.from].push_back(a.to);
    std::vector<int> index(n, -1), low(n, 0);
    std::vector<bool> onStack(n, false);
    std::vector<size_t> stack;
    std::vector<int> component(n, -1);
    int next = 0, components = 0;
    for (size_t start = 0; start < n; ++start) {
        if (index[start] >= 0)
            continue;
        std::vector<std::pair<size_t, size_t>> walk{{start, 0}};
        index[start] = low[start] = next++;
        stack.push_back(start);
        onStack[start] = true;
        while (!walk.empty()) {
            auto& [v, edge] = walk.back();
            if (edge < out[v].size()) {
                const size_t w = out[v][edge++];
                if (index[w] < 0) {
                    index[w] = low[w] = next++;
                    stack.push_back(w);
                    onStack[w] = true;
                    walk.emplace_back(w, 0);
                } else if (onStack[w]) {
                    low[v] = std::min(low[v], index[w]);
                }
                continue;
            }
            const size_t done = v;
            walk.pop_back();
            if (!walk.empty())
                low[walk.back().first] = std::min(low[walk.back().first], low[done]);
            if (low[done] != index[done])
                continue;
            size_t w;
            do {
                w = stack.back();
                stack.pop_back();
                onStack[w] = false;
                component[w] = components;
            } while (w != done);
            ++components;
        }
    }
    return component;
}

bool AnyArc(const Cluster&, const Arc&) { return true; }

// The steps of construction cycles: names between constructions that lead
// back to where they started.
void MarkCycles(Cluster& c)
{
    const std::vector<int> component = Components(c, IsConstructionStep);
    std::map<int, int> size;
    for (const int comp : component)
        ++size[comp];
    for (Arc& a : c.arcs) {
        const bool circle = a.from == a.to || size[component[a.from]] > 1;
        if (IsConstructionStep(c, a) && component[a.from] == component[a.to] && circle) {
            a.cycle = true;
            c.vertices[a.from].inCycle = c.vertices[a.to].inCycle = true;
        }
    }
}

// How many ranks dot lays the cluster out in, and how many vertices the
// widest rank holds: each vertex one rank past the furthest vertex naming it.
std::pair<size_t, size_t> RanksAndBreadth(const Cluster& c)
{
    const size_t n = c.vertices.size();
    int components = 0;
    for (const int comp : c.component)
        components = std::max(components, comp + 1);
    std::vector<std::vector<size_t>> members(static_cast<size_t>(components));
    for (size_t v = 0; v < n; ++v)
        members[static_cast<size_t>(c.component[v])].push_back(v);
    std::vector<std::vector<size_t>> out(n);
    for (const Arc& a : c.arcs)
        out[a.from].push_back(a.to);
    std::vector<size_t> rank(static_cast<size_t>(components), 0);
    // sources last in Tarjan's order: walk it backwards
    for (int comp = components - 1; comp >= 0; --comp)
        for (const size_t v : members[static_cast<size_t>(comp)])
            for (const size_t w : out[v])
                if (c.component[w] != comp)
                    rank[static_cast<size_t>(c.component[w])] =
                        std::max(rank[static_cast<size_t>(c.component[w])], rank[static_cast<size_t>(comp)] + 1);
    std::map<size_t, size_t> perRank;
    size_t ranks = 0, breadth = 0;
    for (size_t v = 0; v < n; ++v) {
        const size_t r = rank[static_cast<size_t>(c.component[v])];
        ranks = std::max(ranks, r + 1);
        breadth = std::max(breadth, ++perRank[r]);
    }
    return {ranks, breadth};
}

// The direction whose picture is nearest a page's proportions. Sizes in
// inches, roughly as dot draws two-line labels; ranks are further apart
// left to right, where the edge labels sit between them.
std::string ChooseRankDir(const std::vector<Cluster>& clusters)
{
    const double nodeWidth = 2.2, nodeHeight = 0.6, nodeSep = 0.3, tbRankSep = 0.9, lrRankSep = 1.4;
    double tbWidth = 0, tbHeight = 0, lrWidth = 0, lrHeight = 0;
    for (const Cluster& c : clusters) {
        const auto [ranks, breadth] = RanksAndBreadth(c);
        tbWidth += static_cast<double>(breadth) * (nodeWidth + nodeSep);
        tbHeight = std::max(tbHeight, static_cast<double>(ranks) * (nodeHeight + tbRankSep));
        lrWidth = std::max(lrWidth, static_cast<double>(ranks) * (nodeWidth + lrRankSep));
        lrHeight += static_cast<double>(breadth) * (nodeHeight + nodeSep);
    }
    const auto misfit = [](double w, double h) { return std::fabs(std::log((w + 1) / (h + 1) / 1.5)); };
    return misfit(lrWidth, lrHeight) <= misfit(tbWidth, tbHeight) ? "LR" : "TB";
}

void WriteCluster(const Cluster& c, int index, std::ostream& out)
{
    const std::string prefix = "c" + std::to_string(index) + "_";
    out << "  subgraph cluster_" << index << " {\n    label=" << Dot(c.title) << ";\n";
    for (size_t i = 0; i < c.vertices.size(); ++i) {
        const Vertex& v = c.vertices[i];
        out << "    " << prefix << i << " [label=" << Dot(v.label);
        if (v.style)
            out << ", shape=" << v.style->shape << ", fillcolor=" << Dot(v.style->fill);
        else
            out << ", style=dashed, color=red, fontcolor=red";
        if (v.inCycle)
            out << ", color=" << Dot(kCycleColor) << ", penwidth=2.5";
        out << "];\n";
    }
    for (const Arc& a : c.arcs) {
        out << "    " << prefix << a.from << " -> " << prefix << a.to << " [label=" << Dot(a.label);
        if (a.owns)
            out << ", style=dashed";
        if (a.cycle)
            out << ", color=" << Dot(kCycleColor) << ", fontcolor=" << Dot(kCycleColor) << ", style=bold, penwidth=2.5";
        out << "];\n";
    }
    out << "  }\n";
}

// one table that names the colours and lines the clusters use
void WriteLegend(const std::vector<Cluster>& clusters, std::ostream& out)
{
    std::set<Kind> kinds;
    bool owns = false, cycle = false, missing = false;
    for (const Cluster& c : clusters) {
        for (const Vertex& v : c.vertices) {
            missing = missing || !v.style;
            if (v.style)
                kinds.insert(v.kind);
        }
        for (const Arc& a : c.arcs) {
            owns = owns || a.owns;
            cycle = cycle || a.cycle;
        }
    }
    out << "  subgraph cluster_legend {\n    label=\"Legend\";\n    style=rounded;\n"
           "    legend [shape=plaintext, style=\"\", label=<<table border=\"0\" cellspacing=\"2\">\n";
    for (const Style& s : kStyles)
        if (kinds.count(s.kind))
            out << "      <tr><td bgcolor=\"" << s.fill << "\" border=\"1\" width=\"24\"></td><td align=\"left\">"
                << KindWord(s.kind) << " (" << s.shape << ")</td></tr>\n";
    out << "      <tr><td>&#8594;</td><td align=\"left\">names (labelled with the field)</td></tr>\n";
    if (owns)
        out << "      <tr><td>- - &#8594;</td><td align=\"left\">owns (its child)</td></tr>\n";
    if (cycle)
        out << "      <tr><td><font color=\"" << kCycleColor << "\"><b>&#10132;</b></font></td>"
            << "<td align=\"left\"><font color=\"" << kCycleColor << "\">construction cycle</font></td></tr>\n";
    if (missing)
        out << "      <tr><td><font color=\"red\">?</font></td><td align=\"left\"><font color=\"red\">"
               "a name that leads nowhere</font></td></tr>\n";
    out << "    </table>>];\n  }\n";
}

#ifdef _WIN32
const char kPathSeparator = ';';
const char kDotFile[] = "\\dot.exe";
bool IsProgram(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && (st.st_mode & S_IFMT) == S_IFREG;
}
#else
const char kPathSeparator = ':';
const char kDotFile[] = "/dot";
bool IsProgram(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}
#endif

// Graphviz's dot on PATH, or empty
std::string FindDot()
{
    const char* path = std::getenv("PATH");
    std::istringstream dirs(path ? path : "");
    std::string dir;
    while (std::getline(dirs, dir, kPathSeparator)) {
        const std::string candidate = (dir.empty() ? "." : dir) + kDotFile;
        if (IsProgram(candidate))
            return candidate;
    }
    return std::string();
}

// dot writes the SVG straight to standard output
int RunDot(const std::string& graph, std::ostream& out, std::ostream& err)
{
    const std::string dot = FindDot();
    if (dot.empty()) {
        err << "kvnode graph: --svg needs Graphviz's dot, which is not on PATH. Install Graphviz\n"
               "(apt-get install graphviz, dnf install graphviz, brew install graphviz), or print\n"
               "DOT without --svg and draw it elsewhere.\n";
        return kExitFailure;
    }
#ifdef _WIN32
    const std::string command = "\"" + dot + "\" -Tsvg"; // no path holds a double quote
#else
    std::string command = "'";
    for (const char c : dot)
        command += c == '\'' ? std::string("'\\''") : std::string(1, c);
    command += "' -Tsvg";
#endif
    out.flush();
    FILE* pipe = popen(command.c_str(), "w");
    if (!pipe) {
        err << "kvnode graph: cannot run " << dot << '\n';
        return kExitFailure;
    }
    const bool written = std::fwrite(graph.data(), 1, graph.size(), pipe) == graph.size();
    const int status = pclose(pipe);
#ifdef _WIN32
    const bool drawn = status == 0; // the exit code
#else
    const bool drawn = status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
#endif
    if (!written || !drawn) {
        err << "kvnode graph: " << dot << " failed to draw the graph\n";
        return kExitFailure;
    }
    return kExitClean;
}

} // namespace

int RunGraph(const Options& options, std::ostream& out, std::ostream& err)
{
    CXMLDocument doc;
    std::vector<const CNodeTypeDesc*> nodes;
    if (!LoadInput(options.files.front(), doc, err) ||
        !SelectNodeTypes(doc, options.hasNode ? &options.node : nullptr, nodes, err))
        return kExitFailure;
    std::vector<Cluster> clusters;
    for (const CNodeTypeDesc* node : nodes) {
        clusters.push_back(ClusterBuilder().Build(*node));
        clusters.back().component = Components(clusters.back(), AnyArc);
        MarkCycles(clusters.back());
    }
    std::ostringstream graph;
    graph << "digraph kvnode {\n  rankdir=" << (options.rankdir.empty() ? ChooseRankDir(clusters) : options.rankdir)
          << ";\n  node [style=filled, fontname=\"sans-serif\"];\n"
             "  edge [fontname=\"sans-serif\", fontsize=10];\n  graph [fontname=\"sans-serif\"];\n";
    for (size_t i = 0; i < clusters.size(); ++i)
        WriteCluster(clusters[i], static_cast<int>(i + 1), graph);
    WriteLegend(clusters, graph);
    graph << "}\n";
    if (options.svg)
        return RunDot(graph.str(), out, err);
    out << graph.str();
    return kExitClean;
}

} // namespace kvnode
