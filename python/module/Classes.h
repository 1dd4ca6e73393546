#pragma once
#include <pybind11/pybind11.h>

namespace kvpy {

// Binds the descriptor classes, the document root and the value list, and
// the enumerations' tables (MATERIALS, BOLT_GRADES, BOLT_TYPES, each
// construction's TYPES).
void BindClasses(pybind11::module_& module);

} // namespace kvpy
