#include "Documents.h"

#include "Ref.h"
#include "Texts.h"
#include "Tree.h"

#include <xmlobj/XmlEncoding.h>

#include <cctype>
#include <cstring>

namespace py = pybind11;

namespace kvpy {

namespace {

struct DocumentHandle {
    std::shared_ptr<DocState> state;
};

PyObject* g_error = nullptr;
PyObject* g_loadError = nullptr;
PyObject* g_saveError = nullptr;

// a file's name as the file system gave it, as os.fsdecode makes it a str
py::str FromFileName(const std::string& name)
{
    PyObject* text = PyUnicode_DecodeFSDefaultAndSize(name.data(), static_cast<Py_ssize_t>(name.size()));
    if (!text)
        throw py::error_already_set();
    return py::reinterpret_steal<py::str>(text);
}

py::object PlaceOrNone(int value) { return value > 0 ? py::object(py::int_(value)) : py::none(); }

// fills the fields every error and warning of the module has
void SetPlace(py::handle target, const XmlDiagnostic& d)
{
    target.attr("file") = d.file.empty() ? py::object(py::none()) : py::object(FromFileName(d.file));
    target.attr("line") = PlaceOrNone(d.line);
    target.attr("column") = PlaceOrNone(d.column);
    target.attr("path") = d.path.empty() ? py::object(py::none()) : py::object(FromMessage(d.path));
    target.attr("message") = FromMessage(d.message);
}

[[noreturn]] void Raise(PyObject* type, const XmlDiagnostic& d)
{
    py::object error = py::reinterpret_borrow<py::object>(type)(FromMessage(d.Format()));
    SetPlace(error, d);
    PyErr_SetObject(type, error.ptr());
    throw py::error_already_set();
}

XmlEncoding EncodingNamed(const std::string& name)
{
    XmlEncoding encoding;
    if (!XmlEncodingFromName(name.c_str(), encoding))
        throw py::value_error("encoding " + py::repr(py::str(name)).cast<std::string>() +
                              " is not one a document is written in (UTF-8, UTF-16, UTF-16BE, GBK, GB18030)");
    return encoding;
}

// A str is text, whatever its declaration says: it is read as UTF-8 with the
// declaration's encoding blanked out (so that no character moves), and the
// document then saves in the encoding the declaration named. A name the
// library does not know stays, for the load to refuse where it stands.
bool BlankDeclaredEncoding(std::string& text, XmlEncoding& declared)
{
    size_t i = text.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;
    if (text.compare(i, 5, "<?xml") != 0 || i + 5 >= text.size() || !std::isspace(static_cast<unsigned char>(text[i + 5])))
        return false;
    const size_t end = text.find("?>", i);
    const auto blank = [&](size_t k) { return k < end && std::isspace(static_cast<unsigned char>(text[k])); };
    for (i += 5; i < end;) {
        while (blank(i))
            ++i;
        const size_t name = i;
        while (i < end && text[i] != '=' && !std::isspace(static_cast<unsigned char>(text[i])))
            ++i;
        const std::string pseudo = text.substr(name, i - name);
        while (blank(i))
            ++i;
        if (i >= end || text[i] != '=')
            return false;
        ++i;
        while (blank(i))
            ++i;
        if (i >= end || (text[i] != '"' && text[i] != '\''))
            return false;
        const size_t close = text.find(text[i], i + 1);
        if (close == std::string::npos || close >= end)
            return false;
        if (pseudo == "encoding") {
            if (!XmlEncodingFromName(text.substr(i + 1, close - i - 1).c_str(), declared))
                return false;
            std::memset(&text[name], ' ', close + 1 - name);
            return true;
        }
        i = close + 1;
    }
    return false;
}

std::shared_ptr<DocState> LoadBytes(std::string bytes, const std::string& name, bool positions)
{
    auto document = std::make_unique<CXMLDocument>();
    document->SetRecordPositions(positions);
    bool loaded;
    {
        py::gil_scoped_release unlocked;
        loaded = document->LoadXml(bytes.data(), bytes.size(), name.c_str());
    }
    if (!loaded)
        Raise(g_loadError, document->GetError());
    std::shared_ptr<DocState> state = DocState::ForDocument(std::move(document));
    state->KeepSource(name, std::move(bytes));
    return state;
}

py::object Load(py::handle path, bool positions)
{
    const std::string file = FileSystemPath(path);
    auto document = std::make_unique<CXMLDocument>();
    document->SetRecordPositions(positions);
    // read once and kept, so that a check of the document as read reports places in these bytes
    std::string bytes;
    bool loaded;
    {
        py::gil_scoped_release unlocked;
        loaded = document->ReadFile(file.c_str(), bytes) && document->LoadXml(bytes.data(), bytes.size(), file.c_str());
    }
    if (!loaded)
        Raise(g_loadError, document->GetError());
    std::shared_ptr<DocState> state = DocState::ForDocument(std::move(document));
    state->KeepSource(file, std::move(bytes));
    return DocumentObject(state);
}

py::object Loads(py::handle data, const std::string& name, bool positions)
{
    if (PyBytes_Check(data.ptr()) || PyByteArray_Check(data.ptr()) || PyMemoryView_Check(data.ptr())) {
        const py::buffer_info buffer = py::reinterpret_borrow<py::buffer>(data).request();
        const auto* bytes = static_cast<const char*>(buffer.ptr);
        return DocumentObject(LoadBytes(std::string(bytes, bytes + buffer.size * buffer.itemsize), name, positions));
    }
    if (!PyUnicode_Check(data.ptr()))
        throw py::type_error(std::string("loads takes bytes or str, not ") + Py_TYPE(data.ptr())->tp_name);
    const std::string_view utf8 = Utf8Of(data);
    std::string text(utf8);
    XmlEncoding declared = XmlEncoding::Utf8;
    BlankDeclaredEncoding(text, declared);
    std::shared_ptr<DocState> state = LoadBytes(std::move(text), name, positions);
    state->Document().SetEncoding(declared);
    return DocumentObject(state);
}

// Runs a save of the document in encoding (its own when None); the tree is
// not to be touched by other threads meanwhile, and the GIL is let go.
template <class Write>
void Save(DocState& state, py::handle encoding, Write write)
{
    CXMLDocument& document = state.Document();
    const XmlEncoding own = document.GetEncoding();
    const XmlEncoding wanted = encoding.is_none() ? own : EncodingNamed(py::str(encoding));
    bool saved;
    {
        const DocState::Saving saving(state);
        py::gil_scoped_release unlocked;
        document.SetEncoding(wanted);
        saved = write(document);
        document.SetEncoding(own);
    }
    if (!saved)
        Raise(g_saveError, document.GetError());
}

py::list Diagnostics(const std::vector<XmlDiagnostic>& list)
{
    py::list out;
    for (const XmlDiagnostic& d : list)
        out.append(py::cast(d));
    return out;
}

} // namespace

std::string FileSystemPath(py::handle path)
{
    const py::object encoded = py::module_::import("os").attr("fsencode")(path);
    return encoded.cast<std::string>();
}

void RaiseLoadError(const XmlDiagnostic& error) { Raise(g_loadError, error); }

py::object DocumentObject(std::shared_ptr<DocState> state) { return py::cast(DocumentHandle{std::move(state)}); }

bool IsDocument(py::handle object) { return py::isinstance<DocumentHandle>(object); }

std::shared_ptr<DocState> StateOf(py::handle document) { return document.cast<const DocumentHandle&>().state; }

void BindDocuments(py::module_& m)
{
    g_error = PyErr_NewExceptionWithDoc("kvnodedefine.Error",
                                        "A document could not be read or written. file, line, column (None where "
                                        "there is no place), path (of the element) and message tell where and why.",
                                        PyExc_Exception, nullptr);
    g_loadError = PyErr_NewExceptionWithDoc("kvnodedefine.LoadError", "A document could not be read.", g_error, nullptr);
    g_saveError = PyErr_NewExceptionWithDoc("kvnodedefine.SaveError",
                                            "A document could not be written; the target file is as it was.",
                                            g_error, nullptr);
    m.attr("Error") = py::handle(g_error);
    m.attr("LoadError") = py::handle(g_loadError);
    m.attr("SaveError") = py::handle(g_saveError);

    py::class_<XmlDiagnostic>(m, "Diagnostic", "A warning about a document, with its place.")
        .def_property_readonly("file", [](const XmlDiagnostic& d) { return FromFileName(d.file); }, "str: the file")
        .def_property_readonly("line", [](const XmlDiagnostic& d) { return PlaceOrNone(d.line); }, "int | None: from 1")
        .def_property_readonly("column", [](const XmlDiagnostic& d) { return PlaceOrNone(d.column); },
                               "int | None: from 1, in characters")
        .def_property_readonly("path",
                               [](const XmlDiagnostic& d) { return d.path.empty() ? py::object(py::none()) : py::object(FromMessage(d.path)); },
                               "str | None: the element's path, as in CNodeAttDef/CNodeTypeDesc[2]/CPlateDesc[1]")
        .def_property_readonly("message", [](const XmlDiagnostic& d) { return FromMessage(d.message); }, "str: what it says")
        .def("__str__", [](const XmlDiagnostic& d) { return FromMessage(d.Format()); })
        .def("__repr__", [](const XmlDiagnostic& d) { return "<Diagnostic " + py::repr(FromMessage(d.Format())).cast<std::string>() + ">"; });

    py::class_<DocumentHandle>(m, "Document", R"(A node definition document: its root, encoding and warnings.

Document() is a new, empty document that saves as UTF-8; load() and loads()
read one. A document and every object of its tree stay alive while any of
them is used. close() (or leaving a with block) deletes the tree at once;
its objects then raise ReferenceError.)")
        .def(py::init([](py::handle encoding) {
                 auto document = std::make_unique<CXMLDocument>();
                 if (!encoding.is_none())
                     document->SetEncoding(EncodingNamed(py::str(encoding)));
                 return DocumentHandle{DocState::ForDocument(std::move(document))};
             }),
             py::arg("encoding") = py::none())
        .def_property(
            "root", [](const DocumentHandle& self) { return Wrap(*self.state, self.state->Document().GetRoot()); },
            [](const DocumentHandle& self, py::handle root) { SetRoot(*self.state, root); },
            "CXMLBase | None: the root (a CNodeAttDef), or None; set it to a descriptor that belongs to no tree yet")
        .def_property(
            "encoding", [](const DocumentHandle& self) { return XmlEncodingName(self.state->Document().GetEncoding()); },
            [](const DocumentHandle& self, const std::string& name) {
                self.state->Document().SetEncoding(EncodingNamed(name));
            },
            "str: what save and dumps write: the encoding the document was read in, UTF-8 for a new one")
        .def_property_readonly("warnings",
                               [](const DocumentHandle& self) { return Diagnostics(self.state->Document().GetWarnings()); },
                               "list[Diagnostic]: what the load found that did not stop it (unknown elements...)")
        .def_property_readonly("file",
                               [](const DocumentHandle& self) -> py::object {
                                   self.state->Document();
                                   const std::string& name = self.state->FileName();
                                   return name.empty() ? py::object(py::none()) : py::object(FromFileName(name));
                               },
                               "str | None: the file the document was read from (\"<memory>\" or the name given to loads); None for a new one")
        .def_property_readonly("closed", [](const DocumentHandle& self) { return self.state->IsClosed(); },
                               "bool: whether close() was called")
        .def(
            "save",
            [](const DocumentHandle& self, py::handle path, py::handle encoding) {
                const std::string file = FileSystemPath(path);
                Save(*self.state, encoding, [&](CXMLDocument& d) { return d.SaveFile(file.c_str()); });
            },
            py::arg("path"), py::arg("encoding") = py::none(), R"(save(path: str | bytes | os.PathLike[str], encoding: str | None = None) -> None

Writes the document to path, in its own encoding or the one given, whole or
not at all (a temporary file renamed over the target). SaveError says why not.)")
        .def(
            "dumps",
            [](const DocumentHandle& self, py::handle encoding) -> py::object {
                const bool unicode = !encoding.is_none() && py::str(encoding).cast<std::string>() == "unicode";
                std::string out;
                Save(*self.state, unicode ? py::str("UTF-8") : encoding, [&](CXMLDocument& d) { return d.SaveXml(out); });
                if (unicode)
                    return py::str(out);
                return py::bytes(out);
            },
            py::arg("encoding") = py::none(), R"(dumps(encoding: str | None = None) -> bytes | str

The bytes save would write, in the document's encoding or the one given;
encoding="unicode" gives the text as a str (its declaration says UTF-8).)")
        .def(
            "walk",
            [](const DocumentHandle& self, py::handle cls) -> py::object {
                CXMLBase* root = self.state->Document().GetRoot();
                if (!root)
                    return py::iter(py::list());
                return Walk(*self.state, root, cls);
            },
            py::arg("cls") = py::none(), R"(walk(cls: type[CXMLBase] | None = None) -> Iterator[CXMLBase]

Every element of the document, parents before their children, in document
order; only those of class cls (or derived from it) when given.)")
        .def("close", [](const DocumentHandle& self) { self.state->Close(); },
             "close() -> None\n\nDeletes the tree now; its objects raise ReferenceError from then on.")
        .def("__enter__", [](py::object self) { return self; })
        .def("__exit__", [](const DocumentHandle& self, py::args) { self.state->Close(); })
        .def("__eq__", [](const DocumentHandle& self, py::handle other) {
            return IsDocument(other) && StateOf(other) == self.state;
        })
        .def("__hash__", [](const DocumentHandle& self) { return std::hash<const DocState*>()(self.state.get()); })
        .def("__repr__", [](const DocumentHandle& self) {
            if (self.state->IsClosed())
                return std::string("<Document (closed)>");
            const std::string& name = self.state->FileName();
            return "<Document " + (name.empty() ? std::string() : py::repr(FromFileName(name)).cast<std::string>() + " ") +
                   XmlEncodingName(self.state->Document().GetEncoding()) + ">";
        });

    m.def("load", &Load, py::arg("path"), py::kw_only(), py::arg("positions") = false,
          R"(load(path: str | bytes | os.PathLike[str], *, positions: bool = False) -> Document

Reads the document at path in the encoding it declares. LoadError says why
it could not, and where. With positions, each element's position (line and
column) is kept, at a small cost.)");
    m.def("loads", &Loads, py::arg("data"), py::arg("name") = "<memory>", py::kw_only(), py::arg("positions") = false,
          R"(loads(data: bytes | str, name: str = "<memory>", *, positions: bool = False) -> Document

Reads a document from bytes (a file's bytes, read by their declaration) or
from a str (text, read as such whatever its declaration says, as an editor's
buffer; it saves in the encoding the declaration names). name is the file
that messages name.)");
}

} // namespace kvpy
