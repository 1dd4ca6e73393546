#pragma once
// What the families of rules share while one document is checked: the
// document, the findings so far, and what one family tells another. Each
// family lives in a file of its own (Lint*.cpp).
#include "rules/Lint.h"
#include "model/Model.h"

#include <set>
#include <unordered_map>
#include <utility>

namespace kvnode {

class LintContext {
public:
    LintContext(const CXMLDocument& doc, const std::string& file) : m_doc(doc), m_file(file) {}

    const CXMLDocument& Doc() const { return m_doc; }
    void Add(RuleId rule, const CXMLBase& at, std::string message);
    void Add(RuleId rule, XmlPosition at, std::string message);
    std::vector<Finding> TakeFindings();

    // Constructions whose "type" is no clean value of their table: the
    // finding is on "type", and the fields the misread type wants are not
    // checked, lest they send the author to the wrong attribute.
    std::set<const CXMLBase*> unclearType;
    // elements reported as class-mismatch, whose reader warning is not repeated
    std::set<std::pair<int, int>> mismatched;

private:
    const CXMLDocument& m_doc;
    const std::string& m_file;
    std::vector<Finding> m_findings;
};

// The constructions of one node type and which builds on which, by index in file order.
struct ConstructionGraph {
    struct Edge {
        int to;
        const char* field;
    };
    std::vector<const CXMLBase*> nodes;
    std::vector<std::vector<Edge>> edges;
    std::unordered_map<const CXMLBase*, int> index;
    int IndexOf(const CXMLBase* o);
};

// the document's shape: misplaced-element, class-mismatch, and the reader's warnings
void CheckTree(LintContext& c);
// every attribute against its class: bad-number, value-out-of-table, misspelt- and unknown-attribute
void CheckAttributes(LintContext& c);
// names in one node type: unresolved-name, duplicate-name, unused-varitem; fills the graph
void CheckNames(LintContext& c, const CNodeTypeDesc& node, ConstructionGraph& graph);
// construction-cycle over one node type's graph
void CheckCycles(LintContext& c, const ConstructionGraph& graph);
// one part: the counts the classes test, empty-value-list, empty-size
void CheckPart(LintContext& c, const CXMLBase& object);
// encoding-mismatch over the file's bytes
void CheckEncoding(LintContext& c, const std::string& bytes);
// unwritable-text: runs each descriptor's save side, so after every other rule
void CheckWritable(LintContext& c, CXMLDocument& doc);
// a hint for a UTF-8 error in a file whose bytes read as GBK, or empty
std::string EncodingHint(const std::string& bytes, const std::string& error);

} // namespace kvnode
