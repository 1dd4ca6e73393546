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

class Github : public ReportWriter {
public:
    explicit Github(std::ostream& out) : m_out(out) {}
    void Add(const Diagnostic& d) override
    {
        const Finding& f = d.finding;
        m_out << "::" << SeverityName(d.severity) << " file=" << Escape(f.file, true);
        if (f.line > 0) {
            m_out << ",line=" << f.line << ",col=" << f.column;
            // GitHub takes the columns of an annotation on one line
            if (f.endLine > f.line)
                m_out << ",endLine=" << f.endLine;
            else if (f.endLine == f.line && f.endColumn > f.column)
                m_out << ",endColumn=" << f.endColumn;
        }
        m_out << ",title=" << Escape(std::string(f.rule), true) << "::" << Escape(f.message, false) << '\n';
    }
    void End(const Summary&) override {}

private:
    std::ostream& m_out;
};

} // namespace

std::unique_ptr<ReportWriter> GithubWriter(std::ostream& out, const OutputStyle&)
{
    return std::make_unique<Github>(out);
}

} // namespace kvnode
