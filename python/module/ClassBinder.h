#pragma once
// Binds one class of the library as a Python class: its getters as
// properties named in snake_case after them (GetThickExp: thick_exp,
// IsDirectUsed: is_direct_used), settable where the class has a setter or
// the field an attribute, its lookups as methods. One declaration a getter,
// whatever its kind.
#include "FieldTable.h"
#include "Ref.h"
#include "Tree.h"
#include "Values.h"

#include <pybind11/pybind11.h>

#include <functional>
#include <string>
#include <type_traits>

namespace kvpy {

// GetThickExp: thick_exp; IsEndConnect: is_end_connect; FindMemberByName: find_member
std::string PythonName(const std::string& cppName);
// GetPlateDescArray: plates; GetVarItemDescArray: var_items
std::string ChildListName(const std::string& getter);

template <class T>
using PythonClass = std::conditional_t<std::is_same<T, CXMLBase>::value, pybind11::class_<Ref<T>>,
                                       pybind11::class_<Ref<T>, Ref<NearestBase<T>>>>;

// A property's docstring, which begins with its type (as the stubs read it): "str: the length"
const char* Typed(const std::string& type, const char* doc);

template <class T>
class ClassBinder {
public:
    ClassBinder(pybind11::module_& module, const char* doc)
        : m_class(module, T::GetThisClass()->m_lpszClassName, doc)
    {
        RegisterClass<T>(m_class);
        m_class.def(pybind11::init([](const pybind11::kwargs& fields) {
                        std::shared_ptr<DocState> state = DocState::ForLoose(BuildObject(T::GetThisClass(), fields));
                        auto ref = std::make_unique<Ref<T>>();
                        ref->entry = state->EntryOf(state->LooseRoot());
                        return ref;
                    }),
                    "A new object that belongs to no tree yet, its fields given by name (as its properties are "
                    "called); add it to a parent, or make it a document's root.");
    }

    PythonClass<T>& Class() { return m_class; }

    // A field with a setter of the class's own.
    template <class Get, class Set>
    ClassBinder& Field(const char* getter, Get get, Set set, const char* doc)
    {
        using V = Result<Get>;
        return AddField(
            getter, get, doc,
            [set](CXMLBase& object, pybind11::handle value) {
                (static_cast<T&>(object).*set)(Value<V>::FromPython(value));
            },
            [get, set](const CXMLBase& from, CXMLBase& to) {
                (static_cast<T&>(to).*set)((static_cast<const T&>(from).*get)());
            });
    }
    // A field without one: it is written through its attribute.
    template <class Get>
    ClassBinder& Field(const char* getter, Get get, const char* doc)
    {
        return AddField(getter, get, doc, nullptr, nullptr);
    }
    // A value worked out from the fields: read only.
    template <class Get>
    ClassBinder& Derived(const char* getter, Get get, const char* doc)
    {
        using V = Result<Get>;
        const std::string name = PythonName(getter);
        m_class.def_property_readonly(
            name.c_str(), [get](const Ref<T>& self) { return Value<V>::ToPython((self.Object().*get)()); },
            Typed(Value<V>::kType, doc));
        return *this;
    }
    // A list the getter appends to (numbers) or fills (texts); None where the
    // getter says the list does not apply (returns false), if noneWhenFalse.
    template <class List>
    ClassBinder& Listed(const char* name, bool (T::*get)(List&) const, bool noneWhenFalse, const char* doc)
    {
        m_class.def_property_readonly(
            name,
            [get, noneWhenFalse](const Ref<T>& self) -> pybind11::object {
                List items;
                if (!(self.Object().*get)(items) && noneWhenFalse)
                    return pybind11::none();
                return ToPythonList(items);
            },
            Typed(std::string(ListType<List>()) + (noneWhenFalse ? " | None" : ""), doc));
        return *this;
    }
    // A child list, read through the class's getter.
    template <auto get>
    ClassBinder& Children(const char* getter, const char* doc)
    {
        using Child = typename ListGetter<decltype(get)>::Child;
        return ChildrenOf(ChildListName(getter), Child::GetThisClass(), &CollectWith<get>, doc);
    }
    // A child list the class has no getter for (the root's node types).
    ClassBinder& Children(const std::string& name, const CRuntimeClass* cls, const char* doc)
    {
        return ChildrenOf(name, cls, nullptr, doc);
    }
    // A lookup by name: the first child of its class so named, or None.
    template <class Child>
    ClassBinder& Lookup(const char* function, Child* (T::*find)(CString) const, const char* doc)
    {
        m_class.def(
            PythonName(function).c_str(),
            [find](const Ref<T>& self, pybind11::handle name) {
                return Wrap(self.State(), (self.Object().*find)(ToText(name)));
            },
            pybind11::arg("name"), doc);
        return *this;
    }

private:
    ClassBinder& ChildrenOf(const std::string& name, const CRuntimeClass* cls,
                            std::vector<CXMLBase*> (*collect)(const CXMLBase&), const char* doc)
    {
        m_class.def_property_readonly(
            name.c_str(),
            [cls, collect, name](const Ref<T>& self) {
                return ChildList{static_cast<const AnyRef&>(self), cls, collect, name};
            },
            Typed(std::string("ChildList[") + cls->m_lpszClassName + "]", doc));
        return *this;
    }

    template <class Get>
    using Result = std::decay_t<std::invoke_result_t<Get, const T&>>;

    template <class Get>
    ClassBinder& AddField(const char* getter, Get get, const char* doc,
                          std::function<void(CXMLBase&, pybind11::handle)> set,
                          std::function<void(const CXMLBase&, CXMLBase&)> copy)
    {
        using V = Result<Get>;
        kvpy::Field field;
        field.name = PythonName(getter);
        field.type = Value<V>::kType;
        field.hasSetter = static_cast<bool>(set);
        field.fingerprint = [get](const CXMLBase& object) { return Fingerprint((static_cast<const T&>(object).*get)()); };
        field.attributeText = [](pybind11::handle value) { return Value<V>::AttText(Value<V>::FromPython(value)); };
        field.set = std::move(set);
        field.copy = std::move(copy);
        field.sampleText = Value<V>::AttText(Value<V>::Sample());
        field.sampleFingerprint = Fingerprint(Value<V>::Sample());
        const CRuntimeClass* cls = T::GetThisClass();
        const std::string name = field.name;
        kvpy::AddField(cls, std::move(field));
        m_class.def_property(
            name.c_str(), [get](const Ref<T>& self) { return Value<V>::ToPython((self.Object().*get)()); },
            [cls, name](const Ref<T>& self, pybind11::handle value) {
                CXMLBase& object = self.Object();
                SetField(object, *FindField(cls, name), value);
                self.State().Changed();
            },
            Typed(Value<V>::kType, doc));
        return *this;
    }

    template <class List>
    static const char* ListType()
    {
        if constexpr (std::is_same<List, CStringArray>::value)
            return "list[str]";
        else if constexpr (std::is_floating_point<std::decay_t<decltype(std::declval<List>()[0])>>::value)
            return "list[float]";
        else
            return "list[int]";
    }
    template <class List>
    static pybind11::object ToPythonList(const List& items)
    {
        if constexpr (std::is_same<List, CStringArray>::value) {
            return ToList(items);
        } else {
            pybind11::list list(static_cast<size_t>(items.length()));
            for (int i = 0; i < items.length(); ++i)
                list[static_cast<size_t>(i)] = pybind11::cast(items[i]);
            return std::move(list);
        }
    }

    PythonClass<T> m_class;
};

} // namespace kvpy
