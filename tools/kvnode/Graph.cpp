#include "Commands.h"
#include "Input.h"
#include "Model.h"

#include <map>
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

class GraphWriter {
public:
    explicit GraphWriter(std::ostream& out) : m_out(out) {}

    void Node(const CNodeTypeDesc& node, int index)
    {
        std::string title = Utf8(node.GetName());
        if (!node.GetShowName().IsEmpty())
            title += " (" + Utf8(node.GetShowName()) + ")";
        m_out << "  subgraph cluster_" << index << " {\n    label=" << Dot(title) << ";\n";
        m_ids.clear();
        m_missing.clear();
        ForEachInNode(node, [&](const CXMLBase& o) {
            if (const Style* style = StyleOf(KindOf(o)))
                Vertex(o, *style);
        });
        const Scope scope(node);
        ForEachInNode(node, [&](const CXMLBase& o) { Edges(o, scope); });
        m_out << "  }\n";
    }

private:
    void Vertex(const CXMLBase& o, const Style& style)
    {
        const std::string id = "n" + std::to_string(m_next++);
        m_ids[&o] = id;
        const auto& desc = static_cast<const CBaseDesc&>(o);
        std::string label = Utf8(desc.GetName());
        if (!desc.GetShowName().IsEmpty())
            label += " (" + Utf8(desc.GetShowName()) + ")";
        m_out << "    " << id << " [label=" << Dot(label + "\n" + KindWord(KindOf(o))) << ", shape=" << style.shape
              << ", fillcolor=" << Dot(style.fill) << "];\n";
    }

    void Edges(const CXMLBase& o, const Scope& scope)
    {
        const auto from = m_ids.find(&o);
        if (from == m_ids.end())
            return;
        // what it owns: cuts, bolt planes, a link bar's planes
        for (const CXMLBase* child : ChildrenOf(o)) {
            const auto to = m_ids.find(child);
            if (to != m_ids.end())
                m_out << "    " << from->second << " -> " << to->second << " [label=" << Dot(KindWord(KindOf(*child)))
                      << ", style=dashed];\n";
        }
        const std::vector<Field> fields = KeyFields(o);
        for (const Reference& ref : ReferencesOf(fields)) {
            const Kind kind = ref.field->target;
            const CBaseDesc* target = scope.Resolve(o, kind, ref.name);
            const auto to = target ? m_ids.find(target) : m_ids.end();
            const std::string id = to != m_ids.end() ? to->second : Missing(kind, ref.name);
            m_out << "    " << from->second << " -> " << id << " [label=" << Dot(ref.field->attribute) << "];\n";
        }
    }

    // a name that leads nowhere, drawn once per kind and name
    std::string Missing(Kind kind, const CString& name)
    {
        const auto key = std::make_pair(kind, std::string(name.GetString()));
        const auto it = m_missing.find(key);
        if (it != m_missing.end())
            return it->second;
        const std::string id = "missing" + std::to_string(m_next++);
        m_missing.emplace(key, id);
        m_out << "    " << id << " [label=" << Dot(Utf8(name) + "?\nno such " + KindWord(kind))
              << ", style=dashed, color=red, fontcolor=red];\n";
        return id;
    }

    std::ostream& m_out;
    int m_next = 1;
    std::unordered_map<const CXMLBase*, std::string> m_ids;
    std::map<std::pair<Kind, std::string>, std::string> m_missing;
};

} // namespace

int RunGraph(const Options& options, std::ostream& out, std::ostream& err)
{
    CXMLDocument doc;
    std::vector<const CNodeTypeDesc*> nodes;
    if (!LoadInput(options.files.front(), doc, err) ||
        !SelectNodeTypes(doc, options.hasNode ? &options.node : nullptr, nodes, err))
        return kExitFailure;
    out << "digraph kvnode {\n  rankdir=LR;\n  node [style=filled, fontname=\"sans-serif\"];\n"
           "  edge [fontname=\"sans-serif\", fontsize=10];\n";
    GraphWriter writer(out);
    for (size_t i = 0; i < nodes.size(); ++i)
        writer.Node(*nodes[i], static_cast<int>(i + 1));
    out << "}\n";
    return kExitClean;
}

} // namespace kvnode
