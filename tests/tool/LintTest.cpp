#include "Lint.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using namespace kvnode;

namespace {

const char* const kExamples[] = {"beam-column-endplate.xml", "column-base.xml", "brace-gusset.xml"};

TEST(Lint, ExamplesAreClean)
{
    for (const char* name : kExamples) {
        const LintResult r = LintFile(std::string(KV_EXAMPLES) + "/" + name);
        EXPECT_TRUE(r.loaded) << name;
        for (const Finding& f : r.findings)
            ADD_FAILURE() << FormatText(f);
    }
}

// Each file under data/tool is an example with one thing broken; these are
// all the findings it gives.
struct Expected {
    const char* file;
    RuleId rule;
    int line;
    const char* text; // part of the message
};

const Expected kBroken[] = {
    {"xml-error.xml", RuleId::XmlError, 64, "start-end tags mismatch"},
    {"xml-error-encoding.xml", RuleId::XmlError, 4, "not valid UTF-8"},
    {"xml-warning.xml", RuleId::XmlWarning, 8, "<?layout?> is not kept"},
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

// Small trees that pin down how names are looked up and which fields count.
struct Case {
    const char* what;
    const char* body; // children of a node type holding member M and plane A
    std::vector<RuleId> rules;
    const char* text; // part of the first message, or null
};

const Case kCases[] = {
    {"only the fields its type uses are checked",
     R"(<CPointDesc classtype="8_12" name="P" type="3" pointdesc="0,0,0" line="Nowhere"/>)", {}, nullptr},
    {"a type outside the table checks nothing", R"(<CLineDesc classtype="8_13" name="L" type="9" memname="X"/>)", {},
     nullptr},
    {"a name the type needs left empty", R"(<CLineDesc classtype="8_13" name="L" type="1" plane1="A" plane2=""/>)",
     {RuleId::UnresolvedName}, "line \"L\": \"plane2\" is empty"},
    {"an optional name left empty", R"(<CPlaneDesc classtype="8_1" name="B" type="0" memname="M" refmem=""/>)", {},
     nullptr},
    {"a plane built on itself", R"(<CPlaneDesc classtype="8_1" name="B" type="5" relplane="B"/>)",
     {RuleId::ConstructionCycle}, "plane \"B\" --relplane--> plane \"B\""},
    {"a link bar's planes are seen from inside it only",
     R"(<CLinkBarDesc classtype="8_7" name="K" attach1="X" attach2="Y" attach3="A">
          <CPlaneDesc classtype="8_1" name="X" type="5" relplane="A"/>
          <CPlaneDesc classtype="8_1" name="Y" type="5" relplane="X"/>
          <CPlaneDesc classtype="8_1" name="Z" type="5" relplane="A"/>
          <CCutDesc classtype="8_2" name="C" planes="Z"/>
        </CLinkBarDesc>
        <CBoltGroupDesc classtype="8_5" name="G" fathername="K">
          <CBoltPlaneDesc classtype="8_16" plane="X" father="K"/>
          <CBoltPlaneDesc classtype="8_16" plane="A" father="M"/>
        </CBoltGroupDesc>)",
     {RuleId::UnresolvedName}, "bolt plane (unnamed): \"plane\" names no plane \"X\""},
    {"two planes of one name in a link bar",
     R"(<CLinkBarDesc classtype="8_7" name="K" attach1="X" attach2="X" attach3="A">
          <CPlaneDesc classtype="8_1" name="X" type="5" relplane="A"/>
          <CPlaneDesc classtype="8_1" name="X" type="5" relplane="A"/>
          <CPlaneDesc classtype="8_1" name="Y" type="5" relplane="A"/>
        </CLinkBarDesc>)",
     {RuleId::DuplicateName}, "a second plane \"X\" in link bar \"K\""},
    {"one name for descriptors of different kinds, and empty names",
     R"(<CLineDesc classtype="8_13" name="A" type="0" memname="M"/>
        <CLineDesc classtype="8_13" type="0" memname="M"/><CLineDesc classtype="8_13" type="0" memname="M"/>)",
     {}, nullptr},
    {"father fields name any kind; a variable needs no value list",
     R"(<CPlateDesc classtype="8_3" name="P" planes="A,A,A" varitem="V"/>
        <CBoltDesc classtype="8_17" name="B" fathername="A" point="Q" plane="A" len="#V_Len">
          <CBoltPlaneDesc classtype="8_16" plane="A" father="P"/><CBoltPlaneDesc classtype="8_16" plane="A" father="M"/>
        </CBoltDesc>
        <CPointDesc classtype="8_12" name="Q" type="0" memname="M"/>
        <CVarItemDesc classtype="8_9" name="V"><CVarDesc classtype="8_10" name="Len" value="1"/></CVarItemDesc>)",
     {}, nullptr},
};

TEST(Lint, NamesAndFields)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        const std::string xml = std::string(R"(<CNodeAttDef classtype="8_0"><CNodeTypeDesc classtype="8_6" name="N">)") +
                                R"(<CNodeMemberDesc classtype="8_4" name="M" linkplanes="0"/>)" +
                                R"(<CPlaneDesc classtype="8_1" name="A" type="0" memname="M"/>)" + c.body +
                                "</CNodeTypeDesc></CNodeAttDef>";
        CXMLDocument doc;
        doc.SetRecordPositions(true);
        ASSERT_TRUE(doc.LoadXml(xml.data(), xml.size())) << doc.GetErrorText();
        const std::vector<Finding> findings = LintDocument(doc, "<memory>");
        std::vector<RuleId> rules;
        for (const Finding& f : findings)
            rules.push_back(f.rule);
        EXPECT_EQ(rules, c.rules) << (findings.empty() ? std::string() : FormatText(findings.front()));
        if (c.text && !findings.empty()) {
            EXPECT_NE(findings.front().message.find(c.text), std::string::npos) << findings.front().message;
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
