#include "model/NameGraph.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>
#include <unordered_map>

namespace kvnode {

NameGraph::NameGraph(const CNodeTypeDesc& node, const FieldsOf& fieldsOf) : m_scope(node)
{
    std::unordered_map<const CXMLBase*, size_t> index;
    ForEachInNode(node, [&](const CXMLBase& o) {
        if (!o.IsKindOf(RUNTIME_CLASS(CBaseDesc)))
            return;
        index.emplace(&o, m_vertices.size());
        m_vertices.push_back(Vertex{&o, RegisteredClassOf(o)->cls, CString()});
    });
    const size_t descriptors = m_vertices.size();
    for (size_t from = 0; from < descriptors; ++from) {
        const CXMLBase& o = *m_vertices[from].object;
        for (const CXMLBase* child : ChildrenOf(o)) {
            const auto to = index.find(child);
            if (to != index.end())
                m_arcs.push_back(Arc{from, to->second, Noun(m_vertices[to->second].cls), true, false, false});
        }
        std::vector<Field> own;
        if (!fieldsOf)
            own = KeyFields(o);
        const std::vector<Field>& fields = fieldsOf ? fieldsOf(o) : own;
        std::set<std::tuple<size_t, const Field*>> seen;
        for (const Reference& ref : ReferencesOf(fields)) {
            const CRuntimeClass* wanted = ref.field->reading.names;
            const CBaseDesc* target = m_scope.Resolve(o, wanted, ref.name);
            const size_t to = target ? index.at(target) : Missing(wanted, ref.name);
            if (seen.emplace(to, ref.field).second)
                m_arcs.push_back(
                    Arc{from, to, ref.field->attribute, false, ref.field->derived, ref.field->reading.list});
        }
    }
    m_out.resize(m_vertices.size());
    for (size_t i = 0; i < m_arcs.size(); ++i)
        m_out[m_arcs[i].from].push_back(i);
    for (const Vertex& v : m_vertices)
        m_construction.push_back(v.object && IsConstruction(*v.object));
}

// a name that leads nowhere, one vertex per class and name
size_t NameGraph::Missing(const CRuntimeClass* cls, const CString& name)
{
    const auto known = m_missing.emplace(std::make_pair(cls, Bytes(name)), m_vertices.size());
    if (known.second)
        m_vertices.push_back(Vertex{nullptr, cls, name});
    return known.first->second;
}

bool NameGraph::IsConstructionStep(const Arc& a) const
{
    return !a.owns && m_construction[a.from] && m_construction[a.to];
}

std::vector<int> NameGraph::Components(const std::function<bool(const Arc&)>& passes) const
{
    const size_t n = m_vertices.size();
    std::vector<std::vector<size_t>> out(n);
    for (const Arc& a : m_arcs)
        if (passes(a))
            out[a.from].push_back(a.to);
    std::vector<int> index(n, -1), low(n, 0);
    std::vector<char> onStack(n, 0);
    std::vector<size_t> stack;
    std::vector<int> component(n, -1);
    int next = 0, components = 0;
    for (size_t start = 0; start < n; ++start) {
        if (index[start] >= 0)
            continue;
        std::vector<std::pair<size_t, size_t>> walk{{start, 0}}; // vertex, next arc
        index[start] = low[start] = next++;
        stack.push_back(start);
        onStack[start] = 1;
        while (!walk.empty()) {
            const size_t v = walk.back().first;
            size_t& arc = walk.back().second;
            if (arc < out[v].size()) {
                const size_t w = out[v][arc++];
                if (index[w] < 0) {
                    index[w] = low[w] = next++;
                    stack.push_back(w);
                    onStack[w] = 1;
                    walk.emplace_back(w, 0);
                } else if (onStack[w]) {
                    low[v] = std::min(low[v], index[w]);
                }
                continue;
            }
            walk.pop_back();
            if (!walk.empty())
                low[walk.back().first] = std::min(low[walk.back().first], low[v]);
            if (low[v] != index[v])
                continue;
            size_t w;
            do {
                w = stack.back();
                stack.pop_back();
                onStack[w] = 0;
                component[w] = components;
            } while (w != v);
            ++components;
        }
    }
    return component;
}

std::vector<std::vector<size_t>> NameGraph::Cycles() const
{
    const std::vector<int> component = Components([this](const Arc& a) { return IsConstructionStep(a); });
    std::map<int, std::vector<size_t>> members; // by component, vertices in file order
    for (size_t v = 0; v < component.size(); ++v)
        members[component[v]].push_back(v);
    std::vector<std::vector<size_t>> cycles;
    for (auto& group : members) {
        const std::vector<size_t>& vs = group.second;
        const bool loop = vs.size() == 1 && std::any_of(m_out[vs[0]].begin(), m_out[vs[0]].end(), [&](size_t a) {
                              return m_arcs[a].to == vs[0] && IsConstructionStep(m_arcs[a]);
                          });
        if (vs.size() > 1 || loop)
            cycles.push_back(std::move(group.second));
    }
    std::sort(cycles.begin(), cycles.end());
    return cycles;
}

} // namespace kvnode
