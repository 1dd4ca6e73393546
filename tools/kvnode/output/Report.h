#pragma once
// What a check found, as the output formats print it, and the formats
// themselves: one file each, listed in OutputFormats(). A report is written
// as the files are checked, a finding at a time, so that what the command
// holds does not grow with the files it is given.
#include "output/Escape.h"
#include "output/Excerpt.h"
#include "rules/Lint.h"

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace kvnode {

// a finding with the severity the command line gave its rule, and the
// source it points at (the file's text itself is not kept)
struct Diagnostic {
    Finding finding;
    Severity severity;
    Excerpt excerpt;
};

// what a report counts: the files checked, the findings written
struct Summary {
    size_t files = 0;
    size_t errors = 0;
    size_t warnings = 0;
};

struct OutputStyle {
    bool color = false;
    bool summary = true; // text: the line that counts the findings
};

// whether --color=mode (auto, always, never) colours the text, given the
// terminal and the NO_COLOR and TERM variables
bool UseColor(const std::string& mode, bool terminal, const char* noColor, const char* term);

// One format's writer: what comes before the findings when it is made, each
// finding as it comes (per file in order, each file's in file order), and
// what comes after them at End.
class ReportWriter {
public:
    virtual ~ReportWriter() = default;
    virtual void Add(const Diagnostic& diagnostic) = 0;
    virtual void End(const Summary& summary) = 0;
};

struct OutputFormat {
    const char* name; // as --format takes it
    const char* summary;
    std::unique_ptr<ReportWriter> (*make)(std::ostream& out, const OutputStyle& style);
};

const std::vector<OutputFormat>& OutputFormats();
const OutputFormat* FindOutputFormat(const std::string& name);

// the formats' writers
std::unique_ptr<ReportWriter> TextWriter(std::ostream& out, const OutputStyle& style);
std::unique_ptr<ReportWriter> JsonWriter(std::ostream& out, const OutputStyle& style);
std::unique_ptr<ReportWriter> SarifWriter(std::ostream& out, const OutputStyle& style);
std::unique_ptr<ReportWriter> GithubWriter(std::ostream& out, const OutputStyle& style);
// --json: the array of findings that came before --format, for the scripts that read it
std::unique_ptr<ReportWriter> JsonArrayWriter(std::ostream& out, const OutputStyle& style);

// "2 errors and 1 warning in 3 files"; empty when nothing was found
std::string SummaryLine(const Summary& summary);
const char* SeverityName(Severity severity);

// An error that stops a command (a file that cannot be read, parsed or
// written), as the text format prints a finding: the place, the message and
// the line of bytes it is on, with a caret.
void ReportError(const XmlDiagnostic& error, const std::string& bytes, std::ostream& err);
// the same for a message of the tool's own, in UTF-8
void ReportError(const std::string& file, const XmlPosition& at, const std::string& message, const std::string& bytes,
                 std::ostream& err);

} // namespace kvnode
