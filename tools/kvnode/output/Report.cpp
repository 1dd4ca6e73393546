#include "output/Report.h"

#include <cstdio>

namespace kvnode {

const std::vector<OutputFormat>& OutputFormats()
{
    static const std::vector<OutputFormat> formats = {
        {"text", "one finding a line with its source line, for people and editors", TextWriter},
        {"json", "one JSON object: the tool, the findings and a summary", JsonWriter},
        {"sarif", "SARIF 2.1.0, for code-scanning services", SarifWriter},
        {"github", "GitHub Actions workflow commands that annotate the files", GithubWriter},
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

namespace {

std::string Count(size_t n, const char* what) { return std::to_string(n) + " " + what + (n == 1 ? "" : "s"); }

} // namespace

std::string SummaryLine(const Summary& summary)
{
    const size_t errors = summary.errors, warnings = summary.warnings;
    if (!errors && !warnings)
        return std::string();
    std::string line = errors ? Count(errors, "error") : std::string();
    if (warnings)
        line += (errors ? " and " : "") + Count(warnings, "warning");
    return line + " in " + Count(summary.files, "file");
}

const char* SeverityName(Severity s) { return s == Severity::Error ? "error" : "warning"; }

} // namespace kvnode
