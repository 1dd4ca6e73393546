#pragma once
// The fields of every class, as the bindings declare them: what Python
// calls them, how to read one as bytes, and how to write one. A field
// without a setter (plates, cuts, bolt planes, the constructions, a node
// type's code) changes, as the library has it, only through its attribute
// and RefreshMemberWithAttList; which attribute that is, is found by asking
// the library (ResolveAttributes), not written down here.
#include <appframe/CString.h>
#include <xmlobj/CXMLBase.h>

#include <pybind11/pybind11.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kvpy {

struct Field {
    std::string name;      // as Python calls it
    const char* type;      // as the stubs name it
    bool hasSetter;        // the class's own setter; otherwise the attribute
    std::string attribute; // the attribute it is read from (found by ResolveAttributes), if any
    std::function<std::string(const CXMLBase&)> fingerprint;  // the field's value as bytes
    std::function<CString(pybind11::handle)> attributeText;   // a Python value as its attribute's text
    std::function<void(CXMLBase&, pybind11::handle)> set;     // through the setter
    std::function<void(const CXMLBase&, CXMLBase&)> copy;     // from one object to another, through the setter
    CString sampleText;                                       // a value it reads back unchanged
    std::string sampleFingerprint;
};

// Declares a field of cls (the bindings do, class by class).
void AddField(const CRuntimeClass* cls, Field field);
// The field called name of cls or one of its bases; null for none.
const Field* FindField(const CRuntimeClass* cls, const std::string& name);
// Finds the attribute every field is read from by loading fresh objects
// with one attribute set at a time; a field read from more than one, or a
// field without a setter read from none, is a fault of the bindings (ImportError).
void ResolveAttributes();
// Sets field of object to value, as the library allows: with its setter, or
// by writing its attribute and refreshing the fields from the attribute list
// (which is brought up to date first, so nothing set before is lost).
void SetField(CXMLBase& object, const Field& field, pybind11::handle value);
// Copies the fields that have setters from one object to another of its
// class: a copy made from the attribute list misses any that the class's
// refresh pair leaves out (the root's version).
void CopySetterFields(const CXMLBase& from, CXMLBase& to);
// A new object of cls with the fields given as keywords (name=...), made as
// the library builds one: the attribute texts read once (then the setters
// of any field read from no attribute).
std::unique_ptr<CXMLBase> BuildObject(CRuntimeClass* cls, const pybind11::kwargs& fields);

} // namespace kvpy
