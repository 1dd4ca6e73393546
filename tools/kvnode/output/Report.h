#pragma once
// What a check found, as the output formats print it, and the formats
// themselves: one file each, listed in OutputFormats().
#include "output/Escape.h"
#include "output/Excerpt.h"
#include "rules/Lint.h"

#include <ostream>
#include <string>
#include <vector>

namespace kvnode {

// a finding with the severity the command line gave its rule, and the
// source it points at (the file's text itself is not kept)
struct Diagnostic {
    Finding finding;
    Severity severity;
    size_t file; // index in Report::files
    Excerpt excerpt;
};

struct CheckedFile {
    std::string name; // as given, or <stdin>
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
const char* SeverityName(Severity severity);

// An error that stops a command (a file that cannot be read, parsed or
// written), as the text format prints a finding: the place, the message and
// the line of bytes it is on, with a caret.
void ReportError(const XmlDiagnostic& error, const std::string& bytes, std::ostream& err);
// the same for a message of the tool's own, in UTF-8
void ReportError(const std::string& file, const XmlPosition& at, const std::string& message, const std::string& bytes,
                 std::ostream& err);

} // namespace kvnode
