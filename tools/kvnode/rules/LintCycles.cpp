// construction-cycle: one finding per group of constructions that reach one
// another, in time linear in the graph, however long the chains
#include "rules/Families.h"

#include <algorithm>

namespace kvnode {

namespace {

constexpr RuleId kConstructionCycle = "construction-cycle";

using Graph = ConstructionGraph;

// Tarjan's strongly connected components, with the walk on an explicit
// stack; components come out as lists of node indices.
std::vector<std::vector<int>> Components(const Graph& g)
{
    const int n = static_cast<int>(g.nodes.size());
    std::vector<int> index(n, -1), low(n, 0);
    std::vector<char> onStack(n, 0);
    std::vector<int> stack;
    std::vector<std::pair<int, size_t>> walk; // node, next edge
    std::vector<std::vector<int>> components;
    int counter = 0;
    for (int start = 0; start < n; ++start) {
        if (index[start] >= 0)
            continue;
        walk.emplace_back(start, 0);
        while (!walk.empty()) {
            const int v = walk.back().first;
            size_t& next = walk.back().second;
            if (next == 0 && index[v] < 0) {
                index[v] = low[v] = counter++;
                stack.push_back(v);
                onStack[v] = 1;
            }
            if (next < g.edges[v].size()) {
                const int w = g.edges[v][next++].to;
                if (index[w] < 0)
                    walk.emplace_back(w, 0);
                else if (onStack[w])
                    low[v] = std::min(low[v], index[w]);
                continue;
            }
            walk.pop_back();
            if (!walk.empty())
                low[walk.back().first] = std::min(low[walk.back().first], low[v]);
            if (low[v] != index[v])
                continue;
            std::vector<int> component;
            int w;
            do {
                w = stack.back();
                stack.pop_back();
                onStack[w] = 0;
                component.push_back(w);
            } while (w != v);
            components.push_back(std::move(component));
        }
    }
    return components;
}

struct Step {
    int node;
    const char* field;
};

// A shortest circle through start inside its component, found breadth first.
std::vector<Step> CircleThrough(const Graph& g, int start, const std::vector<char>& inComponent)
{
    std::vector<Step> from(g.nodes.size(), Step{-1, nullptr}); // how each node was reached
    std::vector<int> queue{start};
    for (size_t head = 0; head < queue.size(); ++head) {
        const int v = queue[head];
        for (const Graph::Edge& e : g.edges[v]) {
            if (!inComponent[e.to])
                continue;
            if (e.to == start) {
                std::vector<Step> circle{Step{v, e.field}};
                for (int u = v; u != start; u = from[u].node)
                    circle.push_back(from[u]);
                std::reverse(circle.begin(), circle.end());
                return circle;
            }
            if (from[e.to].node < 0) {
                from[e.to] = Step{v, e.field};
                queue.push_back(e.to);
            }
        }
    }
    return {};
}

void CheckGraph(LintContext& c, const Graph& g)
{
    const auto place = [&](int v) {
        const XmlPosition p = c.Doc().GetPosition(g.nodes[v]);
        return std::make_pair(p.line, p.column);
    };
    std::vector<char> inComponent(g.nodes.size(), 0);
    for (const std::vector<int>& component : Components(g)) {
        const int first = *std::min_element(component.begin(), component.end(),
                                            [&](int a, int b) { return place(a) < place(b); });
        const bool selfLoop = std::any_of(g.edges[first].begin(), g.edges[first].end(),
                                          [&](const Graph::Edge& e) { return e.to == first; });
        if (component.size() == 1 && !selfLoop)
            continue;
        for (const int v : component)
            inComponent[v] = 1;
        const std::vector<Step> circle = CircleThrough(g, first, inComponent);
        for (const int v : component)
            inComponent[v] = 0;
        // a long circle shows its first and last steps and how many between
        constexpr size_t kHead = 4, kTail = 2;
        std::string message = "construction cycle: ";
        for (size_t i = 0; i < circle.size(); ++i) {
            if (circle.size() > kHead + kTail + 1 && i == kHead) {
                message += "... (" + std::to_string(circle.size() - kHead - kTail) + " more steps) ... ";
                i = circle.size() - kTail;
            }
            message += Label(*g.nodes[circle[i].node]) + " --" + circle[i].field + "--> ";
        }
        message += Label(*g.nodes[first]);
        if (component.size() > circle.size())
            message += "; " + std::to_string(component.size()) + " constructions reach one another";
        c.Add(kConstructionCycle, *g.nodes[first], "", message);
    }
}

} // namespace

void RegisterCycleRules(RuleRegistry& r)
{
    r.Add({kConstructionCycle, Severity::Error,
           "points, lines, planes, vectors or distances built from one another in a circle",
           "The host cannot build any of them. One finding for each group of constructions that reach one "
           "another, with one circle through it (a long one shortened to its first and last steps).",
           "<CVecDesc classtype=\"8_14\" name=\"V\" type=\"0\" line=\"L\"/> "
           "<CLineDesc classtype=\"8_13\" name=\"L\" type=\"2\" point=\"P\" vec=\"V\"/>",
           "<CVecDesc classtype=\"8_14\" name=\"V\" type=\"7\" memname=\"Beam\"/> "
           "<CLineDesc classtype=\"8_13\" name=\"L\" type=\"2\" point=\"P\" vec=\"V\"/>"});
}

void CheckCycles(LintContext& c)
{
    for (const auto& node : c.graphs)
        CheckGraph(c, node.second);
}

} // namespace kvnode
