// Findings as SARIF 2.1.0, the form code-scanning services read: one run of
// kvnode with every rule described, and a result per finding.
#include "output/Report.h"

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
    if (f.line > 0)
        out << ", \"region\": {\"startLine\": " << f.line << ", \"startColumn\": " << f.column << "}";
    out << "}}]}";
}

} // namespace

void WriteSarif(const Report& report, const OutputStyle&, std::ostream& out)
{
    out << "{\n  \"$schema\": \"https://json.schemastore.org/sarif-2.1.0.json\",\n  \"version\": \"2.1.0\",\n"
           "  \"runs\": [\n    {\n      \"tool\": {\n        \"driver\": {\n          \"name\": \"kvnode\",\n"
           "          \"version\": \""
        << KVNODE_VERSION << "\",\n          \"rules\": [\n";
    const std::vector<Rule>& rules = Rules();
    for (size_t i = 0; i < rules.size(); ++i) {
        WriteRule(rules[i], out);
        out << (i + 1 < rules.size() ? ",\n" : "\n");
    }
    // columns count characters, as the findings do
    out << "          ]\n        }\n      },\n      \"columnKind\": \"unicodeCodePoints\",\n      \"results\": [";
    for (size_t i = 0; i < report.diagnostics.size(); ++i) {
        out << (i ? ",\n" : "\n");
        WriteResult(report.diagnostics[i], out);
    }
    out << (report.diagnostics.empty() ? "]\n" : "\n      ]\n") << "    }\n  ]\n}\n";
}

} // namespace kvnode
