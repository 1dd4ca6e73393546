#include "Tree.h"

#include "Documents.h"
#include "FieldTable.h"
#include "Texts.h"

#include <model/ElementPaths.h>
#include <xmlobj/CXMLUnknown.h>

namespace py = pybind11;

namespace kvpy {

namespace {

// comments, text and instructions among the children are kept, not shown
bool IsElement(const CXMLBase* object) { return object && !object->IsKindOf(RUNTIME_CLASS(CXMLText)); }

CXMLComposite* AsComposite(CXMLBase& object)
{
    return object.IsKindOf(RUNTIME_CLASS(CXMLComposite)) ? static_cast<CXMLComposite*>(&object) : nullptr;
}

std::string Describe(const CXMLBase& object)
{
    std::string text = object.GetRuntimeClass()->m_lpszClassName;
    if (object.IsKindOf(RUNTIME_CLASS(CBaseDesc)))
        text += " " + py::repr(FromText(static_cast<const CBaseDesc&>(object).GetName())).cast<std::string>();
    return text;
}

[[noreturn]] void ValueError(const std::string& message) { throw py::value_error(message); }

// an object of a tree, or TypeError
const AnyRef& RefOf(py::handle object)
{
    if (!py::isinstance<AnyRef>(object))
        throw py::type_error(std::string("an object of a node definition tree is wanted, not ") +
                             Py_TYPE(object.ptr())->tp_name);
    return object.cast<const AnyRef&>();
}

// A loose descriptor, checked to be one: made in Python and in no tree yet.
CXMLBase& LooseObject(const AnyRef& ref)
{
    CXMLBase& object = ref.Object();
    if (!ref.State().IsLoose(&object))
        ValueError(Describe(object) + " belongs to a tree already; add a copy of it (copy())");
    return object;
}

// A deep copy, made as a load makes one: each object from its attribute
// list (brought up to date first), then its children.
std::unique_ptr<CXMLBase> CopyOf(CXMLBase& source)
{
    if (source.IsKindOf(RUNTIME_CLASS(CXMLText))) {
        const auto& text = static_cast<const CXMLText&>(source);
        return std::make_unique<CXMLText>(text.GetKind(), text.GetText());
    }
    source.RefreshAttListWithMember();
    std::unique_ptr<CXMLBase> copy(static_cast<CXMLBase*>(source.CreateNew()));
    const CStringArray& attributes = source.GetAttList();
    for (INT_PTR i = 0; i + 1 < attributes.GetSize(); i += 2)
        copy->SetAttText(attributes.GetAt(i), attributes.GetAt(i + 1));
    copy->RefreshMemberWithAttList();
    CopySetterFields(source, *copy);
    if (CXMLComposite* composite = AsComposite(source))
        for (int i = 0; i < composite->GetChildCount(); ++i)
            if (CXMLBase* child = composite->GetChild(i))
                copy->Add(CopyOf(*child).release());
    return copy;
}

void RemoveChild(const AnyRef& parent, const AnyRef& child)
{
    CXMLBase& parentObject = parent.Object();
    CXMLBase& childObject = child.Object();
    if (childObject.GetParent() != &parentObject)
        ValueError(Describe(childObject) + " is not a child of " + Describe(parentObject));
    parent.State().Forget(&childObject, "this object was removed from its parent");
    parentObject.Remove(&childObject);
    parent.State().Changed();
}

// the index Python means by index in a sequence of count items; IndexError outside it
size_t IndexIn(Py_ssize_t index, size_t count)
{
    const Py_ssize_t n = static_cast<Py_ssize_t>(count);
    if (index < 0)
        index += n;
    if (index < 0 || index >= n)
        throw py::index_error("child list index out of range");
    return static_cast<size_t>(index);
}

// Iterates a child list from a list of its items taken once; a change of
// the tree's shape takes the list again and goes on from the same index, as
// a Python list would.
class ChildIterator {
public:
    explicit ChildIterator(ChildList list) : m_list(std::move(list)) { Take(); }
    py::object Next()
    {
        DocState& state = m_list.parent.State();
        if (state.Generation() != m_generation)
            Take();
        if (m_index >= m_items.size())
            throw py::stop_iteration();
        return Wrap(state, m_items[m_index++]);
    }

private:
    void Take()
    {
        m_items = m_list.Items();
        m_generation = m_list.parent.State().Generation();
    }
    ChildList m_list;
    std::vector<CXMLBase*> m_items;
    std::uint64_t m_generation = 0;
    size_t m_index = 0;
};

// The walk over a tree, parents before children. Each level holds the entry
// of its composite, so an object removed during the walk ends its level.
class TreeWalk {
public:
    TreeWalk(DocState& state, CXMLBase* root, const CRuntimeClass* cls) : m_root(state.EntryOf(root)), m_cls(cls) {}
    py::object Next()
    {
        for (;;) {
            std::shared_ptr<Entry> entry;
            if (m_root) {
                entry = std::move(m_root);
                entry->Get();
            } else {
                if (m_levels.empty())
                    throw py::stop_iteration();
                auto& [parent, index] = m_levels.back();
                CXMLComposite* composite = parent->object ? AsComposite(parent->Get()) : nullptr;
                if (!composite || index >= composite->GetChildCount()) {
                    m_levels.pop_back();
                    continue;
                }
                CXMLBase* child = composite->GetChild(index++);
                if (!IsElement(child))
                    continue;
                entry = parent->doc->EntryOf(child);
            }
            CXMLBase* object = entry->object;
            if (AsComposite(*object))
                m_levels.emplace_back(entry, 0);
            if (!m_cls || object->IsKindOf(m_cls))
                return Wrap(*entry->doc, object);
        }
    }

private:
    std::shared_ptr<Entry> m_root;
    const CRuntimeClass* m_cls;
    std::vector<std::pair<std::shared_ptr<Entry>, int>> m_levels;
};

} // namespace

std::vector<CXMLBase*> ChildList::Items() const
{
    CXMLBase& object = parent.Object();
    if (collect)
        return collect(object);
    std::vector<CXMLBase*> items;
    if (CXMLComposite* composite = AsComposite(object))
        for (int i = 0; i < composite->GetChildCount(); ++i) {
            CXMLBase* child = composite->GetChild(i);
            if (IsElement(child) && (!cls || child->IsKindOf(cls)))
                items.push_back(child);
        }
    return items;
}

void AddChild(const AnyRef& parent, py::handle childObject, const CRuntimeClass* expected)
{
    const AnyRef& child = RefOf(childObject);
    CXMLBase& parentObject = parent.Object();
    CXMLBase& object = LooseObject(child);
    if (expected && !object.IsKindOf(expected))
        throw py::type_error(std::string("a ") + expected->m_lpszClassName + " is wanted here, not a " +
                             object.GetRuntimeClass()->m_lpszClassName);
    if (!AsComposite(parentObject))
        throw py::type_error(Describe(parentObject) + " holds no children");
    if (&child.State() == &parent.State())
        ValueError(Describe(object) + " cannot be added to itself or to an object under it");
    DocState& tree = parent.State();
    CXMLBase* given = child.State().GiveLooseTo(tree);
    if (!parentObject.Add(given)) {
        tree.Forget(given, "this object could not be added");
        delete given;
        ValueError(Describe(parentObject) + " refused the child");
    }
}

void SetRoot(DocState& state, py::handle root)
{
    CXMLDocument& document = state.Document();
    CXMLBase* given = nullptr;
    if (!root.is_none()) {
        const AnyRef& ref = RefOf(root);
        LooseObject(ref);
        given = ref.State().GiveLooseTo(state);
    }
    if (CXMLBase* old = document.GetRoot())
        state.Forget(old, "this object was replaced as its document's root");
    document.SetRoot(given);
    state.Changed();
}

py::object Walk(DocState& state, CXMLBase* root, py::handle cls)
{
    const CRuntimeClass* wanted = cls.is_none() ? nullptr : RuntimeClassOf(cls);
    return py::cast(TreeWalk(state, root, wanted));
}

void BindTree(py::module_& m)
{
    py::class_<ChildIterator>(m, "_ChildIterator")
        .def("__iter__", [](py::object self) { return self; })
        .def("__next__", &ChildIterator::Next);
    py::class_<TreeWalk>(m, "_TreeWalk")
        .def("__iter__", [](py::object self) { return self; })
        .def("__next__", &TreeWalk::Next);

    py::class_<ChildList>(m, "ChildList", R"(The children of one class of a descriptor, in document order.

A live view: each use reads the tree as it is then. Supports len(), indexing
and slicing, iteration, ``in``, ``append``, ``remove``, ``index`` and ``del``.)")
        .def("__len__", [](const ChildList& self) { return self.Items().size(); })
        .def("__getitem__",
             [](const ChildList& self, Py_ssize_t index) {
                 const std::vector<CXMLBase*> items = self.Items();
                 return Wrap(self.parent.State(), items[IndexIn(index, items.size())]);
             })
        .def("__getitem__",
             [](const ChildList& self, const py::slice& slice) {
                 const std::vector<CXMLBase*> items = self.Items();
                 size_t start = 0, stop = 0, step = 0, count = 0;
                 if (!slice.compute(items.size(), &start, &stop, &step, &count))
                     throw py::error_already_set();
                 py::list out;
                 for (size_t i = 0; i < count; ++i, start += step)
                     out.append(Wrap(self.parent.State(), items[start]));
                 return out;
             })
        .def("__iter__", [](const ChildList& self) { return ChildIterator(self); })
        .def("__contains__",
             [](const ChildList& self, py::handle item) {
                 if (!py::isinstance<AnyRef>(item))
                     return false;
                 const auto& ref = item.cast<const AnyRef&>();
                 if (!ref.entry->object)
                     return false;
                 for (CXMLBase* child : self.Items())
                     if (child == ref.entry->object)
                         return true;
                 return false;
             })
        .def("index",
             [](const ChildList& self, const AnyRef& item) {
                 const std::vector<CXMLBase*> items = self.Items();
                 for (size_t i = 0; i < items.size(); ++i)
                     if (items[i] == item.entry->object)
                         return i;
                 throw py::value_error("not in the list");
             })
        .def("append", [](const ChildList& self, py::handle child) { AddChild(self.parent, child, self.cls); },
             py::arg("child"), "Adds a descriptor that belongs to no tree yet after the parent's last child.")
        .def("remove",
             [](const ChildList& self, const AnyRef& child) {
                 if (self.cls && !child.Object().IsKindOf(self.cls))
                     throw py::value_error("not in the list");
                 RemoveChild(self.parent, child);
             },
             py::arg("child"), "Removes the child from the tree and deletes it; its Python objects are then gone.")
        .def("__delitem__",
             [](const ChildList& self, Py_ssize_t index) {
                 const std::vector<CXMLBase*> items = self.Items();
                 CXMLBase* child = items[IndexIn(index, items.size())];
                 AnyRef ref;
                 ref.entry = self.parent.State().EntryOf(child);
                 RemoveChild(self.parent, ref);
             })
        .def("__repr__", [](const ChildList& self) {
            py::list items;
            for (CXMLBase* child : self.Items())
                items.append(Wrap(self.parent.State(), child));
            return "<" + self.label + " " + py::repr(items).cast<std::string>() + ">";
        });

    py::class_<AnyRef>(m, "CXMLBase", R"(An object of a node definition tree: one XML element.

The Python object stands for the C++ object and keeps its document alive.
Once the object is removed from its parent, or its document is closed,
using it raises ReferenceError.)")
        .def_property_readonly("class_index", [](const AnyRef& self) { return FromText(self.Object().GetClassIndex()); },
                               "str: the class index written as \"classtype\" (\"8_3\" for a plate)")
        .def_property_readonly("element_name",
                               [](const AnyRef& self) { return FromText(self.Object().GetElementName()); },
                               "str: the name of the element the object is written as")
        .def_property_readonly(
            "attributes",
            [](const AnyRef& self) {
                CXMLBase& object = self.Object();
                object.RefreshAttListWithMember();
                const CStringArray& list = object.GetAttList();
                py::dict attributes;
                for (INT_PTR i = 0; i + 1 < list.GetSize(); i += 2)
                    attributes[FromText(list.GetAt(i))] = FromText(list.GetAt(i + 1));
                return attributes;
            },
            "dict[str, str]: the attributes a save writes, in their order, and any others the element was read with")
        .def_property_readonly("path", [](const AnyRef& self) { return kvnode::ElementPaths().Of(self.Object()); },
                               "str: where the element stands, as messages name it: CNodeAttDef/CNodeTypeDesc[2]/CPlateDesc[1]")
        .def_property_readonly(
            "position",
            [](const AnyRef& self) -> py::object {
                CXMLBase& object = self.Object();
                if (!self.State().HasDocument())
                    return py::none();
                const XmlPosition at = self.State().Document().GetPosition(&object);
                return at.line > 0 ? py::object(py::make_tuple(at.line, at.column)) : py::object(py::none());
            },
            "tuple[int, int] | None: the line and column (from 1, in characters) of the element's '<' in the text it "
            "was read from, for a document loaded with positions=True; None otherwise")
        .def(
            "get_attribute",
            [](const AnyRef& self, py::handle name) -> py::object {
                CString value;
                if (!self.Object().GetAttText(ToText(name), value))
                    return py::none();
                return FromText(value);
            },
            py::arg("name"), R"(get_attribute(name: str) -> str | None

The text of an attribute as the attribute list holds it (the XML object
library's GetAttText), or None. A descriptor's fields are its properties:
its attribute list is brought up to date from them only when it is saved.)")
        .def(
            "set_attribute",
            [](const AnyRef& self, py::handle name, py::handle value) {
                self.Object().SetAttText(ToText(name), ToText(value));
                self.State().Changed();
            },
            py::arg("name"), py::arg("value"), R"(set_attribute(name: str, value: str) -> None

Sets an attribute's text in the attribute list (the XML object library's
SetAttText): for the values of a value list, and for elements of no
registered class. A descriptor's field is set through its property; a save
writes the fields over their attributes.)")
        .def_property_readonly("parent", [](const AnyRef& self) { return Wrap(self.State(), self.Object().GetParent()); },
                               "CXMLBase | None: the object that holds this one; None for a root and a descriptor in no tree")
        .def_property_readonly(
            "children", [](const AnyRef& self) { return ChildList{self, nullptr, nullptr, "children"}; },
            "ChildList: every child element, of whatever class, in document order")
        .def_property_readonly(
            "document",
            [](const AnyRef& self) -> py::object {
                self.Object();
                return self.State().HasDocument() ? DocumentObject(self.entry->doc) : py::none();
            },
            "Document | None: the document the object belongs to; None for a descriptor made in Python and in no tree yet")
        .def(
            "walk",
            [](const AnyRef& self, py::handle cls) { return Walk(self.State(), &self.Object(), cls); },
            py::arg("cls") = py::none(), R"(walk(cls: type[CXMLBase] | None = None) -> Iterator[CXMLBase]

This object and every element under it, parents before their children, in
document order; only those of class cls (or derived from it) when given.)")
        .def("add", [](const AnyRef& self, py::handle child) { AddChild(self, child, nullptr); }, py::arg("child"),
             "add(child: CXMLBase) -> None\n\nAdds a descriptor that belongs to no tree yet after this object's last child.")
        .def("remove", &RemoveChild, py::arg("child"),
             "remove(child: CXMLBase) -> None\n\nRemoves a child from the tree and deletes it; its Python objects are then gone.")
        .def(
            "copy",
            [](const AnyRef& self) {
                std::shared_ptr<DocState> state = DocState::ForLoose(CopyOf(self.Object()));
                return Wrap(*state, state->LooseRoot());
            },
            R"(copy() -> CXMLBase

A deep copy, children included, that belongs to no tree: add it where it is
wanted (a node type copied from a template into another document).)")
        .def("__eq__",
             [](const AnyRef& self, py::handle other) {
                 return py::isinstance<AnyRef>(other) && other.cast<const AnyRef&>().entry == self.entry;
             })
        .def("__hash__", [](const AnyRef& self) { return std::hash<const Entry*>()(self.entry.get()); })
        .def("__repr__", [](const AnyRef& self) {
            if (!self.entry->object)
                return std::string("<gone: ") + self.entry->gone + ">";
            return "<" + Describe(self.Object()) + ">";
        });

    py::class_<Ref<CXMLComposite>, AnyRef> composite(m, "CXMLComposite", "An object that owns ordered children.");
    RegisterClass<CXMLComposite>(composite);
    RegisterClass<CXMLBase>(py::type::of<AnyRef>());
    py::class_<Ref<CXMLUnknown>, Ref<CXMLComposite>> unknown(
        m, "CXMLUnknown",
        "An element of no registered class, kept with its attributes and children and saved back as read.");
    RegisterClass<CXMLUnknown>(unknown);
}

} // namespace kvpy
