#pragma once
#include <pybind11/pybind11.h>

namespace kvpy {

// Binds check() and Finding: kvnode check's rules, through its one entry point.
void BindCheck(pybind11::module_& module);

} // namespace kvpy
