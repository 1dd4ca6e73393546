#include "commands/Commands.h"
#include "rules/Controls.h"
#include "model/Input.h"
#include "model/Model.h"
#include "output/Report.h"

#include <cstdlib>

namespace kvnode {

namespace {

// One file's findings, each with the source it points at; loaded false
// when the file cannot be read or parsed. The file is read once, and its
// text goes when its findings have their excerpts.
std::vector<Diagnostic> CheckFile(const std::string& file, const Controls& controls, bool& loaded)
{
    const std::string name = DisplayName(file);
    std::string bytes;
    XmlDiagnostic error;
    LintResult result;
    if (ReadInput(file, bytes, error))
        result = Lint(name, bytes, controls);
    else
        result.findings.push_back(Finding{name, 0, 0, kXmlError, DiagnosticText(error)});
    loaded = result.loaded;
    const SourceText source(bytes);
    std::vector<Diagnostic> diagnostics;
    diagnostics.reserve(result.findings.size());
    for (Finding& f : result.findings) {
        Excerpt excerpt = MakeExcerpt(source, f.line, f.column, f.endLine, f.endColumn);
        const Severity severity = controls.SeverityOf(f.rule);
        diagnostics.push_back(Diagnostic{std::move(f), severity, std::move(excerpt)});
    }
    return diagnostics;
}

} // namespace

int RunCheck(const Options& options, std::ostream& out, std::ostream& err)
{
    Controls controls;
    std::string problem;
    if (!controls.Parse(options, problem)) {
        err << "kvnode check: " << problem << '\n';
        return kExitFailure;
    }
    if (options.json && !options.format.empty()) {
        err << "kvnode check: --json is --format=json's older array; give one of them\n";
        return kExitFailure;
    }
    const OutputFormat* format = FindOutputFormat(options.format.empty() ? "text" : options.format);
    if (!format) {
        err << "kvnode check: unknown format \"" << Printable(options.format) << "\"\n";
        return kExitFailure;
    }
    OutputStyle style;
    style.color = UseColor(options.color, options.terminal, std::getenv("NO_COLOR"), std::getenv("TERM"));
    style.summary = !options.quiet;
    const std::unique_ptr<ReportWriter> report = (options.json ? JsonArrayWriter : format->make)(out, style);
    // each file is reported when it is checked: nothing of it is kept for the next
    Summary summary;
    bool unreadable = false;
    for (const std::string& file : options.files) {
        bool loaded = false;
        for (const Diagnostic& d : CheckFile(file, controls, loaded)) {
            const bool error = d.severity == Severity::Error;
            if (options.quiet && !error)
                continue;
            ++(error ? summary.errors : summary.warnings);
            report->Add(d);
        }
        ++summary.files;
        unreadable = unreadable || !loaded;
    }
    report->End(summary);
    out.flush();
    if (!out) {
        err << "kvnode check: cannot write the findings\n";
        return kExitFailure;
    }
    return unreadable ? kExitFailure : summary.errors > 0 ? kExitFindings : kExitClean;
}

} // namespace kvnode
