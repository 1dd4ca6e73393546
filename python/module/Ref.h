#pragma once
// The C++ side of a Python object that stands for an object of a tree. Ref<T>
// derives from the Ref of T's nearest framework base, so that the Python
// classes inherit as the C++ classes do; all hold the same shared entry.
#include "DocState.h"

#include <KvNodeDefine/CBaseDesc.h>
#include <xmlobj/CXMLComposite.h>

#include <pybind11/pybind11.h>

#include <memory>
#include <type_traits>

namespace kvpy {

template <class T>
struct Ref;

template <>
struct Ref<CXMLBase> {
    std::shared_ptr<Entry> entry;
    CXMLBase& Object() const { return entry->Get(); }
    DocState& State() const { return *entry->doc; }
};

// The descriptors derive from CBaseDesc, the root and unknown elements from
// CXMLComposite, value lists from CXMLBase.
template <class T>
using NearestBase = std::conditional_t<
    std::is_base_of<CBaseDesc, T>::value && !std::is_same<CBaseDesc, T>::value, CBaseDesc,
    std::conditional_t<std::is_base_of<CXMLComposite, T>::value && !std::is_same<CXMLComposite, T>::value,
                       CXMLComposite, CXMLBase>>;

template <class T>
struct Ref : Ref<NearestBase<T>> {
    T& Object() const { return static_cast<T&>(Ref<CXMLBase>::Object()); }
};

using AnyRef = Ref<CXMLBase>;

// The Python object for object of state's tree, of the Python class of its
// run-time class (or the nearest base that has one); None for null.
pybind11::object Wrap(DocState& state, CXMLBase* object);

// Tells Wrap which Python class stands for T; called once for each bound class.
void RegisterClass(CRuntimeClass* cls, pybind11::object (*make)(std::shared_ptr<Entry>), pybind11::handle type);
template <class T>
void RegisterClass(pybind11::handle type)
{
    RegisterClass(
        T::GetThisClass(),
        [](std::shared_ptr<Entry> entry) -> pybind11::object {
            auto ref = std::make_unique<Ref<T>>();
            ref->entry = std::move(entry);
            return pybind11::cast(std::move(ref));
        },
        type);
}
// The run-time class a Python class stands for; TypeError for any other object.
CRuntimeClass* RuntimeClassOf(pybind11::handle type);
// The Python class that stands for cls, or None.
pybind11::object PythonClassOf(const CRuntimeClass* cls);

} // namespace kvpy
