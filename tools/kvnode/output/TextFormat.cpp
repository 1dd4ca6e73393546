// Findings as gcc and clang print diagnostics: the place, the severity, the
// message and the rule, then the source line with a caret under the column.
#include "output/Report.h"

#include <iomanip>

namespace kvnode {

namespace {

const char kBold[] = "\x1b[1m", kRed[] = "\x1b[1;31m", kMagenta[] = "\x1b[1;35m", kGreen[] = "\x1b[1;32m",
           kReset[] = "\x1b[0m";

// East Asian wide characters take two columns of a terminal
bool IsWide(char32_t c)
{
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

// The spaces that bring a caret under the character at column (from 1) of
// line; tabs stay tabs so that the terminal lines them up alike.
std::string CaretIndent(const std::string& line, int column)
{
    std::string indent;
    size_t i = 0;
    for (int chars = 1; chars < column && i < line.size(); ++chars) {
        const unsigned char lead = static_cast<unsigned char>(line[i]);
        const size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (size_t k = 1; k < length && i + k < line.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(line[i + k]) & 0x3F);
        indent += lead == '\t' ? "\t" : IsWide(c) ? "  " : " ";
        i += length;
    }
    return indent;
}

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

} // namespace

void WriteText(const Report& report, const OutputStyle& style, std::ostream& out)
{
    const Painter paint(style.color);
    for (const Diagnostic& d : report.diagnostics) {
        const Finding& f = d.finding;
        std::string place = f.file;
        if (f.line > 0)
            place += ":" + std::to_string(f.line) + ":" + std::to_string(f.column);
        const char* tone = d.severity == Severity::Error ? kRed : kMagenta;
        out << paint(kBold, place + ":") << ' ' << paint(tone, std::string(SeverityName(d.severity)) + ":") << ' '
            << f.message << " [" << paint(tone, std::string(f.rule)) << "]\n";
        const SourceText& source = report.files[d.file].source;
        if (f.line < 1 || f.line > source.LineCount())
            continue;
        const std::string line = source.Line(f.line);
        out << std::setw(5) << f.line << " | " << line << "\n      | " << CaretIndent(line, f.column)
            << paint(kGreen, "^") << '\n';
    }
    const std::string summary = SummaryLine(report);
    if (style.summary && !summary.empty())
        out << paint(kBold, summary) << '\n';
}

} // namespace kvnode
