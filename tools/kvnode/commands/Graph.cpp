#include "commands/Commands.h"
#include "model/Input.h"
#include "model/Model.h"
#include "model/NameGraph.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
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

namespace kvnode {

namespace {

struct Style {
    const CRuntimeClass* cls;
    const char* shape;
    const char* fill;
};

// parts are boxes, constructions ellipses, parameters notes; other classes are not drawn
const Style kStyles[] = {
    {RUNTIME_CLASS(CNodeMemberDesc), "box3d", "#d9d9d9"}, {RUNTIME_CLASS(CPlateDesc), "box", "#9ecae1"},
    {RUNTIME_CLASS(CCutDesc), "box", "#deebf7"},          {RUNTIME_CLASS(CBoltDesc), "box", "#fdae6b"},
    {RUNTIME_CLASS(CBoltGroupDesc), "box", "#fd8d3c"},    {RUNTIME_CLASS(CBoltPlaneDesc), "box", "#fee6ce"},
    {RUNTIME_CLASS(CLinkBarDesc), "box", "#bcbddc"},      {RUNTIME_CLASS(CVarItemDesc), "note", "#ffffb2"},
    {RUNTIME_CLASS(CPointDesc), "ellipse", "#a1d99b"},    {RUNTIME_CLASS(CLineDesc), "ellipse", "#fdd0a2"},
    {RUNTIME_CLASS(CPlaneDesc), "ellipse", "#c6dbef"},    {RUNTIME_CLASS(CVecDesc), "ellipse", "#fcbba1"},
    {RUNTIME_CLASS(CDistDesc), "ellipse", "#f0e0b0"},
};

const Style* StyleOf(const CRuntimeClass* cls)
{
    for (const Style& s : kStyles)
        if (s.cls == cls)
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

// ---- the graph of one node type, drawn from the names the check reads

struct Vertex {
    std::string label;
    const Style* style; // null: a name that leads nowhere
    const CRuntimeClass* cls;
    bool inCycle = false;
};

struct Arc {
    size_t from, to;
    std::string label;
    bool owns;          // a child the descriptor owns, not a name
    bool cycle = false; // a step of a construction cycle
};

struct Cluster {
    std::string title;
    std::vector<Vertex> vertices;
    std::vector<Arc> arcs;
    std::vector<int> component; // of each vertex: its strongly connected component, numbered sinks first
};

std::string Named(const CBaseDesc& desc)
{
    std::string label = Utf8(desc.GetName());
    if (!desc.GetShowName().IsEmpty())
        label += " (" + Utf8(desc.GetShowName()) + ")";
    return label;
}

// The descriptors that have a style and the names that lead nowhere, the
// names and children between them, and the steps of construction cycles.
Cluster Build(const CNodeTypeDesc& node)
{
    const NameGraph graph(node);
    Cluster c;
    c.title = Named(node);
    const std::vector<NameGraph::Vertex>& vertices = graph.Vertices();
    std::vector<size_t> drawn(vertices.size(), SIZE_MAX); // each graph vertex's place in the cluster
    for (size_t v = 0; v < vertices.size(); ++v) {
        const NameGraph::Vertex& g = vertices[v];
        const Style* style = g.object ? StyleOf(g.cls) : nullptr;
        if (g.object && !style)
            continue;
        drawn[v] = c.vertices.size();
        c.vertices.push_back(Vertex{g.object ? Named(static_cast<const CBaseDesc&>(*g.object)) + "\n" + Noun(g.cls)
                                             : Utf8(g.name) + "?\nno such " + Noun(g.cls),
                                    style, g.cls});
    }
    std::vector<int> cycleOf(vertices.size(), -1);
    const std::vector<std::vector<size_t>> cycles = graph.Cycles();
    for (size_t i = 0; i < cycles.size(); ++i)
        for (const size_t v : cycles[i])
            cycleOf[v] = static_cast<int>(i);
    for (const NameGraph::Arc& a : graph.Arcs()) {
        if (drawn[a.from] == SIZE_MAX || drawn[a.to] == SIZE_MAX)
            continue;
        const bool cycle = graph.IsConstructionStep(a) && cycleOf[a.from] >= 0 && cycleOf[a.from] == cycleOf[a.to];
        c.arcs.push_back(Arc{drawn[a.from], drawn[a.to], a.field, a.owns, cycle});
        if (cycle)
            c.vertices[drawn[a.from]].inCycle = c.vertices[drawn[a.to]].inCycle = true;
    }
    const std::vector<int> component =
        graph.Components([&](const NameGraph::Arc& a) { return drawn[a.from] != SIZE_MAX && drawn[a.to] != SIZE_MAX; });
    c.component.resize(c.vertices.size());
    for (size_t v = 0; v < vertices.size(); ++v)
        if (drawn[v] != SIZE_MAX)
            c.component[drawn[v]] = component[v];
    return c;
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
    std::set<const CRuntimeClass*> kinds;
    bool owns = false, cycle = false, missing = false;
    for (const Cluster& c : clusters) {
        for (const Vertex& v : c.vertices) {
            missing = missing || !v.style;
            if (v.style)
                kinds.insert(v.cls);
        }
        for (const Arc& a : c.arcs) {
            owns = owns || a.owns;
            cycle = cycle || a.cycle;
        }
    }
    out << "  subgraph cluster_legend {\n    label=\"Legend\";\n    style=rounded;\n"
           "    legend [shape=plaintext, style=\"\", label=<<table border=\"0\" cellspacing=\"2\">\n";
    for (const Style& s : kStyles)
        if (kinds.count(s.cls))
            out << "      <tr><td bgcolor=\"" << s.fill << "\" border=\"1\" width=\"24\"></td><td align=\"left\">"
                << Noun(s.cls) << " (" << s.shape << ")</td></tr>\n";
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
    for (const CNodeTypeDesc* node : nodes)
        clusters.push_back(Build(*node));
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
