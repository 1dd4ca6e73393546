// Findings as JSON: an object that says which tool and format wrote it, and
// the bare array of findings that --json has always printed.
#include "output/Report.h"

namespace kvnode {

namespace {

// the object's layout; raised when a field changes meaning or goes away
constexpr int kJsonFormatVersion = 1;

void WriteFindings(const Report& report, const char* indent, std::ostream& out)
{
    out << '[';
    for (size_t i = 0; i < report.diagnostics.size(); ++i) {
        const Diagnostic& d = report.diagnostics[i];
        const Finding& f = d.finding;
        out << (i ? ",\n" : "\n") << indent << "  {\"file\": " << JsonString(f.file) << ", \"line\": " << f.line
            << ", \"column\": " << f.column << ", \"severity\": \"" << SeverityName(d.severity)
            << "\", \"rule\": \"" << f.rule << "\", \"message\": " << JsonString(f.message) << '}';
    }
    out << (report.diagnostics.empty() ? "]" : std::string("\n") + indent + "]");
}

} // namespace

void WriteJsonArray(const Report& report, const OutputStyle&, std::ostream& out)
{
    WriteFindings(report, "", out);
    out << '\n';
}

void WriteJson(const Report& report, const OutputStyle&, std::ostream& out)
{
    out << "{\n  \"tool\": {\"name\": \"kvnode\", \"version\": \"" << KVNODE_VERSION << "\"},\n"
        << "  \"formatVersion\": " << kJsonFormatVersion << ",\n  \"findings\": ";
    WriteFindings(report, "  ", out);
    out << ",\n  \"summary\": {\"files\": " << report.files.size() << ", \"errors\": " << report.Count(Severity::Error)
        << ", \"warnings\": " << report.Count(Severity::Warning) << "}\n}\n";
}

} // namespace kvnode
