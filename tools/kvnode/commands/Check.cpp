#include "commands/Baseline.h"
#include "commands/Commands.h"
#include "commands/Diff.h"
#include "commands/Fixer.h"
#include "commands/SuppressionWriter.h"
#include "config/Settings.h"
#include "model/Input.h"
#include "model/Model.h"
#include "output/Report.h"
#include "output/Statistics.h"
#include "rules/Controls.h"

#include <cstdlib>
#include <memory>

namespace kvnode {

namespace {

std::string Count(size_t n, const char* what) { return std::to_string(n) + " " + what + (n == 1 ? "" : "s"); }

// One run of check over its files: each file is read once, linted, mended
// (--fix, --add-suppressions) and written back, then its findings are
// reported less those its baseline holds.
class CheckRun {
public:
    CheckRun(const Options& options, std::ostream& out, std::ostream& err) : m_options(options), m_out(out), m_err(err)
    {
    }

    bool Prepare(std::string& problem)
    {
        if (!m_options.baseline.empty()) {
            m_baseline = std::make_unique<Baseline>(m_options.baseline);
            if (!m_baseline->Read(false, problem))
                return false;
        }
        if (!m_options.writeBaseline.empty()) {
            m_newBaseline = std::make_unique<Baseline>(m_options.writeBaseline);
            return m_newBaseline->Read(true, problem);
        }
        return true;
    }

    // one file's findings into the report
    void File(const std::string& file, const Controls& controls)
    {
        const size_t index = m_report.files.size();
        m_report.files.push_back(CheckedFile{DisplayName(file), SourceText()});
        const std::string& name = m_report.files.back().name;
        std::string bytes;
        XmlDiagnostic error;
        if (!ReadInput(file, bytes, error)) {
            m_unreadable = true;
            Add(Finding{name, 0, 0, kXmlError, DiagnosticText(error)}, controls, index);
            return;
        }
        const auto reported = [&](const Finding& f) { return !m_baseline || !m_baseline->Holds(file, f); };
        FixOutcome now;
        if (m_options.fix) {
            now = ApplyFixes(name, bytes, controls, m_options.unsafeFixes, reported);
            m_fixed += now.fixed;
        } else {
            now.bytes = bytes;
            now.result = Lint(name, bytes, controls);
        }
        if (m_options.addSuppressions && now.result.loaded) {
            std::vector<Finding> wanted;
            for (const Finding& f : now.result.findings)
                if (reported(f))
                    wanted.push_back(f);
            size_t added = 0;
            const std::string suppressed = AddSuppressions(now.bytes, wanted, added);
            if (added) {
                now.bytes = suppressed;
                now.result = Lint(name, now.bytes, controls);
                m_suppressions += added;
            }
        }
        m_unreadable = m_unreadable || !now.result.loaded;
        if (now.bytes != bytes && !Rewrite(file, bytes, now.bytes))
            return;
        m_report.files.back().source = SourceText(now.bytes);
        if (m_newBaseline)
            m_checked.emplace_back(file, now.result.findings);
        for (Finding& f : now.result.findings)
            if (!(m_baseline && m_baseline->Take(file, f)) && !(m_newBaseline && Baselined(f)))
                Add(std::move(f), controls, index);
        if (m_baseline && !m_newBaseline && controls.Checks(kStaleBaseline))
            for (Finding& f : m_baseline->Gone(file, name))
                Add(std::move(f), controls, index);
    }

    int Finish(const OutputFormat& format)
    {
        if (m_newBaseline) {
            std::string problem;
            size_t written = 0;
            if (!m_newBaseline->Write(m_checked, written, problem)) {
                m_err << problem << '\n';
                return kExitFailure;
            }
            m_err << "kvnode: wrote " << Count(written, "finding") << " to " << m_options.writeBaseline << '\n';
        }
        if (m_fixed)
            m_err << "kvnode: " << (m_options.diff ? "would fix " : "fixed ") << Count(m_fixed, "finding") << '\n';
        if (m_suppressions)
            m_err << "kvnode: " << (m_options.diff ? "would add " : "added ") << Count(m_suppressions, "suppression comment")
                  << '\n';
        if (m_options.diff) {
            m_out << m_diffs;
            m_out.flush();
            return m_unreadable ? kExitFailure : m_diffs.empty() ? kExitClean : kExitFindings;
        }
        // with the document on standard output, the findings go beside it
        std::ostream& out = m_stdout.empty() ? m_out : m_err;
        m_out << m_stdout;
        const bool failed = m_report.Count(Severity::Error) > 0;
        if (m_options.quiet) {
            std::vector<Diagnostic> errors;
            for (Diagnostic& d : m_report.diagnostics)
                if (d.severity == Severity::Error)
                    errors.push_back(std::move(d));
            m_report.diagnostics.swap(errors);
        }
        if (m_options.statistics) {
            const std::vector<RuleCount> counts = CountByRule(m_report, m_options.unsafeFixes);
            (std::string(format.name) == "json" ? WriteStatisticsJson : WriteStatisticsText)(m_report, counts, out);
        } else {
            OutputStyle style;
            style.color = UseColor(m_options.color, m_options.terminal && m_stdout.empty(), std::getenv("NO_COLOR"),
                                   std::getenv("TERM"));
            style.summary = !m_options.quiet;
            (m_options.json ? WriteJsonArray : format.write)(m_report, style, out);
            if (std::string(format.name) == "text" && !m_options.json && !m_options.quiet)
                out << FixableHint();
        }
        m_out.flush();
        if (!m_out) {
            m_err << "kvnode check: cannot write the findings\n";
            return kExitFailure;
        }
        return m_unreadable ? kExitFailure : failed ? kExitFindings : kExitClean;
    }

private:
    void Add(Finding f, const Controls& controls, size_t index)
    {
        const Severity severity = controls.SeverityOf(f.rule);
        m_report.diagnostics.push_back(Diagnostic{std::move(f), severity, index});
    }

    // the file's new bytes where they go: its diff, standard output or the file; false when it cannot be written
    bool Rewrite(const std::string& file, const std::string& before, const std::string& after)
    {
        if (m_options.diff) {
            m_diffs += UnifiedDiff(before, after, DisplayName(file));
        } else if (IsStdin(file)) {
            m_stdout = after;
        } else {
            CXMLDocument writer;
            if (!writer.WriteFile(file.c_str(), after)) {
                m_unreadable = true;
                Add(Finding{file, 0, 0, kXmlError, writer.GetErrorText()}, Controls(), m_report.files.size() - 1);
                return false;
            }
        }
        return true;
    }

    // what --fix (or --unsafe-fixes) would mend of the findings shown
    std::string FixableHint() const
    {
        size_t safe = 0, unsafe = 0;
        for (const Diagnostic& d : m_report.diagnostics)
            if (d.finding.fix)
                ++(d.finding.fix->safe || m_options.unsafeFixes ? safe : unsafe);
        if (m_options.fix) // it mended all it could: the guesses are left
            safe = 0;
        std::string hint;
        if (safe)
            hint = std::to_string(safe) + " of these can be fixed with --fix" +
                   (m_options.unsafeFixes ? " --unsafe-fixes" : "");
        if (unsafe)
            hint += safe ? " (" + std::to_string(unsafe) + " more with --fix --unsafe-fixes)"
                         : std::to_string(unsafe) + " of these can be fixed with --fix --unsafe-fixes";
        return hint.empty() ? hint : hint + "\n";
    }

    const Options& m_options;
    std::ostream& m_out;
    std::ostream& m_err;
    Report m_report;
    std::unique_ptr<Baseline> m_baseline, m_newBaseline;
    std::vector<std::pair<std::string, std::vector<Finding>>> m_checked; // for the new baseline
    bool m_unreadable = false;
    size_t m_fixed = 0, m_suppressions = 0;
    std::string m_diffs;  // --diff: what would change
    std::string m_stdout; // a document read from standard input and mended
};

// options that contradict one another; empty when they do not
std::string Conflict(const Options& o, const std::string& format)
{
    if (o.json && !o.format.empty())
        return "--json is --format=json's older array; give one of them";
    if (o.diff && !o.fix && !o.addSuppressions)
        return "--diff shows what --fix or --add-suppressions would change; give one of them";
    if (o.statistics && (o.json || (format != "text" && format != "json" && !format.empty())))
        return "--statistics prints text or --format=json";
    return std::string();
}

} // namespace

int RunCheck(const Options& options, std::ostream& out, std::ostream& err)
{
    const auto usage = [&](const std::string& problem) {
        err << "kvnode check: " << problem << '\n';
        return kExitFailure;
    };
    std::string problem = Conflict(options, options.format);
    if (!problem.empty())
        return usage(problem);
    RunSettings settings;
    if (!Settle(options, settings, problem)) {
        err << problem << '\n'; // a kvnode.toml's place, as a compiler names a source's
        return kExitFailure;
    }
    problem = Conflict(options, settings.format);
    if (!problem.empty())
        return usage(problem);
    std::vector<Controls> controls(settings.files.size());
    for (size_t i = 0; i < settings.files.size(); ++i)
        if (!controls[i].Parse(settings.files[i].options, problem))
            return usage(problem);
    const OutputFormat* format = FindOutputFormat(settings.format.empty() ? "text" : settings.format);
    if (!format)
        return usage("unknown format \"" + settings.format + "\"");
    CheckRun run(options, out, err);
    if (!run.Prepare(problem)) {
        err << problem << '\n';
        return kExitFailure;
    }
    for (size_t i = 0; i < settings.files.size(); ++i)
        run.File(settings.files[i].file, controls[i]);
    return run.Finish(*format);
}

} // namespace kvnode
