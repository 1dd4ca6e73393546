// Findings as JSON: an object that says which tool and format wrote it, and
// the bare array of findings that --json has always printed.
#include "output/Report.h"

namespace kvnode {

namespace {

// the object's layout; raised when a field changes meaning or goes away
constexpr int kJsonFormatVersion = 1;

// the array of findings, at indent; whole: in the object with the tool and the summary
class Json : public ReportWriter {
public:
    Json(std::ostream& out, bool whole) : m_out(out), m_whole(whole), m_indent(whole ? "  " : "")
    {
        if (m_whole)
            m_out << "{\n  \"tool\": {\"name\": \"kvnode\", \"version\": \"" << KVNODE_VERSION << "\"},\n"
                  << "  \"formatVersion\": " << kJsonFormatVersion << ",\n  \"findings\": ";
        m_out << '[';
    }
    void Add(const Diagnostic& d) override
    {
        const Finding& f = d.finding;
        m_out << (m_empty ? "\n" : ",\n") << m_indent << "  {\"file\": " << JsonString(f.file)
              << ", \"line\": " << f.line << ", \"column\": " << f.column << ", \"endLine\": " << f.endLine
              << ", \"endColumn\": " << f.endColumn << ", \"severity\": \"" << SeverityName(d.severity)
              << "\", \"rule\": \"" << f.rule << "\", \"message\": " << JsonString(f.message) << '}';
        m_empty = false;
    }
    void End(const Summary& summary) override
    {
        m_out << (m_empty ? "]" : "\n" + m_indent + "]");
        if (m_whole)
            m_out << ",\n  \"summary\": {\"files\": " << summary.files << ", \"errors\": " << summary.errors
                  << ", \"warnings\": " << summary.warnings << "}\n}";
        m_out << '\n';
    }

private:
    std::ostream& m_out;
    bool m_whole;
    std::string m_indent;
    bool m_empty = true;
};

} // namespace

std::unique_ptr<ReportWriter> JsonWriter(std::ostream& out, const OutputStyle&) { return std::make_unique<Json>(out, true); }

std::unique_ptr<ReportWriter> JsonArrayWriter(std::ostream& out, const OutputStyle&)
{
    return std::make_unique<Json>(out, false);
}

} // namespace kvnode
