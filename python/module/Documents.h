#pragma once
// Documents as Python has them: load, loads, save, dumps, the encodings, the
// warnings, and the module's own exceptions with the place of the fault.
#include "DocState.h"

#include <pybind11/pybind11.h>

#include <memory>

namespace kvpy {

// Binds Document, Diagnostic, Error, LoadError, SaveError, load and loads.
void BindDocuments(pybind11::module_& module);
// The Python Document for a document's state.
pybind11::object DocumentObject(std::shared_ptr<DocState> state);
// The state of a Document; TypeError for anything else.
std::shared_ptr<DocState> StateOf(pybind11::handle document);
bool IsDocument(pybind11::handle object);
// A path given as str, bytes or os.PathLike, as the file system takes it.
std::string FileSystemPath(pybind11::handle path);
// Raises LoadError for what a load said.
[[noreturn]] void RaiseLoadError(const XmlDiagnostic& error);

} // namespace kvpy
