#include "rules/Lint.h"

#include "model/ElementPaths.h"
#include "model/SourceText.h"
#include "rules/Controls.h"
#include "rules/Families.h"
#include "rules/Locator.h"
#include "rules/Suppressions.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <utility>

namespace kvnode {

Finding& LintContext::Add(RuleId rule, const CXMLBase& object, const std::string& attribute, std::string message,
                          const std::string& subject)
{
    const Place at = m_places.Of(object, attribute, subject);
    m_findings.push_back(Finding{m_file, at.line, at.column, rule, std::move(message), &object, attribute, subject});
    m_findings.back().endLine = at.endLine;
    m_findings.back().endColumn = at.endColumn;
    return m_findings.back();
}

Finding& LintContext::Add(RuleId rule, XmlPosition at, std::string message)
{
    m_findings.push_back(Finding{m_file, at.line, at.column, rule, std::move(message)});
    m_findings.back().endLine = at.line;
    m_findings.back().endColumn = at.column;
    return m_findings.back();
}

std::vector<Finding> LintContext::TakeFindings() { return std::move(m_findings); }

const std::vector<const CNodeTypeDesc*>& LintContext::NodeTypes()
{
    if (!m_nodeTypesFound) {
        m_nodeTypes = NodeTypesOf(m_doc.GetRoot());
        m_nodeTypesFound = true;
    }
    return m_nodeTypes;
}

const NameGraph& LintContext::GraphOf(const CNodeTypeDesc& node)
{
    std::unique_ptr<NameGraph>& graph = m_graphs[&node];
    if (!graph)
        graph = std::make_unique<NameGraph>(node, [this](const CXMLBase& o) -> const std::vector<Field>& {
            return FieldsOf(o);
        });
    return *graph;
}

const std::vector<Field>& LintContext::FieldsOf(const CXMLBase& object)
{
    const auto found = m_fields.find(&object);
    if (found != m_fields.end())
        return found->second;
    return m_fields.emplace(&object, KeyFields(object)).first->second;
}

namespace {

const char* SeverityWord(Severity s) { return s == Severity::Error ? "error" : "warning"; }

// the file's kvnode comments, each with the element it silences
std::vector<Suppression> PlacedSuppressions(const CXMLDocument& doc, const std::string& bytes)
{
    std::vector<Suppression> found = FindSuppressions(SourceText(bytes).Text());
    std::map<std::pair<int, int>, const CXMLBase*> targets;
    for (const Suppression& s : found)
        if (s.targetLine > 0)
            targets.emplace(std::make_pair(s.targetLine, s.targetColumn), nullptr);
    if (!targets.empty() && doc.GetRoot())
        ForEachObject(*doc.GetRoot(), [&](const CXMLBase& o) {
            const XmlPosition p = doc.GetPosition(&o);
            const auto it = targets.find(std::make_pair(p.line, p.column));
            if (it != targets.end() && !it->second && !o.IsKindOf(RUNTIME_CLASS(CXMLText)))
                it->second = &o;
        });
    for (Suppression& s : found)
        if (s.targetLine > 0)
            s.target = targets[std::make_pair(s.targetLine, s.targetColumn)];
    return found;
}

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
        result.findings.back().elementPath = Utf8(e.path.data(), e.path.size());
        return result;
    }
    return LintDocument(doc, name, bytes, controls);
}

LintResult LintDocument(const CXMLDocument& doc, const std::string& name, const std::string& bytes,
                        const Controls& controls)
{
    LintResult result;
    result.loaded = true;
    LintContext c(doc, name, bytes);
    RunFamilies(c);
    SuppressionFilter filter(controls, PlacedSuppressions(doc, bytes));
    for (Finding& f : c.TakeFindings())
        if (filter.Keeps(f))
            result.findings.push_back(std::move(f));
    for (Finding& f : filter.Unused(name))
        if (controls.Checks(f.rule))
            result.findings.push_back(std::move(f));
    Locator locator(doc, bytes);
    ElementPaths elementPaths;
    for (Finding& f : result.findings) {
        locator.Locate(f);
        if (f.object)
            f.elementPath = elementPaths.Of(*f.object);
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
