#include "Ref.h"

#include <unordered_map>

namespace py = pybind11;

namespace kvpy {

namespace {

struct BoundClass {
    py::object (*make)(std::shared_ptr<Entry>);
    PyObject* type; // lives as long as the module
};

std::unordered_map<const CRuntimeClass*, BoundClass>& BoundClasses()
{
    static std::unordered_map<const CRuntimeClass*, BoundClass> classes;
    return classes;
}

const BoundClass* Nearest(const CRuntimeClass* cls)
{
    for (; cls; cls = cls->m_pBaseClass) {
        const auto at = BoundClasses().find(cls);
        if (at != BoundClasses().end())
            return &at->second;
    }
    return nullptr;
}

} // namespace

void RegisterClass(CRuntimeClass* cls, py::object (*make)(std::shared_ptr<Entry>), py::handle type)
{
    BoundClasses()[cls] = BoundClass{make, type.ptr()};
}

py::object Wrap(DocState& state, CXMLBase* object)
{
    if (!object)
        return py::none();
    const BoundClass* bound = Nearest(object->GetRuntimeClass());
    if (!bound)
        throw py::type_error(std::string("no Python class stands for ") + object->GetRuntimeClass()->m_lpszClassName);
    return bound->make(state.EntryOf(object));
}

CRuntimeClass* RuntimeClassOf(py::handle type)
{
    for (const auto& [cls, bound] : BoundClasses())
        if (bound.type == type.ptr())
            return const_cast<CRuntimeClass*>(cls);
    throw py::type_error("not a class of kvnodedefine: " + py::repr(type).cast<std::string>());
}

py::object PythonClassOf(const CRuntimeClass* cls)
{
    const auto at = BoundClasses().find(cls);
    return at == BoundClasses().end() ? py::none() : py::reinterpret_borrow<py::object>(at->second.type);
}

} // namespace kvpy
