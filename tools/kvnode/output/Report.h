#pragma once
// What a check found, as the output formats print it, and the formats
// themselves: one file each, listed in OutputFormats().
#include "rules/Lint.h"
#include "model/SourceText.h"

#include <ostream>
#include <string>
#include <vector>

namespace kvnode {

// a finding with the severity the command line gave its rule
struct Diagnostic {
    Finding finding;
    Severity severity;
    size_t file; // index in Report::files
};

struct CheckedFile {
    std::string name; // as given, or <stdin>
    SourceText source;
};

struct Report {
    std::vector<CheckedFile> files;
    std::vector<Diagnostic> diagnostics; // per file in order, each file's in file order
    size_t Count(Severity severity) const;
};

struct OutputStyle {
    bool color = false;
    bool summary = true; // text: the line that counts the findings
};

// whether --color=mode (auto, always, never) colours the text, given the
// terminal and the NO_COLOR and TERM variables
bool UseColor(const std::string& mode, bool terminal, const char* noColor, const char* term);

struct OutputFormat {
    const char* name; // as --format takes it
    const char* summary;
    void (*write)(const Report& report, const OutputStyle& style, std::ostream& out);
};

const std::vector<OutputFormat>& OutputFormats();
const OutputFormat* FindOutputFormat(const std::string& name);

// the formats' writers
void WriteText(const Report& report, const OutputStyle& style, std::ostream& out);
void WriteJson(const Report& report, const OutputStyle& style, std::ostream& out);
void WriteSarif(const Report& report, const OutputStyle& style, std::ostream& out);
void WriteGithub(const Report& report, const OutputStyle& style, std::ostream& out);
// --json: the array of findings that came before --format, for the scripts that read it
void WriteJsonArray(const Report& report, const OutputStyle& style, std::ostream& out);

// "2 errors and 1 warning in 3 files"; empty when nothing was found
std::string SummaryLine(const Report& report);
// a text as a JSON string, quotes included
std::string JsonString(const std::string& text);
const char* SeverityName(Severity severity);

} // namespace kvnode
