// construction-cycle: one finding per group of constructions that reach one
// another, in time linear in the graph, however long the chains
#include "rules/Families.h"

#include <algorithm>
#include <cstdint>

namespace kvnode {

namespace {

constexpr RuleId kConstructionCycle = "construction-cycle";

struct Step {
    size_t vertex;
    const std::string* field;
};

// A shortest circle through start inside its group, found breadth first.
std::vector<Step> CircleThrough(const NameGraph& g, size_t start, const std::vector<char>& inGroup)
{
    std::vector<Step> from(g.Vertices().size(), Step{SIZE_MAX, nullptr}); // how each vertex was reached
    std::vector<size_t> queue{start};
    for (size_t head = 0; head < queue.size(); ++head) {
        const size_t v = queue[head];
        for (const size_t index : g.ArcsFrom(v)) {
            const NameGraph::Arc& a = g.Arcs()[index];
            if (!inGroup[a.to] || !g.IsConstructionStep(a))
                continue;
            if (a.to == start) {
                std::vector<Step> circle{Step{v, &a.field}};
                for (size_t u = v; u != start; u = from[u].vertex)
                    circle.push_back(from[u]);
                std::reverse(circle.begin(), circle.end());
                return circle;
            }
            if (from[a.to].vertex == SIZE_MAX) {
                from[a.to] = Step{v, &a.field};
                queue.push_back(a.to);
            }
        }
    }
    return {};
}

// one finding per group, at its first construction in the file, with one circle through it
void Report(LintContext& c, const NameGraph& g, const std::vector<size_t>& group, std::vector<char>& inGroup)
{
    const auto place = [&](size_t v) {
        const XmlPosition p = c.Doc().GetPosition(g.Vertices()[v].object);
        return std::make_pair(p.line, p.column);
    };
    const size_t first = *std::min_element(group.begin(), group.end(),
                                           [&](size_t a, size_t b) { return place(a) < place(b); });
    for (const size_t v : group)
        inGroup[v] = 1;
    const std::vector<Step> circle = CircleThrough(g, first, inGroup);
    for (const size_t v : group)
        inGroup[v] = 0;
    // a long circle shows its first and last steps and how many between
    constexpr size_t kHead = 4, kTail = 2;
    std::string message = "construction cycle: ";
    for (size_t i = 0; i < circle.size(); ++i) {
        if (circle.size() > kHead + kTail + 1 && i == kHead) {
            message += "... (" + std::to_string(circle.size() - kHead - kTail) + " more steps) ... ";
            i = circle.size() - kTail;
        }
        message += Label(*g.Vertices()[circle[i].vertex].object) + " --" + *circle[i].field + "--> ";
    }
    const CXMLBase& at = *g.Vertices()[first].object;
    message += Label(at);
    if (group.size() > circle.size())
        message += "; " + std::to_string(group.size()) + " constructions reach one another";
    c.Add(kConstructionCycle, at, circle.empty() ? std::string() : *circle.front().field, message);
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
    for (const CNodeTypeDesc* node : c.NodeTypes()) {
        const NameGraph& g = c.GraphOf(*node);
        std::vector<char> inGroup(g.Vertices().size(), 0);
        for (const std::vector<size_t>& group : g.Cycles())
            Report(c, g, group, inGroup);
    }
}

} // namespace kvnode
