#include "rules/Lint.h"

#include "rules/LintContext.h"

#include "model/SourceText.h"
#include "rules/Controls.h"
#include "rules/Suppressions.h"

#include <algorithm>
#include <utility>

namespace kvnode {

const std::vector<Rule>& Rules()
{
    static const std::vector<Rule> rules = {
        {RuleId::XmlError, "xml-error", Severity::Error,
         "the file cannot be read, is not well-formed XML, or holds text its encoding cannot",
         "Nothing else is checked: the host cannot read the file at all. The message says where the reader stopped "
         "and why; a UTF-8 error whose bytes read as GBK suggests the declaration is missing encoding=\"GBK\".",
         "<CPlateDesc classtype=\"8_3\" name=\"P\" planes=\"A,B,C\">   (never closed)"},
        {RuleId::XmlWarning, "xml-warning", Severity::Warning,
         "the reader met something it does not keep or read as the element says",
         "The host reads the document, but not all of it as written: something is dropped or read otherwise. "
         "The message says what.",
         "<CValueListDesc classtype=\"8_11\" v1=\"1\"><x/></CValueListDesc>"},
        {RuleId::UnknownClass, "unknown-class", Severity::Warning,
         "an element of a class no registered class index or name stands for; it is kept as it is",
         "The element is kept and written back, but no descriptor list of the host sees it. A host may keep "
         "elements of its own; otherwise check the element name and its classtype.",
         "<CWeldDesc classtype=\"8_40\" name=\"W\"/>"},
        {RuleId::UnresolvedName, "unresolved-name", Severity::Error,
         "a field that the descriptor's construction uses names no descriptor of the kind it needs",
         "The host looks the name up among the node type's descriptors of the kind the field wants and finds none. "
         "The message offers the closest name of that kind, and says when only blanks or letter case differ.",
         "<CPointDesc classtype=\"8_12\" name=\"P\" type=\"1\" line=\"Axis\" plane=\"Web Plane\"/>"},
        {RuleId::DuplicateName, "duplicate-name", Severity::Error,
         "two descriptors of one kind share a name where lookups would take the first",
         "Lookups by name find the first descriptor; the second is never used.",
         "<CLineDesc classtype=\"8_13\" name=\"Axis\" .../> <CLineDesc classtype=\"8_13\" name=\"Axis\" .../>"},
        {RuleId::PlatePlanes, "plate-planes", Severity::Error, "a plate whose \"planes\" does not hold three names",
         "A plate is placed by exactly three planes, comma-separated.",
         "<CPlateDesc classtype=\"8_3\" name=\"P\" planes=\"A,B\"/>"},
        {RuleId::CutPlanes, "cut-planes", Severity::Error, "a cut whose \"planes\" holds no name",
         "A cut needs at least one plane to cut with.", "<CCutDesc classtype=\"8_2\" name=\"C\" planes=\"\"/>"},
        {RuleId::BoltPlanes, "bolt-planes", Severity::Error, "a bolt or bolt group with fewer than two bolt planes",
         "A bolt passes through at least two bolt planes (CBoltPlaneDesc children).",
         "<CBoltDesc classtype=\"8_17\" name=\"B\" ...><CBoltPlaneDesc classtype=\"8_16\" plane=\"A\"/></CBoltDesc>"},
        {RuleId::LinkBarPlanes, "linkbar-planes", Severity::Error, "a link bar without exactly three planes",
         "A link bar holds exactly three planes of its own (CPlaneDesc children).",
         "<CLinkBarDesc classtype=\"8_7\" name=\"L\" ...><CPlaneDesc .../></CLinkBarDesc>"},
        {RuleId::ConstructionCycle, "construction-cycle", Severity::Error,
         "points, lines, planes, vectors or distances built from one another in a circle",
         "The host cannot build any of them. One finding for each group of constructions that reach one another, "
         "with one circle through it (a long one shortened to its first and last steps).",
         "<CVecDesc classtype=\"8_14\" name=\"V\" type=\"0\" line=\"L\"/> "
         "<CLineDesc classtype=\"8_13\" name=\"L\" type=\"2\" point=\"P\" vec=\"V\"/>"},
        {RuleId::EmptyValueList, "empty-value-list", Severity::Warning, "a variable whose value list holds no value",
         "The user is offered no value to choose from.",
         "<CVarDesc classtype=\"8_10\" name=\"D\" ...><CValueListDesc classtype=\"8_11\"/></CVarDesc>"},
        {RuleId::UnusedVarItem, "unused-varitem", Severity::Warning,
         "a variable item that no plate, bolt or bolt group names",
         "Plates name their variable item in \"varitem\"; bolts and bolt groups derive it from their expressions. "
         "An item nothing names is never offered.",
         "<CVarItemDesc classtype=\"8_9\" name=\"Weld\" type=\"plate\" defineby=\"user\"/>"},
        {RuleId::BadNumber, "bad-number", Severity::Error,
         "a number that the host reads as something other than what it says",
         "Integers, enumerations and lists are read by the C rules: leading blanks are skipped, then digits are "
         "read up to the first other character, and a text without digits reads as 0. So \"8.8\" reads as 8, "
         "\"Q345\" as 0 and \"1O201\" as 1. The message says what the host reads, and for an enumeration written "
         "as its text, which value has that text.",
         "<CBoltGroupDesc classtype=\"8_5\" name=\"G\" boltgrade=\"8.8\" .../>"},
        {RuleId::ValueOutOfTable, "value-out-of-table", Severity::Error,
         "a material, bolt grade, bolt type or construction type that its table does not list",
         "These fields take one of the values their table lists (see docs/format.md); the host has nothing to "
         "build from another. The host's own codes (node type, member kind, section type) are not checked.",
         "<CPlaneDesc classtype=\"8_1\" name=\"P\" type=\"9\"/>"},
        {RuleId::MisspeltAttribute, "misspelt-attribute", Severity::Error,
         "an attribute the class does not know, close to one of its own that the element lacks",
         "Most likely a typo: the field the author meant stays empty.",
         "<CPlateDesc classtype=\"8_3\" name=\"P\" lenexpr=\"@P_Len\" .../>   (lenexp is missing)"},
        {RuleId::UnknownAttribute, "unknown-attribute", Severity::Warning,
         "an attribute the element's class neither writes nor reads",
         "Kept and written back, but no descriptor reads it. A host may keep attributes of its own; otherwise "
         "it is a typo.",
         "<CPlateDesc classtype=\"8_3\" name=\"P\" colour=\"red\" .../>"},
        {RuleId::MisplacedElement, "misplaced-element", Severity::Error,
         "an element where the tree has no place for it",
         "The root is a CNodeAttDef; node types sit directly under it; below a node type each descriptor sits "
         "where its parent's lists look for it (a cut in a plate, member or link bar, a variable in a variable "
         "item, a value list in a variable). Elsewhere no list sees it.",
         "<CNodeMemberDesc classtype=\"8_4\" name=\"M\" ...><CPlateDesc .../></CNodeMemberDesc>"},
        {RuleId::ClassMismatch, "class-mismatch", Severity::Error,
         "an element whose class index is unknown or names another class than the element",
         "The reader creates objects by class index: an unknown one leaves the element out of every list, and "
         "another class's index makes it that class.",
         "<CPlateDesc classtype=\"8_33\" name=\"P\" .../>"},
        {RuleId::EmptySize, "empty-size", Severity::Warning, "a size expression the part needs but is empty",
         "A plate's length, width and thickness, a bolt's and a bolt group's diameter, length and number, and a "
         "link bar's length size the part; the host has nothing to size it with.",
         "<CPlateDesc classtype=\"8_3\" name=\"P\" lenexp=\"\" .../>"},
        {RuleId::UnwritableText, "unwritable-text", Severity::Error,
         "a text the library holds but could not write back",
         "Every save of the document would fail, for example a \"formattype\" whose first character is Chinese "
         "(only its first byte is kept).",
         "<CVarDesc classtype=\"8_10\" name=\"V\" formattype=\"\xE5\xB0\x8F\" .../>"},
        {RuleId::EncodingMismatch, "encoding-mismatch", Severity::Warning,
         "a GBK, GB2312 or GB18030 declaration on a file whose bytes are UTF-8",
         "Every non-ASCII byte sequence is valid UTF-8, which a GBK text rarely is: the declaration is probably "
         "wrong, and the Chinese texts read as other characters.",
         "<?xml version=\"1.0\" encoding=\"GBK\"?>   (saved as UTF-8 by an editor)"},
        {RuleId::UnusedSuppression, "unused-suppression", Severity::Warning,
         "a kvnode: ignore comment that silenced nothing, or names no rule",
         "A comment <!-- kvnode: ignore RULE --> silences RULE on the element that follows it, and <!-- "
         "kvnode: ignore-file RULE --> in the whole file. One that silenced nothing this run (of a rule the "
         "run checks), names an unknown rule or says something else after kvnode: is reported, so stale "
         "silences do not pile up.",
         "<!-- kvnode: ignore unused-varitem -->  (before an element that has no such finding)"},
    };
    return rules;
}

const Rule& RuleOf(RuleId rule) { return Rules()[static_cast<size_t>(rule)]; }

void LintContext::Add(RuleId rule, const CXMLBase& at, std::string message)
{
    Add(rule, m_doc.GetPosition(&at), std::move(message));
}

void LintContext::Add(RuleId rule, XmlPosition at, std::string message)
{
    m_findings.push_back(Finding{m_file, at.line, at.column, rule, std::move(message)});
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

void RunRules(LintContext& c)
{
    CheckTree(c);
    CheckAttributes(c);
    for (const CNodeTypeDesc* node : NodeTypesOf(c.Doc().GetRoot())) {
        ConstructionGraph graph;
        CheckNames(c, *node, graph);
        CheckCycles(c, graph);
        ForEachInNode(*node, [&](const CXMLBase& o) { CheckPart(c, o); });
    }
}

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
        result.findings.push_back(Finding{name, e.line, e.column, RuleId::XmlError, DiagnosticText(e)});
        result.findings.back().message += EncodingHint(bytes, e.message);
        return result;
    }
    result.loaded = true;
    LintContext c(doc, name);
    RunRules(c);
    CheckEncoding(c, bytes);
    CheckWritable(c, doc);
    SuppressionFilter filter(controls, FindSuppressions(SourceText(bytes).Text()));
    for (Finding& f : c.TakeFindings())
        if (filter.Keeps(f))
            result.findings.push_back(std::move(f));
    for (Finding& f : filter.Unused(name))
        if (controls.Checks(f.rule))
            result.findings.push_back(std::move(f));
    for (Finding& f : result.findings)
        f.object = nullptr; // the document goes with this function
    std::stable_sort(result.findings.begin(), result.findings.end(), InFileOrder);
    return result;
}

std::string FormatText(const Finding& f)
{
    std::string s = f.file;
    if (f.line > 0)
        s += ":" + std::to_string(f.line) + ":" + std::to_string(f.column);
    return s + ": " + SeverityWord(f.severity()) + ": " + f.message + " [" + RuleOf(f.rule).id + "]";
}

} // namespace kvnode
