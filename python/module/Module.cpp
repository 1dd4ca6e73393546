// The Python module kvnodedefine: the library's node definition documents
// and descriptor classes, and the checks of kvnode.
#include "Check.h"
#include "Classes.h"
#include "Documents.h"
#include "Tree.h"

#include <KvNodeDefine/KvNodeDefineVersion.h>

#include <pybind11/pybind11.h>

PYBIND11_MODULE(_kvnodedefine, m)
{
    // the docstrings begin with the signatures the stubs state
    pybind11::options options;
    options.disable_function_signatures();
    m.doc() = "Node definition documents of KvNodeDefine, their descriptors, and the checks of kvnode.";
    m.attr("__version__") = KvNodeDefineVersion();
    kvpy::BindDocuments(m);
    kvpy::BindTree(m);
    kvpy::BindClasses(m);
    kvpy::BindCheck(m);
}
