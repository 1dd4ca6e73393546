#include "commands/Commands.h"
#include "rules/Controls.h"
#include "model/Input.h"
#include "model/Model.h"
#include "output/Report.h"
#include "rules/Suppressions.h"

#include <algorithm>
#include <cstdlib>

namespace kvnode {

namespace {

// Drops the findings the controls leave out or a comment silences, and
// reports the comments that silenced nothing.
class Filter {
public:
    Filter(const Controls& controls, std::vector<Suppression> suppressions)
        : m_controls(controls), m_suppressions(std::move(suppressions)), m_used(m_suppressions.size())
    {
    }

    // a comment that would silence a rule the run leaves out still counts as used
    bool Keeps(const Finding& f)
    {
        if (f.rule == RuleId::XmlError)
            return true;
        bool silenced = false;
        for (size_t i = 0; i < m_suppressions.size(); ++i) {
            const Suppression& s = m_suppressions[i];
            const bool here = s.wholeFile || (s.targetLine == f.line && s.targetColumn == f.column);
            if (!here || !s.problem.empty())
                continue;
            for (const RuleId rule : RulesOf(s))
                if (rule == f.rule) {
                    m_used[i].insert(rule);
                    silenced = true;
                }
        }
        return m_controls.Checks(f.rule) && !silenced;
    }

    std::vector<Finding> Unused(const std::string& file) const
    {
        std::vector<Finding> unused;
        for (size_t i = 0; i < m_suppressions.size(); ++i) {
            const Suppression& s = m_suppressions[i];
            const auto add = [&](const std::string& message) {
                unused.push_back(Finding{file, s.line, s.column, RuleId::UnusedSuppression, message});
            };
            const char* what = s.wholeFile ? "kvnode: ignore-file" : "kvnode: ignore";
            if (!s.wholeFile && s.problem.empty() && s.targetLine == 0) {
                add(std::string(what) + " has no element after it to silence");
            } else if (!s.problem.empty()) {
                add(s.problem);
            } else if (s.rules.empty()) {
                if (m_used[i].empty())
                    add(std::string(what) + " silenced nothing" +
                        (s.wholeFile ? "" : " on the element that follows"));
            } else {
                for (const RuleId rule : s.rules)
                    if (m_controls.Checks(rule) && !m_used[i].count(rule))
                        add(std::string(what) + " " + RuleOf(rule).id + " silenced nothing" +
                            (s.wholeFile ? "" : " on the element that follows"));
            }
        }
        return unused;
    }

private:
    std::vector<RuleId> RulesOf(const Suppression& s) const
    {
        if (!s.rules.empty())
            return s.rules;
        std::vector<RuleId> all;
        for (const Rule& r : Rules())
            all.push_back(r.rule);
        return all;
    }

    const Controls& m_controls;
    std::vector<Suppression> m_suppressions;
    std::vector<std::set<RuleId>> m_used;
};

// one file's findings into the report; false when it cannot be read or parsed
bool CheckFile(const std::string& file, const Controls& controls, Report& report)
{
    const size_t index = report.files.size();
    report.files.push_back(CheckedFile{DisplayName(file), SourceText()});
    const std::string& name = report.files.back().name;
    CXMLDocument doc;
    doc.SetRecordPositions(true);
    std::string bytes;
    XmlDiagnostic error;
    std::vector<Finding> findings;
    const bool loaded = LoadDocument(file, doc, bytes, error);
    report.files.back().source = SourceText(bytes);
    if (loaded)
        findings = LintDocument(doc, name);
    else
        findings.push_back(Finding{name, error.line, error.column, RuleId::XmlError, DiagnosticText(error)});
    Filter filter(controls, loaded ? FindSuppressions(report.files.back().source.Text()) : std::vector<Suppression>());
    std::vector<Finding> kept;
    for (Finding& f : findings)
        if (filter.Keeps(f))
            kept.push_back(std::move(f));
    for (Finding& f : filter.Unused(name))
        if (controls.Checks(f.rule))
            kept.push_back(std::move(f));
    std::stable_sort(kept.begin(), kept.end(), [](const Finding& a, const Finding& b) {
        return std::make_pair(a.line, a.column) < std::make_pair(b.line, b.column);
    });
    for (Finding& f : kept) {
        const Severity severity = controls.SeverityOf(f.rule);
        report.diagnostics.push_back(Diagnostic{std::move(f), severity, index});
    }
    return loaded;
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
        err << "kvnode check: unknown format \"" << options.format << "\"\n";
        return kExitFailure;
    }
    Report report;
    bool unreadable = false;
    for (const std::string& file : options.files)
        unreadable = !CheckFile(file, controls, report) || unreadable;
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
