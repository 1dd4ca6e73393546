#include "support/DescTestUtil.h"

#include <KvNodeDefine/CCutDesc.h>
#include <KvNodeDefine/CLinkBarDesc.h>
#include <KvNodeDefine/CNodeTypeDesc.h>
#include <KvNodeDefine/CPlaneDesc.h>
#include <KvNodeDefine/CPlateDesc.h>

using namespace kvtest;

namespace {

// A brace of a truss joint with its three planes and a cut, a plate that
// shares the name of the next bar, and two bars of one name.
const char* const kTruss = R"(<CNodeTypeDesc name="TrussJoint" nodetype="30101">
  <CPlateDesc name="LB2"/>
  <CLinkBarDesc name="LB1" showname="Brace" sectype="1,5" sect="L63x5" len="#LB1_Len"
                attach1="PL_Gusset" attach2="PL_Chord" attach3="PL_End" firstindex="-1" secondindex="2">
    <CPlaneDesc name="LB1_P1" type="5" relplane="PL_Gusset"/>
    <CCutDesc name="LB1_Cut"/>
    <CPlaneDesc name="LB1_P2" type="5" relplane="PL_Chord"/>
    <CPlaneDesc name="LB1_P3" type="4" relplane="PL_End" rellen="10"/>
  </CLinkBarDesc>
  <CLinkBarDesc name="LB2" sectype="" firstindex="" secondindex="x"/>
  <CLinkBarDesc name="LB2" showname="second of the name"/>
</CNodeTypeDesc>)";

struct Truss : ::testing::Test {
    CXMLDocument doc;
    CNodeTypeDesc* node = LoadFirst<CNodeTypeDesc>(doc, kTruss);
    void SetUp() override { ASSERT_TRUE(node); }
};

TEST_F(Truss, FindsBarsByExactName)
{
    CLinkBarDesc* lb1 = node->FindLinkBarByName("LB1");
    CLinkBarDesc* lb2 = node->FindLinkBarByName("LB2");
    ASSERT_TRUE(lb1 && lb2);
    EXPECT_EQ(Str(lb1->GetShowName()), "Brace");
    EXPECT_EQ(Str(lb2->GetShowName()), ""); // the first bar of the name, not the plate
    EXPECT_EQ(node->FindLinkBarByName("lb1"), nullptr);
    EXPECT_EQ(node->FindLinkBarByName("LB1_P1"), nullptr);
}

TEST_F(Truss, LoadsAndSavesFields)
{
    CLinkBarDesc* lb1 = node->FindLinkBarByName("LB1");
    CLinkBarDesc* lb2 = node->FindLinkBarByName("LB2");
    ASSERT_TRUE(lb1 && lb2);
    EXPECT_EQ(Elements(lb1->GetSecTypeArray()), (std::vector<int>{1, 5}));
    EXPECT_EQ(Str(lb1->GetSecSize()), "L63x5");
    EXPECT_EQ(Str(lb1->GetLenExp()), "#LB1_Len");
    EXPECT_EQ(Str(lb1->GetAttachPlane1()), "PL_Gusset");
    EXPECT_EQ(Str(lb1->GetAttachPlane2()), "PL_Chord");
    EXPECT_EQ(Str(lb1->GetAttachPlane3()), "PL_End");
    EXPECT_EQ(lb1->GetFirstIndex(), -1);
    EXPECT_EQ(lb1->GetSecondIndex(), 2);
    EXPECT_TRUE(lb2->GetSecTypeArray().isEmpty());
    EXPECT_EQ(lb2->GetFirstIndex(), 0);
    EXPECT_EQ(lb2->GetSecondIndex(), 0);
    AcArray<CPlaneDesc*> planes;
    EXPECT_TRUE(lb1->GetPlaneDescArray(planes));

    Save(doc);
    EXPECT_EQ(Att(*lb1, "sectype"), "1,5");
    EXPECT_EQ(Att(*lb1, "firstindex"), "-1");
    EXPECT_EQ(Att(*lb1, "secondindex"), "2");
    EXPECT_EQ(Att(*lb2, "sectype"), "");
    EXPECT_EQ(Att(*lb2, "firstindex"), "0");
    EXPECT_EQ(Att(*lb2, "secondindex"), "0");
}

TEST_F(Truss, LoadingSectionTypesReplacesThem)
{
    CLinkBarDesc* lb1 = node->FindLinkBarByName("LB1");
    ASSERT_TRUE(lb1);
    const struct {
        const char* text;
        std::vector<int> types;
    } cases[] = {{"7", {7}}, {"", {}}, {"3,12,-1", {3, 12, -1}}};
    for (const auto& c : cases) {
        lb1->SetAttText("sectype", c.text);
        lb1->RefreshMemberWithAttList();
        EXPECT_EQ(Elements(lb1->GetSecTypeArray()), c.types) << c.text;
    }
}

// Exactly three planes, entries the array already holds included; the cuts
// between them are listed apart.
TEST(LinkBar, PlanesAndCuts)
{
    const struct {
        int children, held;
        bool result;
    } cases[] = {{3, 0, true}, {2, 0, false}, {4, 0, false}, {2, 1, true}, {3, 1, false}, {0, 3, true}, {0, 0, false}};
    for (const auto& c : cases) {
        CLinkBarDesc bar;
        std::vector<CCutDesc*> cuts;
        CPlaneDesc held[3];
        AcArray<CPlaneDesc*> planes;
        std::vector<CPlaneDesc*> expected;
        for (int i = 0; i < c.held; ++i) {
            planes.append(&held[i]);
            expected.push_back(&held[i]);
        }
        for (int i = 0; i < c.children; ++i) {
            cuts.push_back(new CCutDesc);
            bar.Add(cuts.back());
            expected.push_back(new CPlaneDesc);
            bar.Add(expected.back());
        }
        EXPECT_EQ(bar.GetPlaneDescArray(planes), c.result) << c.children << " + " << c.held;
        EXPECT_EQ(Elements(planes), expected);
        AcArray<CCutDesc*> listed;
        EXPECT_TRUE(bar.GetCutDescArray(listed));
        EXPECT_EQ(Elements(listed), cuts);
    }
}

TEST(LinkBar, SevenTextConstructorThenSave)
{
    CLinkBarDesc bar("LB1", "Brace", "L63x5", "#LB1_Len", "PL_Gusset", "PL_Chord", "PL_End");
    bar.SetFirstIndex(-1);
    bar.SetSecondIndex(2);
    bar.RefreshAttListWithMember();
    EXPECT_EQ(Atts(bar), (AttPairs{{"name", "LB1"}, {"showname", "Brace"}, {"sectype", ""}, {"sect", "L63x5"},
                                   {"len", "#LB1_Len"}, {"attach1", "PL_Gusset"}, {"attach2", "PL_Chord"},
                                   {"attach3", "PL_End"}, {"firstindex", "-1"}, {"secondindex", "2"}}));

    CLinkBarDesc empty;
    empty.RefreshAttListWithMember();
    EXPECT_EQ(Att(empty, "attach1"), "");
    EXPECT_EQ(Att(empty, "firstindex"), "0");
}

} // namespace
