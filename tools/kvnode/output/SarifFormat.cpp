// Findings as SARIF 2.1.0, the form code-scanning services read: one run of
// kvnode with every rule described, and a result per finding.
#include "output/Report.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace kvnode {

namespace {

// a path as a URI reference: relative paths stay relative, to the checkout
std::string Uri(const std::string& path)
{
    std::string uri = !path.empty() && path[0] == '/' ? "file://" : "";
    for (const char c : path) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (std::isalnum(u) || std::string("/-._~").find(c) != std::string::npos) {
            uri += c;
        } else {
            char buf[4];
            std::snprintf(buf, sizeof buf, "%%%02X", u);
            uri += buf;
        }
    }
    return uri;
}

size_t IndexOf(RuleId rule)
{
    const std::vector<Rule>& rules = Rules();
    for (size_t i = 0; i < rules.size(); ++i)
        if (rules[i].id == rule)
            return i;
    return 0;
}

const char* Level(Severity s) { return s == Severity::Error ? "error" : "warning"; }

void WriteRule(const Rule& rule, std::ostream& out)
{
    const std::string help = rule.explanation;
    out << "            {\"id\": \"" << rule.id << "\", \"shortDescription\": {\"text\": " << JsonString(rule.summary)
        << "}, \"fullDescription\": {\"text\": " << JsonString(help) << "}, \"help\": {\"text\": "
        << JsonString(help + " (kvnode check --help lists every rule; docs/kvnode.md shows an example of each.)")
        << "}, \"defaultConfiguration\": {\"level\": \"" << Level(rule.severity) << "\"}}";
}

void WriteResult(const Diagnostic& d, std::ostream& out)
{
    const Finding& f = d.finding;
    out << "        {\"ruleId\": \"" << f.rule << "\", \"ruleIndex\": " << IndexOf(f.rule)
        << ", \"level\": \"" << Level(d.severity) << "\", \"message\": {\"text\": " << JsonString(f.message)
        << "}, \"locations\": [{\"physicalLocation\": {\"artifactLocation\": {\"uri\": " << JsonString(Uri(f.file))
        << "}";
    if (f.line > 0) {
        out << ", \"region\": {\"startLine\": " << f.line << ", \"startColumn\": " << f.column;
        // without an end a region runs to the end of its line: a place is one character
        if (f.endLine > f.line)
            out << ", \"endLine\": " << f.endLine << ", \"endColumn\": " << f.endColumn;
        else
            out << ", \"endColumn\": " << std::max(f.endColumn, f.column + 1);
        out << "}";
    }
    out << "}}]}";
}

class Sarif : public ReportWriter {
public:
    explicit Sarif(std::ostream& out) : m_out(out)
    {
        m_out << "{\n  \"$schema\": \"https://json.schemastore.org/sarif-2.1.0.json\",\n  \"version\": \"2.1.0\",\n"
                 "  \"runs\": [\n    {\n      \"tool\": {\n        \"driver\": {\n          \"name\": \"kvnode\",\n"
                 "          \"version\": \""
              << KVNODE_VERSION << "\",\n          \"rules\": [\n";
        const std::vector<Rule>& rules = Rules();
        for (size_t i = 0; i < rules.size(); ++i) {
            WriteRule(rules[i], m_out);
            m_out << (i + 1 < rules.size() ? ",\n" : "\n");
        }
        // columns count characters, as the findings do
        m_out << "          ]\n        }\n      },\n      \"columnKind\": \"unicodeCodePoints\",\n      \"results\": [";
    }
    void Add(const Diagnostic& d) override
    {
        m_out << (m_empty ? "\n" : ",\n");
        WriteResult(d, m_out);
        m_empty = false;
    }
    void End(const Summary&) override { m_out << (m_empty ? "]\n" : "\n      ]\n") << "    }\n  ]\n}\n"; }

private:
    std::ostream& m_out;
    bool m_empty = true;
};

} // namespace

std::unique_ptr<ReportWriter> SarifWriter(std::ostream& out, const OutputStyle&) { return std::make_unique<Sarif>(out); }

} // namespace kvnode
