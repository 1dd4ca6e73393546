#pragma once
// What the families of rules share while one document is checked: the
// document and its bytes, the findings so far, and what one family tells
// another.
#include "model/Model.h"
#include "model/NameGraph.h"
#include "model/FindingPlaces.h"
#include "rules/Lint.h"

#include <map>
#include <memory>
#include <set>
#include <unordered_map>
#include <utility>

namespace kvnode {

class LintContext {
public:
    LintContext(const CXMLDocument& doc, const std::string& file, const std::string& bytes)
        : m_doc(doc), m_file(file), m_bytes(bytes), m_places(doc, bytes)
    {
    }

    const CXMLDocument& Doc() const { return m_doc; }
    const std::string& Bytes() const { return m_bytes; }
    // A finding about object, or about its attribute (as written; empty: the
    // element) and the part subject of the attribute's value (empty: all of it).
    void Add(RuleId rule, const CXMLBase& object, const std::string& attribute, std::string message,
             const std::string& subject = std::string());
    // a finding at a place of the file that is no element's (the declaration)
    void Add(RuleId rule, XmlPosition at, std::string message);
    std::vector<Finding> TakeFindings();

    // Constructions whose "type" is no clean value of their table: the
    // finding is on "type", and the fields the misread type wants are not
    // checked, lest they send the author to the wrong attribute.
    std::set<const CXMLBase*> unclearType;
    // the places of elements whose reader's warning another finding explains
    std::set<std::pair<int, int>> explained;
    // the document's node types, and each one's names, looked up once for every rule
    const std::vector<const CNodeTypeDesc*>& NodeTypes();
    const NameGraph& GraphOf(const CNodeTypeDesc& node);
    // what the host reads of an object (KeyFields), worked out once for every rule
    const std::vector<Field>& FieldsOf(const CXMLBase& object);

private:
    const CXMLDocument& m_doc;
    const std::string& m_file;
    const std::string& m_bytes;
    FindingPlaces m_places;
    std::vector<Finding> m_findings;
    std::vector<const CNodeTypeDesc*> m_nodeTypes;
    bool m_nodeTypesFound = false;
    std::map<const CNodeTypeDesc*, std::unique_ptr<NameGraph>> m_graphs;
    std::unordered_map<const CXMLBase*, std::vector<Field>> m_fields;
};

// a hint for a UTF-8 error in a file whose bytes read as GBK, or empty
std::string EncodingHint(const std::string& bytes, const std::string& error);

} // namespace kvnode
