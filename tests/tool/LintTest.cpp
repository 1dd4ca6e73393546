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
    {"xml-error.xml", "xml-error", 64, "end tag </CNodeTypeDesc> does not match <CLineDesc> opened at line 11"},
    {"xml-error-encoding.xml", "xml-error", 4, "not valid UTF-8 (every byte reads as GBK: does the declaration lack encoding=\"GBK\"?)"},
    {"xml-warning.xml", "xml-warning", 45, "<CValueListDesc> holds no children"},
    {"unknown-class.xml", "unknown-class", 30, "\"8_40\" of <CWeldDesc>"},
    {"unresolved-name.xml", "unresolved-name", 29, "names no plane \"BeamWebPlan\" (did you mean \"BeamWebPlane\"?)"},
    {"unresolved-name.xml", "unresolved-name", 29, "no plane \"BeamAxis\" (line \"BeamAxis\" has that name)"},
    {"unresolved-varitem.xml", "unresolved-name", 37,
     "\"varitem\" (from its expressions) names no variable item \"Bolts\" (did you mean \"Bolt\"?); it comes from "
     "\"len\"=\"@Bolts_Len\" with \"_Len\" taken out and its first character \"@\" dropped"},
    {"unresolved-varitem.xml", "unused-varitem", 56, "variable item \"Bolt\""},
    {"duplicate-name.xml", "duplicate-name", 15, "vector \"BeamDir\" in node type \"BeamColumnEndPlate\" (the first is at line 12)"},
    {"plate-planes.xml", "plate-planes", 29, "holds 2 names"},
    {"cut-planes.xml", "cut-planes", 31, "cut \"TopCornerCut\""},
    {"bolt-planes.xml", "bolt-planes", 32, "bolt \"AnchorBoltNear\" has 1 bolt plane"},
    {"linkbar-planes.xml", "linkbar-planes", 35, "has 2 planes"},
    {"construction-cycle.xml", "construction-cycle", 13,
     "vector \"ColumnDir\" --line--> line \"TopRowLine\" --point--> point \"TopBoltRow\" --vec--> vector \"ColumnDir\""},
    {"cycles.xml", "construction-cycle", 7,
     "vector \"V0\" --vec1--> vector \"V1\" --vec1--> vector \"V2\" --vec1--> vector \"V3\" --vec1--> ... (4 more steps) "
     "... vector \"V8\" --vec1--> vector \"V9\" --vec1--> vector \"V0\""},
    {"cycles.xml", "construction-cycle", 21, "vector \"X\" --vec1--> vector \"Y\" --vec1--> vector \"X\"; 3 constructions reach one another"},
    {"cycles.xml", "construction-cycle", 30, "point \"A\" --oldpoint--> point \"B\" --oldpoint--> point \"A\""},
    {"cycles.xml", "construction-cycle", 32, "point \"C\" --oldpoint--> point \"C\""},
    {"empty-value-list.xml", "empty-value-list", 69, "variable \"BoltDiam\""},
    {"unused-varitem.xml", "unused-varitem", 42, "variable item \"Weld\""},
    // how names are looked up and which fields count: one node type per case
    {"lookups.xml", "value-out-of-table", 9, "line \"L\": \"type\" is 9, which is none of 0 (LineByMember)"},
    {"lookups.xml", "unresolved-name", 15, "line \"L\": \"plane2\" is empty"},
    {"lookups.xml", "construction-cycle", 22, "plane \"B\" --relplane--> plane \"B\""},
    {"lookups.xml", "unresolved-name", 35, "bolt plane (unnamed): \"plane\" names no plane \"X\""},
    {"lookups.xml", "duplicate-name", 45, "a second plane \"X\" in link bar \"K\""},
    {"lookups.xml", "unresolved-name", 73, "\"plane1\" names no plane \"Web Plane\" (did you mean \"WebPlane\"? only blanks differ)"},
    {"lookups.xml", "unresolved-name", 73, "\"plane2\" names no plane \"webplane\" (did you mean \"WebPlane\"? only letter case differs)"},
    // numbers the host reads otherwise than written
    {"bad-number.xml", "bad-number", 37, "\"boltgrade\" is \"8.8\", which has a decimal point: the host reads 8 (12.9级); the value of 8.8级 is 5"},
    {"numbers.xml", "bad-number", 4, "\"nodetype\" is \"1O201\", which has other characters after the digits: the host reads 1"},
    {"numbers.xml", "bad-number", 5, "\"sectype\" is \"1,,2\": item 2 is empty"},
    {"numbers.xml", "bad-number", 5, "\"rotangles\" is \"0,9O\": item 2 \"9O\" has other characters after the number, and the host reads it as 9"},
    {"numbers.xml", "bad-number", 7, "\"material\" is \"Q345\", which has no digits: the host reads 0 (Q215); the value of Q345 is 3"},
    {"numbers.xml", "value-out-of-table", 8, "\"boltgrade\" is 88, which is none of 0 (3.6级)"},
    {"numbers.xml", "bad-number", 12, "\"firstindex\" is \"99999999999\", which is outside the 32-bit range"},
    {"numbers.xml", "bad-number", 22, "plane \"B\": \"type\" is \"PlaneByRelPlaneLen\", which has no digits: the host reads 0 (PlaneByMember0); the value of PlaneByRelPlaneLen is 4"},
    {"numbers.xml", "bad-number", 23, "these are full-width digits: write 4"},
    {"numbers.xml", "value-out-of-table", 24, "plane \"D\": \"type\" is 9"},
    {"numbers.xml", "bad-number", 25, "plane \"E\": \"type\" is missing"},
    {"value-out-of-table.xml", "value-out-of-table", 37, "\"bolttype\" is 12, which is none of 0 (普通A级六角头)"},
    // attributes no class reads
    {"misspelt-attribute.xml", "misspelt-attribute", 29, "no plate reads \"lenexpr\" (did you mean \"lenexp\"?), so \"lenexp\" stays empty"},
    {"misspelt-attribute.xml", "empty-size", 29, "\"lenexp\" is empty"},
    {"unknown-attribute.xml", "unknown-attribute", 29, "no plate reads \"colour\"; it is kept"},
    // the shape of the tree
    {"misplaced-element.xml", "misplaced-element", 8, "a plate in member \"Beam\", whose lists see only cuts"},
    {"nodetype-root.xml", "misplaced-element", 2, "the root <CNodeTypeDesc> is not a node definition document"},
    {"not-a-node-document.xml", "misplaced-element", 2, "the root <Project>"},
    {"not-a-node-document.xml", "unknown-class", 2, "<Project>"},
    {"tree.xml", "misplaced-element", 7, "a variable in node type \"N1\""},
    {"tree.xml", "misplaced-element", 9, "a cut in variable item \"V\", whose lists see only variables"},
    {"tree.xml", "misplaced-element", 13, "a value list in variable item \"V\""},
    {"tree.xml", "misplaced-element", 15, "node type \"Inner\" in node type \"N1\""},
    {"tree.xml", "class-mismatch", 22, "<CLineDesc> has the class index of CPlaneDesc"},
    {"class-mismatch.xml", "class-mismatch", 30, "<CPlateDesc> has class index \"8_33\", which no class has (a CPlateDesc's is \"8_3\")"},
    // what the host needs, writes and decodes
    {"empty-size.xml", "empty-size", 29, "plate \"EndPlate\": \"thickexp\" is empty"},
    {"unwritable-text.xml", "unwritable-text", 43, "variable \"Thick\": \"formattype\" is held as \"\\xD0\""},
    {"encoding-mismatch.xml", "encoding-mismatch", 1, "the declaration says GBK, but every non-ASCII byte reads as UTF-8"},
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
        EXPECT_EQ(r.loaded, entry.second.front()->rule != kXmlError);
        ASSERT_EQ(r.findings.size(), entry.second.size());
        for (size_t i = 0; i < r.findings.size(); ++i) {
            const Finding& f = r.findings[i];
            const Expected& e = *entry.second[i];
            EXPECT_EQ(f.rule, e.rule) << FormatText(f);
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
    Finding f{"a \"b\".xml", 3, 7, "unused-varitem", "tab\there"};
    EXPECT_EQ(FormatText(f), "a \"b\".xml:3:7: warning: tab\there [unused-varitem]");
    f.line = f.column = 0;
    EXPECT_EQ(FormatText(f), "a \"b\".xml: warning: tab\there [unused-varitem]");
}

} // namespace
