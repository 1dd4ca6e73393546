#include "rules/Lint.h"

#include "rules/Families.h"

#include "model/SourceText.h"
#include "rules/Controls.h"
#include "rules/Locator.h"
#include "rules/Suppressions.h"

#include <algorithm>
#include <utility>

namespace kvnode {

Finding& LintContext::Add(RuleId rule, const CXMLBase& object, const std::string& attribute, std::string message,
                          const std::string& subject)
{
    const XmlPosition at = m_doc.GetPosition(&object);
    m_findings.push_back(Finding{m_file, at.line, at.column, rule, std::move(message), &object, attribute, subject});
    return m_findings.back();
}

Finding& LintContext::Add(RuleId rule, XmlPosition at, std::string message)
{
    m_findings.push_back(Finding{m_file, at.line, at.column, rule, std::move(message)});
    return m_findings.back();
}

std::vector<Finding> LintContext::TakeFindings() { return std::move(m_findings); }

int ConstructionGraph::IndexOf(const CXMLBase* o)
{
    const auto it = index.emplace(o, static_cast<int>(nodes.size()));
    if (it.second) {
        nodes.push_back(o);
        edges.emplace_back();
    }
    return it.first->second;
}

namespace {

const char* SeverityWord(Severity s) { return s == Severity::Error ? "error" : "warning"; }

bool InFileOrder(const Finding& a, const Finding& b)
{
    return std::make_pair(a.line, a.column) < std::make_pair(b.line, b.column);
}

} // namespace

LintResult Lint(const std::string& name, const std::string& bytes, const Controls& controls)
{
    LintResult result;
    CXMLDocument doc;
    doc.SetRecordPositions(true);
    if (!doc.LoadXml(bytes.data(), bytes.size(), name.c_str())) {
        const XmlDiagnostic& e = doc.GetError();
        result.findings.push_back(Finding{name, e.line, e.column, kXmlError, DiagnosticText(e)});
        result.findings.back().message += EncodingHint(bytes, e.message);
        return result;
    }
    result.loaded = true;
    LintContext c(doc, name, bytes);
    RunFamilies(c);
    SuppressionFilter filter(controls, FindSuppressions(SourceText(bytes).Text()));
    for (Finding& f : c.TakeFindings())
        if (filter.Keeps(f))
            result.findings.push_back(std::move(f));
    for (Finding& f : filter.Unused(name))
        if (controls.Checks(f.rule))
            result.findings.push_back(std::move(f));
    Locator locator(doc, bytes);
    for (Finding& f : result.findings) {
        locator.Locate(f);
        f.object = nullptr; // the document goes with this function
    }
    std::stable_sort(result.findings.begin(), result.findings.end(), InFileOrder);
    return result;
}

std::string FormatText(const Finding& f)
{
    std::string s = f.file;
    if (f.line > 0)
        s += ":" + std::to_string(f.line) + ":" + std::to_string(f.column);
    return s + ": " + SeverityWord(f.severity()) + ": " + f.message + " [" + std::string(f.rule) + "]";
}

} // namespace kvnode
