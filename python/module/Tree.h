#pragma once
// What every object of a tree offers Python, whatever its class: its place
// in the tree (parent, children, a walk), changes to it (add, remove, copy),
// and the typed child lists of the descriptors, as live sequences.
#include "Ref.h"

#include <arx/AcArray.h>

#include <pybind11/pybind11.h>

#include <string>
#include <vector>

namespace kvpy {

// The direct children of parent that are of class cls or derive from it
// (any element for null), as a sequence that reads the tree at each use:
// len, indexing, slicing, iteration, in, append, remove, del.
struct ChildList {
    AnyRef parent;
    const CRuntimeClass* cls = nullptr;
    // the children as the class's own getter lists them (null: filtered by cls)
    std::vector<CXMLBase*> (*collect)(const CXMLBase& parent) = nullptr;
    std::string label; // what Python calls the list: "plates", "children"

    std::vector<CXMLBase*> Items() const;
};

// what a child list getter (bool (Parent::*)(AcArray<Child*>&) const) lists
template <class Get>
struct ListGetter;
template <class P, class C, class R>
struct ListGetter<bool (P::*)(AcArray<C*, R>&) const> {
    using Parent = P;
    using Child = C;
    using Array = AcArray<C*, R>;
};

// the children a getter lists, in its order
template <auto get>
std::vector<CXMLBase*> CollectWith(const CXMLBase& parent)
{
    using G = ListGetter<decltype(get)>;
    typename G::Array items;
    (static_cast<const typename G::Parent&>(parent).*get)(items);
    return std::vector<CXMLBase*>(items.asArrayPtr(), items.asArrayPtr() + items.length());
}

// Binds CXMLBase, CXMLComposite, CXMLUnknown and the sequences and walks.
void BindTree(pybind11::module_& module);
// Adds child (a descriptor that belongs to no tree yet) to parent's children;
// expected, when given, is the class a typed list takes.
void AddChild(const AnyRef& parent, pybind11::handle child, const CRuntimeClass* expected);
// Makes root (a descriptor that belongs to no tree yet) the root of state's document; None deletes the root.
void SetRoot(DocState& state, pybind11::handle root);
// The objects of the tree under root in document order, parents first:
// every element, or those of class cls (a Python class of the module).
pybind11::object Walk(DocState& state, CXMLBase* root, pybind11::handle cls);

} // namespace kvpy
