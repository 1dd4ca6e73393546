#pragma once
// The code actions on a buffer's findings: each finding's fix as
// `kvnode check --fix` would apply it (unsafe ones marked so), a
// "kvnode: ignore" comment for its rule on its element, the rule's
// explanation, and every safe fix of the buffer at once.
#include "lsp/OpenDocument.h"

#include <nlohmann/json.hpp>

namespace kvnode {

class Controls;

class CodeActions {
public:
    CodeActions(const OpenDocument& doc, const Controls& controls) : m_doc(doc), m_controls(controls) {}

    // The protocol's CodeAction[] for the findings that touch [from, to]
    // (byte offsets of the buffer). Fixing the whole file lints it again, so
    // it is offered where a fix is, or when source actions are asked for.
    nlohmann::json For(size_t from, size_t to, bool sourceActions) const;

    static constexpr const char* kExplainCommand = "kvnode.explain";

private:
    nlohmann::json Action(const std::string& title, const char* kind, const nlohmann::json& edits) const;
    nlohmann::json FixAction(const Finding& f) const;
    nlohmann::json IgnoreAction(const Finding& f) const;
    nlohmann::json FixAllAction() const;

    const OpenDocument& m_doc;
    const Controls& m_controls;
};

// The one edit that turns before (the buffer's bytes, lines as placed) into after: the bytes between their common start and end.
nlohmann::json EditBetween(const std::string& before, const std::string& after, const TextLines& lines);

} // namespace kvnode
