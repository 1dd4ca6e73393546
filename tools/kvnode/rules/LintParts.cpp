// The counts and sizes of parts: plate-planes, cut-planes, bolt-planes,
// linkbar-planes, empty-value-list, empty-size.
#include "rules/Families.h"

namespace kvnode {

namespace {

constexpr RuleId kPlatePlanes = "plate-planes";
constexpr RuleId kCutPlanes = "cut-planes";
constexpr RuleId kBoltPlanes = "bolt-planes";
constexpr RuleId kLinkBarPlanes = "linkbar-planes";
constexpr RuleId kEmptyValueList = "empty-value-list";
constexpr RuleId kEmptySize = "empty-size";

std::string Count(long long n, const char* what) { return std::to_string(n) + " " + what + (n == 1 ? "" : "s"); }

// the counts the classes themselves test, and value lists without values
void Counts(LintContext& c, const CXMLBase& o)
{
    std::string problem;
    RuleId rule = kPlatePlanes;
    std::string attribute;
    if (o.IsKindOf(RUNTIME_CLASS(CPlateDesc))) {
        CStringArray names;
        attribute = "planes";
        if (!static_cast<const CPlateDesc&>(o).GetPlaneNames(names))
            problem = "\"planes\" holds " + Count(names.GetSize(), "name") + "; a plate needs three";
    } else if (o.IsKindOf(RUNTIME_CLASS(CCutDesc))) {
        CStringArray names;
        rule = kCutPlanes;
        attribute = "planes";
        if (!static_cast<const CCutDesc&>(o).GetPlaneNames(names))
            problem = "\"planes\" holds no name; a cut needs at least one";
    } else if (o.IsKindOf(RUNTIME_CLASS(CBoltDesc)) || o.IsKindOf(RUNTIME_CLASS(CBoltGroupDesc))) {
        AcArray<CBoltPlaneDesc*> planes;
        rule = kBoltPlanes;
        const bool ok = o.IsKindOf(RUNTIME_CLASS(CBoltDesc))
                            ? static_cast<const CBoltDesc&>(o).GetBoltPlaneDescArray(planes)
                            : static_cast<const CBoltGroupDesc&>(o).GetBoltPlaneDescArray(planes);
        if (!ok)
            problem = "has " + Count(planes.length(), "bolt plane") + "; it needs at least two";
    } else if (o.IsKindOf(RUNTIME_CLASS(CLinkBarDesc))) {
        AcArray<CPlaneDesc*> planes;
        rule = kLinkBarPlanes;
        if (!static_cast<const CLinkBarDesc&>(o).GetPlaneDescArray(planes))
            problem = "has " + Count(planes.length(), "plane") + "; a link bar needs exactly three";
    } else if (o.IsKindOf(RUNTIME_CLASS(CVarDesc))) {
        CStringArray values;
        rule = kEmptyValueList;
        if (static_cast<const CVarDesc&>(o).GetValueList(values) && values.IsEmpty())
            problem = "has a value list without values";
    }
    if (!problem.empty())
        c.Add(rule, o, attribute, Label(o) + (problem[0] == '"' ? ": " : " ") + problem);
}

void CheckPart(LintContext& c, const CXMLBase& o)
{
    Counts(c, o);
    // the texts the host needs to size the part; an empty name is unresolved-name's
    for (const Field& f : c.FieldsOf(o))
        if (f.reading.needed && !f.reading.names && f.value.IsEmpty())
            c.Add(kEmptySize, o, f.attribute,
                  Label(o) + ": \"" + f.attribute + "\" is empty: the host has nothing to size the " +
                      Noun(RegisteredClassOf(o)->cls) + " with");
}

} // namespace

void RegisterPartRules(RuleRegistry& r)
{
    r.Add({kPlatePlanes, Severity::Error, "a plate whose \"planes\" does not hold three names",
           "A plate is placed by exactly three planes, comma-separated.",
           "<CPlateDesc classtype=\"8_3\" name=\"P\" planes=\"A,B\"/>",
           "<CPlateDesc classtype=\"8_3\" name=\"P\" planes=\"A,B,C\"/>"});
    r.Add({kCutPlanes, Severity::Error, "a cut whose \"planes\" holds no name", "A cut needs at least one plane to cut with.",
           "<CCutDesc classtype=\"8_2\" name=\"C\" planes=\"\"/>", "<CCutDesc classtype=\"8_2\" name=\"C\" planes=\"A\"/>"});
    r.Add({kBoltPlanes, Severity::Error, "a bolt or bolt group with fewer than two bolt planes",
           "A bolt passes through at least two bolt planes (CBoltPlaneDesc children).",
           "<CBoltDesc classtype=\"8_17\" name=\"B\" ...><CBoltPlaneDesc classtype=\"8_16\" plane=\"A\"/></CBoltDesc>",
           "<CBoltDesc classtype=\"8_17\" name=\"B\" ...><CBoltPlaneDesc classtype=\"8_16\" plane=\"A\"/>"
           "<CBoltPlaneDesc classtype=\"8_16\" plane=\"B\"/></CBoltDesc>"});
    r.Add({kLinkBarPlanes, Severity::Error, "a link bar without exactly three planes",
           "A link bar holds exactly three planes of its own (CPlaneDesc children).",
           "<CLinkBarDesc classtype=\"8_7\" name=\"L\" ...><CPlaneDesc .../><CPlaneDesc .../></CLinkBarDesc>",
           "<CLinkBarDesc classtype=\"8_7\" name=\"L\" ...><CPlaneDesc .../><CPlaneDesc .../><CPlaneDesc .../></CLinkBarDesc>"});
    r.Add({kEmptyValueList, Severity::Warning, "a variable whose value list holds no value",
           "The user is offered no value to choose from.",
           "<CVarDesc classtype=\"8_10\" name=\"D\" ...><CValueListDesc classtype=\"8_11\"/></CVarDesc>",
           "<CVarDesc classtype=\"8_10\" name=\"D\" ...><CValueListDesc classtype=\"8_11\" v1=\"16\" v2=\"20\"/></CVarDesc>"});
    r.Add({kEmptySize, Severity::Warning, "a size expression the part needs but is empty",
           "A plate's length, width and thickness, a bolt's and a bolt group's diameter, length and number, and a "
           "link bar's length size the part (the classes say which texts the host needs); the host has nothing "
           "to size it with.",
           "<CPlateDesc classtype=\"8_3\" name=\"P\" lenexp=\"\" .../>",
           "<CPlateDesc classtype=\"8_3\" name=\"P\" lenexp=\"@P_Len\" .../>"});
}

void CheckParts(LintContext& c)
{
    for (const CNodeTypeDesc* node : c.NodeTypes())
        ForEachInNode(*node, [&](const CXMLBase& o) { CheckPart(c, o); });
}

} // namespace kvnode
