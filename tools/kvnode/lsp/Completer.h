#pragma once
// Completion at a cursor: element names a parent's lists take, attribute
// names of an element with what each takes, a table's values with their
// meaning, names of descriptors of the kind an attribute wants that are in
// scope (an item of a comma-separated list too) and @Item_Variable uses in
// expressions. Where the cursor is comes from the text as typed; the
// descriptors' names from the last model that loaded, which may be older.
#include "lsp/CursorContext.h"
#include "lsp/TextLines.h"
#include "model/Model.h"

#include <nlohmann/json.hpp>
#include <xmlobj/CXMLDocument.h>

namespace kvnode {

class Completer {
public:
    // model: the last good parse of the buffer, or null
    Completer(const std::string& text, const TextLines& lines, const CXMLDocument* model, bool snippets)
        : m_text(text), m_lines(lines), m_model(model), m_snippets(snippets)
    {
    }

    // the protocol's CompletionItem[] for offset
    nlohmann::json At(size_t offset) const;

private:
    nlohmann::json Elements(const CursorContext& c, size_t offset) const;
    nlohmann::json Attributes(const CursorContext& c, size_t offset) const;
    nlohmann::json Values(const CursorContext& c, size_t offset) const;
    void Names(const CursorContext& c, const CRuntimeClass* cls, size_t from, size_t offset, nlohmann::json& items) const;
    void Uses(const CursorContext& c, size_t from, size_t offset, nlohmann::json& items) const;
    const CNodeTypeDesc* NodeType(const CursorContext& c) const;
    nlohmann::json Edit(size_t from, size_t to, const std::string& text) const;

    const std::string& m_text;
    const TextLines& m_lines;
    const CXMLDocument* m_model;
    bool m_snippets;
};

} // namespace kvnode
