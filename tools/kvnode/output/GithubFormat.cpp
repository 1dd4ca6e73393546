// Findings as GitHub Actions workflow commands, which annotate the lines of
// a pull request:
//   ::error file=F,line=L,col=C,endColumn=E,title=RULE::MESSAGE
#include "output/Report.h"

namespace kvnode {

namespace {

// The runner reads %, CR and LF escaped in a message, and : and , too in a
// property; other characters a file can hold that a log would obey are
// written as the text format writes them.
std::string Escape(const std::string& text, bool property)
{
    std::string out;
    for (const char c : Printable(text)) {
        switch (c) {
        case '%': out += "%25"; break;
        case ':': out += property ? "%3A" : ":"; break;
        case ',': out += property ? "%2C" : ","; break;
        default: out += c;
        }
    }
    return out;
}

} // namespace

void WriteGithub(const Report& report, const OutputStyle&, std::ostream& out)
{
    for (const Diagnostic& d : report.diagnostics) {
        const Finding& f = d.finding;
        out << "::" << SeverityName(d.severity) << " file=" << Escape(f.file, true);
        if (f.line > 0) {
            out << ",line=" << f.line << ",col=" << f.column;
            // GitHub takes the columns of an annotation on one line
            if (f.endLine > f.line)
                out << ",endLine=" << f.endLine;
            else if (f.endLine == f.line && f.endColumn > f.column)
                out << ",endColumn=" << f.endColumn;
        }
        out << ",title=" << Escape(std::string(f.rule), true) << "::" << Escape(f.message, false) << '\n';
    }
}

} // namespace kvnode
