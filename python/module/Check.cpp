#include "Check.h"

#include "Documents.h"

#include <model/Input.h>
#include <rules/Controls.h>
#include <rules/Lint.h>

#include <pybind11/stl.h>

namespace py = pybind11;

namespace kvpy {

namespace {

// A finding with the severity the controls gave its rule; placed false for
// a document built in code, whose text no one has seen.
struct PyFinding {
    kvnode::Finding finding;
    kvnode::Severity severity;
    bool placed;
};

py::object Place(const PyFinding& f, int value)
{
    return f.placed && value > 0 ? py::object(py::int_(value)) : py::object(py::none());
}

py::object TextOrNone(const std::string& text) { return text.empty() ? py::object(py::none()) : py::str(text); }

// the rule ids of select= or ignore=: one str of ids separated by commas, or any iterable of them
std::vector<std::string> RuleIds(py::handle given)
{
    if (given.is_none())
        return {};
    if (PyUnicode_Check(given.ptr()))
        return {given.cast<std::string>()};
    std::vector<std::string> ids;
    for (py::handle id : py::iter(given))
        ids.push_back(py::str(id));
    return ids;
}

py::list Check(py::handle target, py::handle select, py::handle ignore)
{
    kvnode::Options options;
    options.select = RuleIds(select);
    options.ignore = RuleIds(ignore);
    kvnode::Controls controls;
    std::string problem;
    if (!controls.Parse(options, problem))
        throw py::value_error(problem);

    std::string name, bytes;
    bool placed = true;
    if (IsDocument(target)) {
        std::shared_ptr<DocState> state = StateOf(target);
        CXMLDocument& document = state->Document();
        name = state->FileName().empty() ? "<document>" : state->FileName();
        if (state->HasSource()) {
            bytes = state->SourceBytes();
        } else {
            // the tree as it is now, as a save writes it; its places are in no text anyone has seen
            placed = false;
            const DocState::Saving saving(*state);
            py::gil_scoped_release unlocked;
            document.SaveXml(bytes);
        }
    } else {
        name = FileSystemPath(target);
        XmlDiagnostic error;
        bool read;
        {
            py::gil_scoped_release unlocked;
            read = kvnode::ReadInput(name, bytes, error);
        }
        if (!read)
            RaiseLoadError(error);
    }
    kvnode::LintResult result;
    {
        py::gil_scoped_release unlocked;
        result = kvnode::Lint(name, bytes, controls);
    }
    py::list findings;
    for (kvnode::Finding& f : result.findings) {
        const kvnode::Severity severity = controls.SeverityOf(f.rule);
        findings.append(py::cast(PyFinding{std::move(f), severity, placed}));
    }
    return findings;
}

} // namespace

void BindCheck(py::module_& m)
{
    py::class_<PyFinding>(m, "Finding", R"(What a rule of kvnode check found in a document.

rule and severity as kvnode check names them; message in English; file,
line and column (from 1; columns count characters) of the value or element
it is about, and its end; path of the element; attribute, when it is about
one. The places are None for a document built or changed in code.)")
        .def_property_readonly("rule", [](const PyFinding& f) { return std::string(f.finding.rule); },
                               "str: the rule's id, as --select and suppressions name it")
        .def_property_readonly("severity",
                               [](const PyFinding& f) { return f.severity == kvnode::Severity::Error ? "error" : "warning"; },
                               "str: \"error\" or \"warning\"")
        .def_property_readonly("message", [](const PyFinding& f) { return f.finding.message; }, "str: what it found")
        .def_property_readonly("file", [](const PyFinding& f) { return f.finding.file; }, "str: the file")
        .def_property_readonly("line", [](const PyFinding& f) { return Place(f, f.finding.line); }, "int | None: from 1")
        .def_property_readonly("column", [](const PyFinding& f) { return Place(f, f.finding.column); },
                               "int | None: from 1, in characters")
        .def_property_readonly("end_line", [](const PyFinding& f) { return Place(f, f.finding.endLine); },
                               "int | None: where what it is about ends")
        .def_property_readonly("end_column", [](const PyFinding& f) { return Place(f, f.finding.endColumn); },
                               "int | None: just past what it is about")
        .def_property_readonly("path", [](const PyFinding& f) { return TextOrNone(f.finding.elementPath); },
                               "str | None: the element's path, as in CNodeAttDef/CNodeTypeDesc[2]/CPlateDesc[1]")
        .def_property_readonly("attribute", [](const PyFinding& f) { return TextOrNone(f.finding.attribute); },
                               "str | None: the attribute it is about, as written")
        .def("__str__",
             [](const PyFinding& f) {
                 kvnode::Finding shown = f.finding;
                 if (!f.placed)
                     shown.line = shown.column = 0;
                 return kvnode::FormatText(shown);
             })
        .def("__repr__", [](const PyFinding& f) {
            return "<Finding " + std::string(f.finding.rule) + " " + py::repr(py::str(f.finding.message)).cast<std::string>() + ">";
        });

    m.def("check", &Check, py::arg("target"), py::arg("select") = py::none(), py::arg("ignore") = py::none(),
          R"(check(target: Document | str | bytes | os.PathLike[str], select: str | Iterable[str] | None = None, ignore: str | Iterable[str] | None = None) -> list[Finding]

The findings of kvnode check's rules, in file order: for a file, or for a
document (for one loaded and not changed since, at their places in the text
it was read from; for one built or changed in code, without places). select
and ignore take rule ids (a str of ids separated by commas, or a list), as
kvnode check --select and --ignore do. A file that cannot be read raises
LoadError; a document whose text does not load gives its xml-error finding.)");
}

} // namespace kvpy
