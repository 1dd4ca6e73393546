#pragma once
// Which descriptor of one node type names which, and which owns which, with
// every name looked up once: what `kvnode graph` draws and what the name and
// cycle rules of `kvnode check` read, so that the two never disagree.
#include "model/Model.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace kvnode {

class NameGraph {
public:
    struct Vertex {
        const CXMLBase* object;   // null: a name that leads nowhere
        const CRuntimeClass* cls; // the object's class, or the class the name wants
        CString name;             // a name that leads nowhere (GBK)
    };
    struct Arc {
        size_t from, to;
        std::string field; // the attribute that names; for a child owned, the child's noun
        bool owns;         // a child the descriptor owns, not a name
        bool derived;      // a name worked out from the descriptor's expressions, not written
        bool list;         // one of the comma-separated names of the field
    };

    // what the host reads of a descriptor; KeyFields unless the caller keeps them
    using FieldsOf = std::function<const std::vector<Field>&(const CXMLBase&)>;
    explicit NameGraph(const CNodeTypeDesc& node, const FieldsOf& fieldsOf = FieldsOf());

    const CNodeTypeDesc& Node() const { return m_scope.Node(); }
    // the lookup the names went through, for hints
    const Scope& Names() const { return m_scope; }
    // the descriptors below the node type in file order, then the names that lead nowhere
    const std::vector<Vertex>& Vertices() const { return m_vertices; }
    // in file order of the descriptor they start from; a name given twice is one arc
    const std::vector<Arc>& Arcs() const { return m_arcs; }
    // the arcs from a vertex, by index in Arcs()
    const std::vector<size_t>& ArcsFrom(size_t vertex) const { return m_out[vertex]; }

    // a name from one construction to another: what construction cycles are made of
    bool IsConstructionStep(const Arc& a) const;
    // Each vertex's strongly connected component over the arcs that pass,
    // numbered sinks first (Tarjan's, on an explicit stack: chains of names
    // may be long).
    std::vector<int> Components(const std::function<bool(const Arc&)>& passes) const;
    // the groups of constructions that name one another in a circle, each in file order
    std::vector<std::vector<size_t>> Cycles() const;

private:
    size_t Missing(const CRuntimeClass* cls, const CString& name);

    Scope m_scope;
    std::vector<Vertex> m_vertices;
    std::vector<Arc> m_arcs;
    std::vector<std::vector<size_t>> m_out;
    std::vector<bool> m_construction; // of each vertex
    std::map<std::pair<const CRuntimeClass*, std::string>, size_t> m_missing;
};

} // namespace kvnode
