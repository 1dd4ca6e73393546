// Findings as gcc and clang print diagnostics: the place, the severity, the
// message and the rule, then the source line with a caret under the column
// and ~~~ under what the finding points at.
#include "output/Report.h"

#include "model/Model.h"

#include <iomanip>
#include <string_view>

namespace kvnode {

namespace {

const char kBold[] = "\x1b[1m", kRed[] = "\x1b[1;31m", kMagenta[] = "\x1b[1;35m", kGreen[] = "\x1b[1;32m",
           kReset[] = "\x1b[0m";

class Painter {
public:
    explicit Painter(bool color) : m_color(color) {}
    std::string operator()(const char* code, const std::string& text) const
    {
        return m_color ? code + text + kReset : text;
    }

private:
    bool m_color;
};

// "file:line:column: error: message [rule]" and the excerpt; rule may be empty
void WriteOne(const Finding& f, Severity severity, std::string_view rule, const Excerpt& excerpt, const Painter& paint,
              std::ostream& out)
{
    std::string place = Printable(f.file);
    if (f.line > 0)
        place += ":" + std::to_string(f.line) + ":" + std::to_string(f.column);
    const char* tone = severity == Severity::Error ? kRed : kMagenta;
    out << paint(kBold, place + ":") << ' ' << paint(tone, std::string(SeverityName(severity)) + ":") << ' '
        << Printable(f.message);
    if (!rule.empty())
        out << " [" << paint(tone, std::string(rule)) << ']';
    out << '\n';
    if (excerpt.line > 0)
        out << std::setw(5) << excerpt.line << " | " << excerpt.text << "\n      | " << paint(kGreen, excerpt.marker)
            << '\n';
}

class Text : public ReportWriter {
public:
    Text(std::ostream& out, const OutputStyle& style) : m_out(out), m_style(style), m_paint(style.color) {}
    void Add(const Diagnostic& d) override { WriteOne(d.finding, d.severity, d.finding.rule, d.excerpt, m_paint, m_out); }
    void End(const Summary& summary) override
    {
        const std::string line = SummaryLine(summary);
        if (m_style.summary && !line.empty())
            m_out << m_paint(kBold, line) << '\n';
    }

private:
    std::ostream& m_out;
    OutputStyle m_style;
    Painter m_paint;
};

} // namespace

std::unique_ptr<ReportWriter> TextWriter(std::ostream& out, const OutputStyle& style)
{
    return std::make_unique<Text>(out, style);
}

void ReportError(const std::string& file, const XmlPosition& at, const std::string& message, const std::string& bytes,
                 std::ostream& err)
{
    const Finding f(file, at.line, at.column, kXmlError, message);
    const Excerpt excerpt = MakeExcerpt(SourceText(bytes), at.line, at.column, at.line, at.column);
    WriteOne(f, Severity::Error, "", excerpt, Painter(false), err);
}

void ReportError(const XmlDiagnostic& error, const std::string& bytes, std::ostream& err)
{
    ReportError(error.file, XmlPosition{error.line, error.column, 0}, DiagnosticText(error), bytes, err);
}

} // namespace kvnode
