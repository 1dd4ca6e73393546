#pragma once
// The rules of `kvnode check` over a loaded tree, and their findings.
#include <xmlobj/CXMLDocument.h>

#include <string>
#include <vector>

namespace kvnode {

enum class Severity { Warning, Error };

enum class RuleId {
    XmlError,
    XmlWarning,
    UnknownClass,
    UnresolvedName,
    DuplicateName,
    PlatePlanes,
    CutPlanes,
    BoltPlanes,
    LinkBarPlanes,
    ConstructionCycle,
    EmptyValueList,
    UnusedVarItem,
    BadNumber,
    ValueOutOfTable,
    MisspeltAttribute,
    UnknownAttribute,
    MisplacedElement,
    ClassMismatch,
    EmptySize,
    UnwritableText,
    EncodingMismatch,
    UnusedSuppression,
};

struct Rule {
    RuleId rule;
    const char* id; // as printed: "unresolved-name"
    Severity severity;
    const char* summary; // one line
    const char* help;    // what the rule finds, why it matters and how to mend it
    const char* example; // a snippet of a document the rule reports
};

// every rule, in the order of the enumeration
const std::vector<Rule>& Rules();
const Rule& RuleOf(RuleId rule);

struct Finding {
    std::string file;
    int line = 0; // 0: the finding has no place in the file
    int column = 0;
    RuleId rule = RuleId::XmlError;
    std::string message; // UTF-8
    Severity severity() const { return RuleOf(rule).severity; }
};

struct LintResult {
    bool loaded = false; // false: the file could not be read or parsed (the findings say why)
    std::vector<Finding> findings;
};

// Loads path (recording positions) and runs every rule.
LintResult LintFile(const std::string& path);
// The same over a document held in memory (standard input), called file in the findings.
LintResult LintText(const std::string& text, const std::string& file);
// The rules over a document loaded with SetRecordPositions(true); findings in file order.
std::vector<Finding> LintDocument(const CXMLDocument& doc, const std::string& file);

// "file:line:column: error: message [rule-id]"
std::string FormatText(const Finding& finding);

} // namespace kvnode
