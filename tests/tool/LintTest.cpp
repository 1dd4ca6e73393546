#include "Lint.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using namespace kvnode;

namespace {

// Each file under data/tool is an example with one thing broken, or small
// cases with a comment each; these are all the findings it gives.
struct Expected {
    const char* file;
    RuleId rule;
    int line;
    const char* text; // part of the message
};

const Expected kBroken[] = {
    {"xml-error.xml", RuleId::XmlError, 64, "end tag </CNodeTypeDesc> does not match <CLineDesc> opened at line 11"},
    {"xml-error-encoding.xml", RuleId::XmlError, 4, "not valid UTF-8"},
    {"xml-warning.xml", RuleId::XmlWarning, 45, "<CValueListDesc> holds no children"},
    {"unknown-class.xml", RuleId::UnknownClass, 30, "\"8_40\" of <CWeldDesc>"},
    {"unresolved-name.xml", RuleId::UnresolvedName, 29, "names no plane \"BeamWebPlan\""},
    {"unresolved-name.xml", RuleId::UnresolvedName, 29, "no plane \"BeamAxis\" (line \"BeamAxis\" has that name)"},
    {"unresolved-varitem.xml", RuleId::UnresolvedName, 37, "\"varitem\" (from its expressions) names no variable item \"Bolts\""},
    {"unresolved-varitem.xml", RuleId::UnusedVarItem, 56, "variable item \"Bolt\""},
    {"duplicate-name.xml", RuleId::DuplicateName, 15, "vector \"BeamDir\" in node type \"BeamColumnEndPlate\" (the first is at line 12)"},
    {"plate-planes.xml", RuleId::PlatePlanes, 29, "holds 2 names"},
    {"cut-planes.xml", RuleId::CutPlanes, 31, "cut \"TopCornerCut\""},
    {"bolt-planes.xml", RuleId::BoltPlanes, 32, "bolt \"AnchorBoltNear\" has 1 bolt plane"},
    {"linkbar-planes.xml", RuleId::LinkBarPlanes, 35, "has 2 planes"},
    {"construction-cycle.xml", RuleId::ConstructionCycle, 13,
     "vector \"ColumnDir\" --line--> line \"TopRowLine\" --point--> point \"TopBoltRow\" --vec--> vector \"ColumnDir\""},
    {"empty-value-list.xml", RuleId::EmptyValueList, 69, "variable \"BoltDiam\""},
    {"unused-varitem.xml", RuleId::UnusedVarItem, 42, "variable item \"Weld\""},
    // how names are looked up and which fields count: one node type per case
    {"lookups.xml", RuleId::UnresolvedName, 15, "line \"L\": \"plane2\" is empty"},
    {"lookups.xml", RuleId::ConstructionCycle, 22, "plane \"B\" --relplane--> plane \"B\""},
    {"lookups.xml", RuleId::UnresolvedName, 35, "bolt plane (unnamed): \"plane\" names no plane \"X\""},
    {"lookups.xml", RuleId::DuplicateName, 45, "a second plane \"X\" in link bar \"K\""},
};

TEST(Lint, EachBrokenVariantGivesItsFindings)
{
    std::map<std::string, std::vector<const Expected*>> byFile;
    for (const Expected& e : kBroken)
        byFile[e.file].push_back(&e);
    for (const auto& entry : byFile) {
        SCOPED_TRACE(entry.first);
        const LintResult r = LintFile(std::string(KV_TEST_DATA) + "/tool/" + entry.first);
        EXPECT_EQ(r.loaded, entry.second.front()->rule != RuleId::XmlError);
        ASSERT_EQ(r.findings.size(), entry.second.size());
        for (size_t i = 0; i < r.findings.size(); ++i) {
            const Finding& f = r.findings[i];
            const Expected& e = *entry.second[i];
            EXPECT_EQ(RuleOf(f.rule).id, RuleOf(e.rule).id) << FormatText(f);
            EXPECT_EQ(f.line, e.line) << FormatText(f);
            EXPECT_NE(f.message.find(e.text), std::string::npos) << FormatText(f);
        }
    }
}

TEST(Lint, Output)
{
    Finding f{"a \"b\".xml", 3, 7, RuleId::UnusedVarItem, "tab\there"};
    EXPECT_EQ(FormatText(f), "a \"b\".xml:3:7: warning: tab\there [unused-varitem]");
    f.line = f.column = 0;
    EXPECT_EQ(FormatText(f), "a \"b\".xml: warning: tab\there [unused-varitem]");
    EXPECT_EQ(FormatJson({f}), "[\n  {\"file\": \"a \\\"b\\\".xml\", \"line\": 0, \"column\": 0, \"severity\": \"warning\", "
                               "\"rule\": \"unused-varitem\", \"message\": \"tab\\there\"}\n]\n");
    EXPECT_EQ(FormatJson({}), "[]\n");
}

} // namespace
