#include "rules/Controls.h"
#include "rules/Lint.h"
#include "support/DescTestUtil.h"

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
    {"xml-error-encoding.xml", RuleId::XmlError, 4, "not valid UTF-8 (every byte reads as GBK: does the declaration lack encoding=\"GBK\"?)"},
    {"xml-warning.xml", RuleId::XmlWarning, 45, "<CValueListDesc> holds no children"},
    {"unknown-class.xml", RuleId::UnknownClass, 30, "\"8_40\" of <CWeldDesc>"},
    {"unresolved-name.xml", RuleId::UnresolvedName, 29, "names no plane \"BeamWebPlan\" (did you mean \"BeamWebPlane\"?)"},
    {"unresolved-name.xml", RuleId::UnresolvedName, 29, "no plane \"BeamAxis\" (line \"BeamAxis\" has that name)"},
    {"unresolved-varitem.xml", RuleId::UnresolvedName, 37,
     "\"varitem\" (from its expressions) names no variable item \"Bolts\" (did you mean \"Bolt\"?); it comes from "
     "\"len\"=\"@Bolts_Len\" with \"_Len\" taken out and its first character \"@\" dropped"},
    {"unresolved-varitem.xml", RuleId::UnusedVarItem, 56, "variable item \"Bolt\""},
    {"duplicate-name.xml", RuleId::DuplicateName, 15, "vector \"BeamDir\" in node type \"BeamColumnEndPlate\" (the first is at line 12)"},
    {"plate-planes.xml", RuleId::PlatePlanes, 29, "holds 2 names"},
    {"cut-planes.xml", RuleId::CutPlanes, 31, "cut \"TopCornerCut\""},
    {"bolt-planes.xml", RuleId::BoltPlanes, 32, "bolt \"AnchorBoltNear\" has 1 bolt plane"},
    {"linkbar-planes.xml", RuleId::LinkBarPlanes, 35, "has 2 planes"},
    {"construction-cycle.xml", RuleId::ConstructionCycle, 13,
     "vector \"ColumnDir\" --line--> line \"TopRowLine\" --point--> point \"TopBoltRow\" --vec--> vector \"ColumnDir\""},
    {"cycles.xml", RuleId::ConstructionCycle, 7,
     "vector \"V0\" --vec1--> vector \"V1\" --vec1--> vector \"V2\" --vec1--> vector \"V3\" --vec1--> ... (4 more steps) "
     "... vector \"V8\" --vec1--> vector \"V9\" --vec1--> vector \"V0\""},
    {"cycles.xml", RuleId::ConstructionCycle, 21, "vector \"X\" --vec1--> vector \"Y\" --vec1--> vector \"X\"; 3 constructions reach one another"},
    {"cycles.xml", RuleId::ConstructionCycle, 30, "point \"A\" --oldpoint--> point \"B\" --oldpoint--> point \"A\""},
    {"cycles.xml", RuleId::ConstructionCycle, 32, "point \"C\" --oldpoint--> point \"C\""},
    {"empty-value-list.xml", RuleId::EmptyValueList, 69, "variable \"BoltDiam\""},
    {"unused-varitem.xml", RuleId::UnusedVarItem, 42, "variable item \"Weld\""},
    // how names are looked up and which fields count: one node type per case
    {"lookups.xml", RuleId::ValueOutOfTable, 9, "line \"L\": \"type\" is 9, which is none of 0 (LineByMember)"},
    {"lookups.xml", RuleId::UnresolvedName, 15, "line \"L\": \"plane2\" is empty"},
    {"lookups.xml", RuleId::ConstructionCycle, 22, "plane \"B\" --relplane--> plane \"B\""},
    {"lookups.xml", RuleId::UnresolvedName, 35, "bolt plane (unnamed): \"plane\" names no plane \"X\""},
    {"lookups.xml", RuleId::DuplicateName, 45, "a second plane \"X\" in link bar \"K\""},
    {"lookups.xml", RuleId::UnresolvedName, 73, "\"plane1\" names no plane \"Web Plane\" (did you mean \"WebPlane\"? only blanks differ)"},
    {"lookups.xml", RuleId::UnresolvedName, 73, "\"plane2\" names no plane \"webplane\" (did you mean \"WebPlane\"? only letter case differs)"},
    // numbers the host reads otherwise than written
    {"bad-number.xml", RuleId::BadNumber, 37, "\"boltgrade\" is \"8.8\", which has a decimal point: the host reads 8 (12.9级); the value of 8.8级 is 5"},
    {"numbers.xml", RuleId::BadNumber, 4, "\"nodetype\" is \"1O201\", which has other characters after the digits: the host reads 1"},
    {"numbers.xml", RuleId::BadNumber, 5, "\"sectype\" is \"1,,2\": item 2 is empty"},
    {"numbers.xml", RuleId::BadNumber, 5, "\"rotangles\" is \"0,9O\": item 2 \"9O\" has other characters after the number, and the host reads it as 9"},
    {"numbers.xml", RuleId::BadNumber, 7, "\"material\" is \"Q345\", which has no digits: the host reads 0 (Q215); the value of Q345 is 3"},
    {"numbers.xml", RuleId::ValueOutOfTable, 8, "\"boltgrade\" is 88, which is none of 0 (3.6级)"},
    {"numbers.xml", RuleId::BadNumber, 12, "\"firstindex\" is \"99999999999\", which is outside the 32-bit range"},
    {"numbers.xml", RuleId::BadNumber, 22, "plane \"B\": \"type\" is \"PlaneByRelPlaneLen\", which has no digits: the host reads 0 (PlaneByMember0); the value of PlaneByRelPlaneLen is 4"},
    {"numbers.xml", RuleId::BadNumber, 23, "these are full-width digits: write 4"},
    {"numbers.xml", RuleId::ValueOutOfTable, 24, "plane \"D\": \"type\" is 9"},
    {"numbers.xml", RuleId::BadNumber, 25, "plane \"E\": \"type\" is missing"},
    {"value-out-of-table.xml", RuleId::ValueOutOfTable, 37, "\"bolttype\" is 12, which is none of 0 (普通A级六角头)"},
    // attributes no class reads
    {"misspelt-attribute.xml", RuleId::MisspeltAttribute, 29, "no plate reads \"lenexpr\" (did you mean \"lenexp\"?), so \"lenexp\" stays empty"},
    {"misspelt-attribute.xml", RuleId::EmptySize, 29, "\"lenexp\" is empty"},
    {"unknown-attribute.xml", RuleId::UnknownAttribute, 29, "no plate reads \"colour\"; it is kept"},
    // the shape of the tree
    {"misplaced-element.xml", RuleId::MisplacedElement, 8, "a plate in member \"Beam\", whose lists see only cuts"},
    {"nodetype-root.xml", RuleId::MisplacedElement, 2, "the root <CNodeTypeDesc> is not a node definition document"},
    {"not-a-node-document.xml", RuleId::MisplacedElement, 2, "the root <Project>"},
    {"not-a-node-document.xml", RuleId::UnknownClass, 2, "<Project>"},
    {"tree.xml", RuleId::MisplacedElement, 7, "a variable in node type \"N1\""},
    {"tree.xml", RuleId::MisplacedElement, 9, "a cut in variable item \"V\", whose lists see only variables"},
    {"tree.xml", RuleId::MisplacedElement, 13, "a value list in variable item \"V\""},
    {"tree.xml", RuleId::MisplacedElement, 15, "node type \"Inner\" in node type \"N1\""},
    {"tree.xml", RuleId::ClassMismatch, 22, "<CLineDesc> has the class index of CPlaneDesc"},
    {"class-mismatch.xml", RuleId::ClassMismatch, 30, "<CPlateDesc> has class index \"8_33\", which no class has (a CPlateDesc's is \"8_3\")"},
    // what the host needs, writes and decodes
    {"empty-size.xml", RuleId::EmptySize, 29, "plate \"EndPlate\": \"thickexp\" is empty"},
    {"unwritable-text.xml", RuleId::UnwritableText, 43, "variable \"Thick\": \"formattype\" is held as \"\\xD0\""},
    {"encoding-mismatch.xml", RuleId::EncodingMismatch, 1, "the declaration says GBK, but every non-ASCII byte reads as UTF-8"},
};

LintResult LintFile(const std::string& path) { return Lint(path, kvtest::ReadFile(path), Controls()); }

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

TEST(Lint, ColumnIsAtTheOpeningOfTheConstruct)
{
    // line 45 holds "...v6="28"><range from=...": the "<" of <range is at column 90
    const LintResult r = LintFile(std::string(KV_TEST_DATA) + "/tool/xml-warning.xml");
    ASSERT_EQ(r.findings.size(), 1u);
    EXPECT_EQ(r.findings[0].column, 90) << FormatText(r.findings[0]);
}

TEST(Lint, WhatPassesGivesNoFinding)
{
    // the examples, and one that points an editor at the schema
    for (const std::string& file :
         {std::string(KV_EXAMPLES) + "/beam-column-endplate.xml", std::string(KV_EXAMPLES) + "/brace-gusset.xml",
          std::string(KV_EXAMPLES) + "/column-base.xml", std::string(KV_TEST_DATA) + "/tool/schema-location.xml"}) {
        const LintResult r = LintFile(file);
        EXPECT_TRUE(r.loaded) << file;
        for (const Finding& f : r.findings)
            ADD_FAILURE() << FormatText(f);
    }
}

TEST(Lint, Output)
{
    Finding f{"a \"b\".xml", 3, 7, RuleId::UnusedVarItem, "tab\there"};
    EXPECT_EQ(FormatText(f), "a \"b\".xml:3:7: warning: tab\there [unused-varitem]");
    f.line = f.column = 0;
    EXPECT_EQ(FormatText(f), "a \"b\".xml: warning: tab\there [unused-varitem]");
}

} // namespace
