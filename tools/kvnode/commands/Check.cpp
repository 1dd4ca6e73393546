#include "commands/Commands.h"
#include "config/Settings.h"
#include "rules/Controls.h"
#include "model/Input.h"
#include "model/Model.h"
#include "output/Report.h"

#include <cstdlib>

namespace kvnode {

namespace {

// one file's findings into the report; false when it cannot be read or parsed
bool CheckFile(const std::string& file, const Controls& controls, Report& report)
{
    const size_t index = report.files.size();
    report.files.push_back(CheckedFile{DisplayName(file), SourceText()});
    const std::string& name = report.files.back().name;
    std::string bytes;
    XmlDiagnostic error;
    LintResult result;
    if (ReadInput(file, bytes, error))
        result = Lint(name, bytes, controls);
    else
        result.findings.push_back(Finding{name, 0, 0, kXmlError, DiagnosticText(error)});
    report.files.back().source = SourceText(bytes);
    for (Finding& f : result.findings) {
        const Severity severity = controls.SeverityOf(f.rule);
        report.diagnostics.push_back(Diagnostic{std::move(f), severity, index});
    }
    return result.loaded;
}

} // namespace

int RunCheck(const Options& options, std::ostream& out, std::ostream& err)
{
    if (options.json && !options.format.empty()) {
        err << "kvnode check: --json is --format=json's older array; give one of them\n";
        return kExitFailure;
    }
    RunSettings settings;
    std::string problem;
    if (!Settle(options, settings, problem)) {
        err << problem << '\n';
        return kExitFailure;
    }
    std::vector<Controls> controls(settings.files.size());
    for (size_t i = 0; i < settings.files.size(); ++i)
        if (!controls[i].Parse(settings.files[i].options, problem)) {
            err << "kvnode check: " << problem << '\n';
            return kExitFailure;
        }
    const OutputFormat* format = FindOutputFormat(settings.format.empty() ? "text" : settings.format);
    if (!format) {
        err << "kvnode check: unknown format \"" << settings.format << "\"\n";
        return kExitFailure;
    }
    Report report;
    bool unreadable = false;
    for (size_t i = 0; i < settings.files.size(); ++i)
        unreadable = !CheckFile(settings.files[i].file, controls[i], report) || unreadable;
    const bool failed = report.Count(Severity::Error) > 0;
    if (options.quiet) {
        std::vector<Diagnostic> errors;
        for (Diagnostic& d : report.diagnostics)
            if (d.severity == Severity::Error)
                errors.push_back(std::move(d));
        report.diagnostics.swap(errors);
    }
    OutputStyle style;
    style.color = UseColor(options.color, options.terminal, std::getenv("NO_COLOR"), std::getenv("TERM"));
    style.summary = !options.quiet;
    (options.json ? WriteJsonArray : format->write)(report, style, out);
    out.flush();
    if (!out) {
        err << "kvnode check: cannot write the findings\n";
        return kExitFailure;
    }
    return unreadable ? kExitFailure : failed ? kExitFindings : kExitClean;
}

} // namespace kvnode
