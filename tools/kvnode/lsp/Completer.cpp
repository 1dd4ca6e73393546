#include "lsp/Completer.h"

#include "lsp/AttributeText.h"
#include "lsp/Protocol.h"
#include "model/Catalogue.h"

#include <algorithm>
#include <cstring>
#include <set>

namespace kvnode {

namespace {

// the protocol's CompletionItemKind
enum Kind { kProperty = 10, kClass = 7, kReference = 18, kEnumMember = 20, kVariable = 6 };

const ClassInfo* ClassOfElement(const std::string& element)
{
    for (const ClassInfo& info : Classes())
        if (info.element == element)
            return &info;
    return nullptr;
}

nlohmann::json Markdown(const std::string& text) { return {{"kind", "markdown"}, {"value", text}}; }

} // namespace

nlohmann::json Completer::Edit(size_t from, size_t to, const std::string& text) const
{
    return {{"range", lsp::Range(m_lines, from, to)}, {"newText", text}};
}

nlohmann::json Completer::At(size_t offset) const
{
    const CursorContext c = CursorContext::Of(m_text, offset);
    switch (c.where) {
    case CursorContext::Where::ElementName: return Elements(c, offset);
    case CursorContext::Where::AttributeName: return Attributes(c, offset);
    case CursorContext::Where::AttributeValue: return Values(c, offset);
    default: return nlohmann::json::array();
    }
}

nlohmann::json Completer::Elements(const CursorContext& c, size_t offset) const
{
    std::vector<const ClassInfo*> allowed;
    if (c.open.empty()) {
        allowed.push_back(&RootClass());
    } else if (const ClassInfo* parent = ClassOfElement(c.open.back().element)) {
        for (CRuntimeClass* cls : parent->children)
            if (const ClassInfo* child = ClassOf(cls))
                allowed.push_back(child);
    }
    nlohmann::json items = nlohmann::json::array();
    for (const ClassInfo* info : allowed)
        items.push_back({{"label", info->element},
                         {"kind", kClass},
                         {"detail", info->noun},
                         {"textEdit", Edit(c.wordStart, offset, info->element + " classtype=\"" + info->index + "\"")}});
    return items;
}

nlohmann::json Completer::Attributes(const CursorContext& c, size_t offset) const
{
    nlohmann::json items = nlohmann::json::array();
    const ClassInfo* info = ClassOfElement(c.element);
    if (!info)
        return items;
    for (const AttributeInfo& a : info->attributes) {
        const bool written = std::any_of(c.attributes.begin(), c.attributes.end(),
                                         [&](const std::pair<std::string, std::string>& w) { return w.first == a.name; });
        if (written || IsLibraryAttribute(a.name))
            continue;
        std::string doc = ReadingText(a.reading);
        if (const EnumTable* table = ValueTable(*info, a))
            doc += "\n\n" + TableText(*table, a.reading.type == AttType::Keyword);
        nlohmann::json item = {{"label", a.name},
                               {"kind", kProperty},
                               {"detail", ReadingText(a.reading)},
                               {"documentation", Markdown(doc)}};
        if (m_snippets) {
            item["textEdit"] = Edit(c.wordStart, offset, a.name + "=\"$1\"");
            item["insertTextFormat"] = 2;
        } else {
            item["textEdit"] = Edit(c.wordStart, offset, a.name);
        }
        items.push_back(item);
    }
    return items;
}

nlohmann::json Completer::Values(const CursorContext& c, size_t offset) const
{
    nlohmann::json items = nlohmann::json::array();
    const ClassInfo* info = ClassOfElement(c.element);
    const AttributeInfo* a = info ? FindAttribute(*info, c.attribute) : nullptr;
    const size_t use = m_text.rfind('@', offset ? offset - 1 : 0);
    if (use != std::string::npos && use >= c.valueStart && use < offset &&
        m_text.find_first_of(" +-*/(),", use) >= offset) {
        Uses(c, use, offset, items);
        return items;
    }
    if (!a)
        return items;
    if (const EnumTable* table = ValueTable(*info, *a)) {
        const bool keyword = a->reading.type == AttType::Keyword;
        for (int i = 0; i < table->count; ++i) {
            const EnumText& row = table->rows[i];
            const std::string text = Utf8(row.text, std::strlen(row.text));
            const std::string value = keyword ? text : std::to_string(row.value);
            items.push_back({{"label", value},
                             {"kind", kEnumMember},
                             {"detail", keyword ? std::string() : text},
                             {"sortText", std::string(4 - std::min<size_t>(4, std::to_string(i).size()), '0') +
                                              std::to_string(i)},
                             {"textEdit", Edit(c.valueStart, offset, value)}});
        }
    } else if (a->reading.names) {
        Names(c, a->reading.names, a->reading.list ? c.wordStart : c.valueStart, offset, items);
    }
    return items;
}

const CNodeTypeDesc* Completer::NodeType(const CursorContext& c) const
{
    if (!m_model)
        return nullptr;
    const std::vector<const CNodeTypeDesc*> nodes = NodeTypesOf(m_model->GetRoot());
    const std::string element = RUNTIME_CLASS(CNodeTypeDesc)->m_lpszClassName;
    for (const OpenElement& e : c.open)
        if (e.element == element)
            for (const CNodeTypeDesc* node : nodes)
                if (Utf8(node->GetName()) == e.name)
                    return node;
    // the tag being typed may be a node type's own
    for (const auto& a : c.attributes)
        if (c.element == element && a.first == "name")
            for (const CNodeTypeDesc* node : nodes)
                if (Utf8(node->GetName()) == a.second)
                    return node;
    return nodes.size() == 1 ? nodes.front() : nullptr;
}

void Completer::Names(const CursorContext& c, const CRuntimeClass* cls, size_t from, size_t offset,
                      nlohmann::json& items) const
{
    const CNodeTypeDesc* node = NodeType(c);
    if (!node)
        return;
    // what a descriptor sees: the children of each descriptor it lies in, then the node type's
    std::vector<const CXMLBase*> parents{node};
    for (const OpenElement& e : c.open)
        ForEachInNode(*node, [&](const CXMLBase& o) {
            if (!e.name.empty() && o.GetRuntimeClass()->m_lpszClassName == e.element &&
                o.IsKindOf(RUNTIME_CLASS(CBaseDesc)) && Utf8(static_cast<const CBaseDesc&>(o).GetName()) == e.name)
                parents.push_back(&o);
        });
    std::set<std::string> offered;
    for (auto p = parents.rbegin(); p != parents.rend(); ++p)
        for (const CXMLBase* child : ChildrenOf(**p)) {
            if (!child->IsKindOf(const_cast<CRuntimeClass*>(cls)) || !child->IsKindOf(RUNTIME_CLASS(CBaseDesc)))
                continue;
            const auto* desc = static_cast<const CBaseDesc*>(child);
            const std::string name = Utf8(desc->GetName());
            if (name.empty() || !offered.insert(name).second)
                continue;
            const std::string show = Utf8(desc->GetShowName());
            items.push_back({{"label", name},
                             {"kind", kReference},
                             {"detail", Noun(child->GetRuntimeClass()) + (show.empty() ? "" : "  " + show)},
                             {"textEdit", Edit(from, offset, name)}});
        }
}

void Completer::Uses(const CursorContext& c, size_t from, size_t offset, nlohmann::json& items) const
{
    const CNodeTypeDesc* node = NodeType(c);
    if (!node)
        return;
    for (const CXMLBase* item : ChildrenOf(*node)) {
        if (!item->IsKindOf(RUNTIME_CLASS(CVarItemDesc)))
            continue;
        const std::string itemName = Utf8(static_cast<const CBaseDesc*>(item)->GetName());
        for (const CXMLBase* var : ChildrenOf(*item)) {
            if (!var->IsKindOf(RUNTIME_CLASS(CVarDesc)))
                continue;
            const auto* v = static_cast<const CVarDesc*>(var);
            const std::string use = "@" + itemName + "_" + Utf8(v->GetName());
            const std::string show = Utf8(v->GetShowName());
            items.push_back({{"label", use},
                             {"kind", kVariable},
                             {"detail", show.empty() ? "variable" : "variable  " + show},
                             {"textEdit", Edit(from, offset, use)}});
        }
    }
}

} // namespace kvnode
