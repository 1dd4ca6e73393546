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

namespace kvnode {

namespace {

std::string Count(size_t n, const char* what) { return std::to_string(n) + " " + what + (n == 1 ? "" : "s"); }

// One run of check over its files. Each file is read once, linted, mended
// (--fix, --add-suppressions) and written back, and its findings, less those
// its baseline holds, are reported as it is checked: nothing of one file is
// kept for the next but what a new baseline must hold.
class CheckRun {
public:
    CheckRun(const Options& options, std::ostream& out, std::ostream& err) : m_options(options), m_out(out), m_err(err)
    {
        // a document mended from standard input goes to standard output, the findings beside it
        for (const std::string& file : options.files)
            m_documentOut = m_documentOut || (IsStdin(file) && Rewrites());
    }

    bool Start(const OutputFormat& format, std::string& problem)
    {
        if (!m_options.baseline.empty()) {
            m_baseline = std::make_unique<Baseline>(m_options.baseline);
            if (!m_baseline->Read(false, problem))
                return false;
        }
        if (!m_options.writeBaseline.empty()) {
            m_newBaseline = std::make_unique<Baseline>(m_options.writeBaseline);
            if (!m_newBaseline->Read(true, problem))
                return false;
        }
        m_text = std::string(format.name) == "text" && !m_options.json;
        if (m_options.diff || m_options.statistics)
            return true;
        OutputStyle style;
        style.color = UseColor(m_options.color, m_options.terminal && !m_documentOut, std::getenv("NO_COLOR"),
                               std::getenv("TERM"));
        style.summary = !m_options.quiet;
        m_writer = (m_options.json ? JsonArrayWriter : format.make)(FindingsOut(), style);
        return true;
    }

    void File(const std::string& file, const Controls& controls)
    {
        const std::string name = DisplayName(file);
        ++m_summary.files;
        std::string bytes;
        XmlDiagnostic error;
        if (!ReadInput(file, bytes, error)) {
            m_unreadable = true;
            Report(Finding{name, 0, 0, kXmlError, DiagnosticText(error)}, controls, SourceText());
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
        if (m_options.addSuppressions && now.result.loaded)
            Suppress(name, controls, reported, now);
        m_unreadable = m_unreadable || !now.result.loaded;
        if (now.bytes != bytes && !Rewrite(file, bytes, now.bytes))
            return;
        const SourceText source(now.bytes);
        if (m_newBaseline)
            m_checked.emplace_back(file, now.result.findings);
        for (Finding& f : now.result.findings)
            if (!(m_baseline && m_baseline->Take(file, f)) && !(m_newBaseline && Baselined(f)))
                Report(std::move(f), controls, source);
        if (m_baseline && !m_newBaseline && controls.Checks(kStaleBaseline))
            for (Finding& f : m_baseline->Gone(file, name))
                Report(std::move(f), controls, source);
    }

    int Finish(const OutputFormat& format)
    {
        if (m_options.statistics) {
            const std::vector<RuleCount> counts = m_statistics.Counts();
            (std::string(format.name) == "json" ? WriteStatisticsJson : WriteStatisticsText)(m_summary, counts,
                                                                                              FindingsOut());
        } else if (m_writer) {
            m_writer->End(m_summary);
            if (m_text && !m_options.quiet)
                FindingsOut() << FixableHint();
        }
        FindingsOut().flush();
        if (!m_out) {
            m_err << "kvnode check: cannot write the findings\n";
            return kExitFailure;
        }
        // what the run wrote besides the findings, after them (they may be JSON on the same stream)
        if (m_newBaseline) {
            std::string problem;
            size_t written = 0;
            if (!m_newBaseline->Write(m_checked, written, problem)) {
                m_err << Printable(problem) << '\n';
                return kExitFailure;
            }
            m_err << "kvnode: wrote " << Count(written, "finding") << " to " << Printable(m_options.writeBaseline)
                  << '\n';
        }
        const char* would = m_options.diff ? "would " : "";
        if (m_fixed)
            m_err << "kvnode: " << would << (m_options.diff ? "fix " : "fixed ") << Count(m_fixed, "finding") << '\n';
        if (m_suppressions)
            m_err << "kvnode: " << would << (m_options.diff ? "add " : "added ")
                  << Count(m_suppressions, "suppression comment") << '\n';
        if (m_options.diff)
            return m_unreadable ? kExitFailure : m_changed ? kExitFindings : kExitClean;
        return m_unreadable ? kExitFailure : m_summary.errors > 0 ? kExitFindings : kExitClean;
    }

private:
    bool Rewrites() const { return (m_options.fix || m_options.addSuppressions) && !m_options.diff; }
    std::ostream& FindingsOut() { return m_documentOut ? m_err : m_out; }

    void Report(Finding f, const Controls& controls, const SourceText& source)
    {
        const Severity severity = controls.SeverityOf(f.rule);
        const bool error = severity == Severity::Error;
        if (m_options.quiet && !error)
            return;
        ++(error ? m_summary.errors : m_summary.warnings);
        if (f.fix)
            ++(f.fix->safe || m_options.unsafeFixes ? m_fixable : m_unsafeFixable);
        if (m_options.statistics) {
            m_statistics.Add(f, m_options.unsafeFixes);
        } else if (m_writer) {
            Excerpt excerpt = MakeExcerpt(source, f.line, f.column, f.endLine, f.endColumn);
            m_writer->Add(Diagnostic{std::move(f), severity, std::move(excerpt)});
        }
    }

    // a kvnode: ignore comment for each element with findings that are reported
    void Suppress(const std::string& name, const Controls& controls,
                  const std::function<bool(const Finding&)>& reported, FixOutcome& now)
    {
        std::vector<Finding> wanted;
        for (const Finding& f : now.result.findings)
            if (reported(f))
                wanted.push_back(f);
        size_t added = 0;
        const std::string suppressed = AddSuppressions(now.bytes, wanted, added);
        if (added == 0)
            return;
        now.bytes = suppressed;
        now.result = Lint(name, now.bytes, controls);
        m_suppressions += added;
    }

    // the file's new bytes where they go: its diff, standard output or the file; false when it cannot be written
    bool Rewrite(const std::string& file, const std::string& before, const std::string& after)
    {
        m_changed = true;
        if (m_options.diff) {
            m_out << UnifiedDiff(before, after, Printable(DisplayName(file)));
        } else if (IsStdin(file)) {
            m_out << after;
        } else {
            CXMLDocument writer;
            if (!writer.WriteFile(file.c_str(), after)) {
                m_unreadable = true;
                Report(Finding{file, 0, 0, kXmlError, DiagnosticText(writer.GetError())}, Controls(), SourceText());
                return false;
            }
        }
        return true;
    }

    // what --fix (or --unsafe-fixes) would mend of the findings shown
    std::string FixableHint() const
    {
        const size_t safe = m_options.fix ? 0 : m_fixable; // --fix mended all it could: the guesses are left
        std::string hint;
        if (safe)
            hint = std::to_string(safe) + " of these can be fixed with --fix" +
                   (m_options.unsafeFixes ? " --unsafe-fixes" : "");
        if (m_unsafeFixable)
            hint += safe ? " (" + std::to_string(m_unsafeFixable) + " more with --fix --unsafe-fixes)"
                         : std::to_string(m_unsafeFixable) + " of these can be fixed with --fix --unsafe-fixes";
        return hint.empty() ? hint : hint + "\n";
    }

    const Options& m_options;
    std::ostream& m_out;
    std::ostream& m_err;
    bool m_documentOut = false; // standard output carries a mended document
    bool m_text = false;        // the findings are text for people
    std::unique_ptr<ReportWriter> m_writer;
    Summary m_summary;
    Statistics m_statistics;
    std::unique_ptr<Baseline> m_baseline, m_newBaseline;
    std::vector<std::pair<std::string, std::vector<Finding>>> m_checked; // for the new baseline
    bool m_unreadable = false, m_changed = false;
    size_t m_fixed = 0, m_suppressions = 0;
    size_t m_fixable = 0, m_unsafeFixable = 0; // of the findings reported
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
        err << Printable(problem) << '\n'; // a kvnode.toml's place, as a compiler names a source's
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
        return usage("unknown format \"" + Printable(settings.format) + "\"");
    CheckRun run(options, out, err);
    if (!run.Start(*format, problem)) {
        err << Printable(problem) << '\n';
        return kExitFailure;
    }
    for (size_t i = 0; i < settings.files.size(); ++i)
        run.File(settings.files[i].file, controls[i]);
    return run.Finish(*format);
}

} // namespace kvnode
