#include "output/Report.h"

#include <cstdio>

namespace kvnode {

const std::vector<OutputFormat>& OutputFormats()
{
    static const std::vector<OutputFormat> formats = {
        {"text", "one finding a line with its source line, for people and editors", WriteText},
        {"json", "one JSON object: the tool, the findings and a summary", WriteJson},
        {"sarif", "SARIF 2.1.0, for code-scanning services", WriteSarif},
        {"github", "GitHub Actions workflow commands that annotate the files", WriteGithub},
    };
    return formats;
}

const OutputFormat* FindOutputFormat(const std::string& name)
{
    for (const OutputFormat& f : OutputFormats())
        if (name == f.name)
            return &f;
    return nullptr;
}

bool UseColor(const std::string& mode, bool terminal, const char* noColor, const char* term)
{
    if (mode == "always")
        return true;
    if (mode == "never")
        return false;
    // https://no-color.org: a non-empty NO_COLOR turns colour off unless asked for
    return terminal && !(noColor && *noColor) && !(term && std::string(term) == "dumb");
}

size_t Report::Count(Severity severity) const
{
    size_t n = 0;
    for (const Diagnostic& d : diagnostics)
        n += d.severity == severity;
    return n;
}

namespace {

std::string Count(size_t n, const char* what) { return std::to_string(n) + " " + what + (n == 1 ? "" : "s"); }

} // namespace

std::string SummaryLine(const Report& report)
{
    const size_t errors = report.Count(Severity::Error), warnings = report.Count(Severity::Warning);
    if (!errors && !warnings)
        return std::string();
    std::string line = errors ? Count(errors, "error") : std::string();
    if (warnings)
        line += (errors ? " and " : "") + Count(warnings, "warning");
    return line + " in " + Count(report.files.size(), "file");
}

const char* SeverityName(Severity s) { return s == Severity::Error ? "error" : "warning"; }

} // namespace kvnode
