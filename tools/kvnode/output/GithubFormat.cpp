// Findings as GitHub Actions workflow commands, which annotate the lines of
// a pull request: ::error file=F,line=L,col=C,title=RULE::MESSAGE
#include "output/Report.h"

namespace kvnode {

namespace {

// the runner reads %, CR and LF escaped in a message, and : and , too in a property
std::string Escape(const std::string& text, bool property)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '%': out += "%25"; break;
        case '\r': out += "%0D"; break;
        case '\n': out += "%0A"; break;
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
        if (f.line > 0)
            out << ",line=" << f.line << ",col=" << f.column;
        out << ",title=" << Escape(std::string(f.rule), true) << "::" << Escape(f.message, false) << '\n';
    }
}

} // namespace kvnode
