#pragma once
// The rules of `kvnode check` and their findings: the one entry point that
// every caller lints through.
#include "rules/Fix.h"
#include "rules/Rule.h"

#include <xmlobj/CXMLDocument.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kvnode {

struct Finding {
    Finding() = default;
    Finding(std::string file_, int line_, int column_, RuleId rule_, std::string message_,
            const CXMLBase* object_ = nullptr, std::string attribute_ = std::string(),
            std::string subject_ = std::string())
        : file(std::move(file_)), line(line_), column(column_), rule(rule_), message(std::move(message_)),
          object(object_), attribute(std::move(attribute_)), subject(std::move(subject_))
    {
    }

    std::string file;
    int line = 0; // 0: the finding has no place in the file
    int column = 0;
    // just past what the finding is about (an attribute's value, an element's
    // name); the same as line and column when it points at one place
    int endLine = 0;
    int endColumn = 0;
    RuleId rule = kXmlError;
    std::string message; // UTF-8
    // What the finding is about: the element (null: none, as for the file
    // itself), the attribute as written (empty: the element itself), and the
    // offending part of the attribute's value as written, in UTF-8 (empty:
    // the whole value). object points into the document Lint loaded, so it is
    // null in what Lint returns.
    const CXMLBase* object = nullptr;
    std::string attribute;
    std::string subject;
    // The element as baselines name it, by names rather than places
    // ("CNodeAttDef/CNodeTypeDesc[name=EndPlate]/CPlateDesc[name=EP]"; empty:
    // none), and where its '<' stands in the bytes linted (a text's: its
    // element's, which a comment silences it with).
    std::string path;
    size_t elementOffset = 0;
    // the element as the reader's messages name it, by places
    // ("CNodeAttDef/CNodeTypeDesc[2]/CPlateDesc[1]", ElementPaths; of a file
    // that does not load: the reader's); empty: none
    std::string elementPath;
    std::optional<Fix> fix; // what --fix would write instead, where the rule knows
    Severity severity() const { return RuleOf(rule).severity; }
};

struct LintResult {
    bool loaded = false; // false: the bytes are no document the library reads (the findings say why)
    std::vector<Finding> findings;
};

class Controls;

// Loads a document from the bytes the caller read, names it name in the
// findings, and runs every rule the controls check; kvnode comments in it
// silence findings, and those that silenced nothing are findings too. The
// findings are in file order.
LintResult Lint(const std::string& name, const std::string& bytes, const Controls& controls);
// The same for a document the caller loaded from bytes, with positions
// recorded, and keeps: an editor's buffer is parsed once for its findings
// and for what the editor asks about it.
LintResult LintDocument(const CXMLDocument& doc, const std::string& name, const std::string& bytes,
                        const Controls& controls);

// "file:line:column: error: message [rule-id]"
std::string FormatText(const Finding& finding);

} // namespace kvnode
