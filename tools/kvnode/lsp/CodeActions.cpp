#include "lsp/CodeActions.h"

#include "commands/Fixer.h"
#include "commands/SuppressionWriter.h"
#include "lsp/Protocol.h"

#include <algorithm>

namespace kvnode {

nlohmann::json EditBetween(const std::string& before, const std::string& after, const TextLines& lines)
{
    size_t head = 0;
    while (head < before.size() && head < after.size() && before[head] == after[head])
        ++head;
    size_t tail = 0;
    while (tail < before.size() - head && tail < after.size() - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    // whole UTF-8 characters: a shared lead byte must not be split from its tail
    while (head > 0 && (static_cast<unsigned char>(before[head]) & 0xC0) == 0x80)
        --head;
    while (tail > 0 && (static_cast<unsigned char>(before[before.size() - tail]) & 0xC0) == 0x80)
        --tail;
    std::string text = after.substr(head, after.size() - tail - head);
    const size_t removed = before.size() - tail - head;
    // an insertion of whole lines (a comment) is moved back to start its line, as the author would type it
    if (removed == 0)
        while (head > 0 && !text.empty() && before[head - 1] == text.back() && before[head - 1] != '\n' &&
               before[head - 1] != '\r') {
            text.insert(text.begin(), text.back());
            text.pop_back();
            --head;
        }
    return {{"range", lsp::Range(lines, head, head + removed)}, {"newText", text}};
}

nlohmann::json CodeActions::Action(const std::string& title, const char* kind, const nlohmann::json& edits) const
{
    return {{"title", title},
            {"kind", kind},
            {"edit", {{"changes", {{m_doc.Uri(), edits}}}}}};
}

nlohmann::json CodeActions::FixAction(const Finding& f) const
{
    nlohmann::json edits = nlohmann::json::array();
    for (const Fix::Edit& e : f.fix->edits)
        edits.push_back({{"range", lsp::Range(m_doc.Lines(), e.begin, e.end)}, {"newText", e.bytes}});
    nlohmann::json action =
        Action("Write \"" + f.fix->text + "\"" + (f.fix->safe ? "" : " (unsafe: a guess)") + " [" + std::string(f.rule) + "]",
               "quickfix", edits);
    action["isPreferred"] = f.fix->safe;
    return action;
}

nlohmann::json CodeActions::IgnoreAction(const Finding& f) const
{
    size_t added = 0;
    const std::string after = AddSuppressions(m_doc.Bytes(), {f}, added);
    if (added == 0)
        return nullptr;
    return Action("Ignore " + std::string(f.rule) + " here", "quickfix",
                  nlohmann::json::array({EditBetween(m_doc.Bytes(), after, m_doc.Lines())}));
}

nlohmann::json CodeActions::FixAllAction() const
{
    if (std::none_of(m_doc.findings.begin(), m_doc.findings.end(), [](const Finding& f) { return Applicable(f, false); }))
        return nullptr;
    const FixOutcome outcome =
        ApplyFixes(m_doc.Path(), m_doc.Bytes(), m_controls, false, [](const Finding&) { return true; });
    if (outcome.fixed == 0)
        return nullptr;
    return Action("Fix all safely fixable findings (" + std::to_string(outcome.fixed) + ")", "source.fixAll",
                  nlohmann::json::array({EditBetween(m_doc.Bytes(), outcome.bytes, m_doc.Lines())}));
}

nlohmann::json CodeActions::For(size_t from, size_t to, bool sourceActions) const
{
    nlohmann::json actions = nlohmann::json::array();
    bool fixable = sourceActions;
    const TextLines& lines = m_doc.Lines();
    for (const Finding& f : m_doc.findings) {
        const size_t begin = lines.Offset(lines.FromPlace(f.line, f.column));
        const size_t end = f.endLine ? lines.Offset(lines.FromPlace(f.endLine, f.endColumn)) : begin;
        if (end < from || begin > to)
            continue;
        if (f.fix && !f.fix->edits.empty()) {
            actions.push_back(FixAction(f));
            fixable = true;
        }
        const nlohmann::json ignore = IgnoreAction(f);
        if (!ignore.is_null())
            actions.push_back(ignore);
        actions.push_back({{"title", "Explain " + std::string(f.rule)},
                           {"command",
                            {{"title", "Explain " + std::string(f.rule)},
                             {"command", kExplainCommand},
                             {"arguments", {std::string(f.rule)}}}}});
    }
    const nlohmann::json all = fixable ? FixAllAction() : nlohmann::json();
    if (!all.is_null())
        actions.push_back(all);
    return actions;
}

} // namespace kvnode
