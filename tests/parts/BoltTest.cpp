#include "support/DescTestUtil.h"

#include <KvNodeDefine/CBoltDesc.h>
#include <KvNodeDefine/CBoltGroupDesc.h>
#include <KvNodeDefine/CBoltPlaneDesc.h>
#include <KvNodeDefine/CNodeTypeDesc.h>
#include <KvNodeDefine/CPointDesc.h>

using namespace kvtest;
using namespace SteelSystem;

namespace {

TEST(Bolt, SavesEveryFieldWithNumLastAndLoadsThemBack)
{
    CXMLDocument doc;
    CBoltDesc* bolt = new CBoltDesc;
    doc.SetRoot(bolt);
    bolt->SetName("AB1");
    bolt->SetShowName("Anchor bolt");
    bolt->SetMaterial(Q345);
    bolt->SetBoltGrade(Grade8_8);
    bolt->SetDiamExp("#AB_MaoDiam");
    bolt->SetLenExp("#AB_Len");
    bolt->SetNumExp("4");
    bolt->SetDianBanLenExp("100");
    bolt->SetDianBanWidthExp("90");
    bolt->SetDianBanThickExp("20");
    bolt->SetFatherName("BasePlate");
    bolt->SetPointName("P_Anchor");
    bolt->SetPlaneName("PL_Base");
    const std::string text = Save(doc);
    // "num" comes last although its field comes before the washer plate's
    EXPECT_EQ(Atts(*bolt), (AttPairs{{"name", "AB1"}, {"showname", "Anchor bolt"}, {"material", "3"},
                                     {"boltgrade", "5"}, {"diam", "#AB_MaoDiam"}, {"len", "#AB_Len"},
                                     {"dlen", "100"}, {"dwidth", "90"}, {"dthick", "20"}, {"fathername", "BasePlate"},
                                     {"point", "P_Anchor"}, {"plane", "PL_Base"}, {"num", "4"}}));

    CXMLDocument again;
    CBoltDesc* loaded = LoadFirst<CBoltDesc>(again, text);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->GetMaterial(), Q345);
    EXPECT_EQ(loaded->GetBoltGrade(), Grade8_8);
    for (auto get : {&CBoltDesc::GetDiamExp, &CBoltDesc::GetLenExp, &CBoltDesc::GetNumExp,
                     &CBoltDesc::GetDianBanLenExp, &CBoltDesc::GetDianBanWidthExp, &CBoltDesc::GetDianBanThickExp,
                     &CBoltDesc::GetFatherName, &CBoltDesc::GetPointName, &CBoltDesc::GetPlaneName})
        EXPECT_EQ(Str((loaded->*get)()), Str((bolt->*get)()));
}

TEST(BoltPlane, SavesPlaneThenFather)
{
    CXMLDocument doc;
    CBoltPlaneDesc* plane = LoadFirst<CBoltPlaneDesc>(doc, R"(<CBoltPlaneDesc father="EndPlate" plane="PL_End"/>)");
    ASSERT_TRUE(plane);
    EXPECT_EQ(Str(plane->GetPlaneName()), "PL_End");
    EXPECT_EQ(Str(plane->GetFatherName()), "EndPlate");

    CBoltPlaneDesc fresh;
    fresh.RefreshAttListWithMember();
    EXPECT_EQ(AttNames(fresh), (Names{"name", "showname", "plane", "father"}));
}

TEST(BoltGroup, TenArgumentConstructorThenSave)
{
    CXMLDocument doc;
    doc.SetRoot(new CBoltGroupDesc("G1", "Flange bolts", "EndPlate", "2", Q345, Grade10_9, TorsionalShear,
                                   "#G1_BoltDiam", "#G1_Len", "#G1_Num"));
    const std::string text = Save(doc);
    EXPECT_EQ(Atts(*doc.GetRoot()),
              (AttPairs{{"name", "G1"}, {"showname", "Flange bolts"}, {"material", "3"}, {"boltgrade", "7"},
                        {"bolttype", "4"}, {"diam", "#G1_BoltDiam"}, {"len", "#G1_Len"}, {"num", "#G1_Num"},
                        {"fathername", "EndPlate"}, {"fatherindex", "2"}, {"priorflag", ""}}));

    CXMLDocument again;
    CBoltGroupDesc* group = LoadFirst<CBoltGroupDesc>(again, text);
    ASSERT_TRUE(group);
    EXPECT_EQ(Str(group->GetName()), "G1");
    EXPECT_EQ(group->GetMaterial(), Q345);
    EXPECT_EQ(group->GetBoltGrade(), Grade10_9);
    EXPECT_EQ(group->GetBoltType(), TorsionalShear);
    EXPECT_EQ(Str(group->GetFatherSideIndex()), "2");
    EXPECT_EQ(Str(group->GetNumExp()), "#G1_Num");
}

// Enumerations load by the atoi rule and keep numbers outside their range;
// a display text gives its leading digits, not the value it names.
TEST(BoltEnums, LoadByLeadingDigitsAndSaveTheNumber)
{
    const struct {
        const char* text; // GBK
        int value;
    } cases[] = {{"12", 12}, {"8.8\xBC\xB6", 8}, {"10.9\xBC\xB6", 10}, {"Q345", 0}, {" -2", -2}, {"", 0}};
    for (const auto& c : cases) {
        const std::string t = c.text;
        const std::string xml = "<?xml version=\"1.0\" encoding=\"GBK\"?>\n<CNodeTypeDesc>"
                                "<CBoltDesc material=\"" + t + "\" boltgrade=\"" + t + "\"/>"
                                "<CBoltGroupDesc material=\"" + t + "\" boltgrade=\"" + t + "\" bolttype=\"" + t +
                                "\"/></CNodeTypeDesc>";
        CXMLDocument doc;
        CBoltDesc* bolt = LoadFirst<CBoltDesc>(doc, xml);
        CBoltGroupDesc* group = FirstOf<CBoltGroupDesc>(doc);
        ASSERT_TRUE(bolt && group);
        EXPECT_EQ(bolt->GetMaterial(), c.value) << c.text;
        EXPECT_EQ(bolt->GetBoltGrade(), c.value) << c.text;
        EXPECT_EQ(group->GetMaterial(), c.value) << c.text;
        EXPECT_EQ(group->GetBoltGrade(), c.value) << c.text;
        EXPECT_EQ(group->GetBoltType(), c.value) << c.text;
        Save(doc);
        const std::string saved = std::to_string(c.value);
        for (const char* name : {"material", "boltgrade"}) {
            EXPECT_EQ(Att(*bolt, name), saved) << name << " " << c.text;
            EXPECT_EQ(Att(*group, name), saved) << name << " " << c.text;
        }
        EXPECT_EQ(Att(*group, "bolttype"), saved) << c.text;
    }
}

TEST(BoltVarItemName, FromTheFirstExpressionWithItsSuffix)
{
    const struct {
        const char *len, *diam, *num;
        const char* bolt;  // diameter suffix "_MaoDiam"
        const char* group; // diameter suffix "_BoltDiam"
    } cases[] = {
        {"#LS1_Len", "", "", "LS1", "LS1"},
        {"#LS1_Len", "#D_MaoDiam", "#N_Num", "LS1", "LS1"}, // the length wins
        {"_Len", "#D_MaoDiam", "#N_Num", "", ""},
        {"a_Len", "", "", "a", "a"},
        {"L+10", "#M24_MaoDiam", "#N_Num", "M24", "N"},
        {"L+10", "#M24_BoltDiam", "#N_Num", "N", "M24"},
        {"", "x_MaoDiam", "", "x", ""},
        {"", "", "#B_Num", "B", "B"},
        {"L+10", "M24", "4", "", ""},
        // every occurrence goes, then the first byte whatever it is
        {"#EP_Len*2+EP_Len", "", "", "EP*2+EP", "EP*2+EP"},
        {"2*B_Len", "", "", "*B", "*B"},
        // one that only arises from joining stays
        {"a__LenLen", "", "", "_Len", "_Len"},
        // "_" as the second byte of a GBK character starts no match
        {"x\x81_Len", "#M_MaoDiam", "#K_Num", "M", "K"},
        {"#\x81_Len_Len", "", "", "\x81_Len", "\x81_Len"},
    };
    for (const auto& c : cases) {
        CBoltDesc bolt;
        bolt.SetLenExp(c.len);
        bolt.SetDiamExp(c.diam);
        bolt.SetNumExp(c.num);
        CBoltGroupDesc group;
        group.SetLenExp(c.len);
        group.SetDiamExp(c.diam);
        group.SetNumExp(c.num);
        EXPECT_EQ(Str(bolt.GetVarItemName()), c.bolt) << c.len << " | " << c.diam << " | " << c.num;
        EXPECT_EQ(Str(group.GetVarItemName()), c.group) << c.len << " | " << c.diam << " | " << c.num;
    }
}

// Bolts and groups need two bolt planes; entries the array already holds count.
template <class Owner>
void CheckBoltPlaneCount()
{
    const struct {
        int children, held;
        bool result;
    } cases[] = {{0, 0, false}, {1, 0, false}, {2, 0, true}, {3, 0, true}, {0, 2, true}, {1, 1, true}, {0, 1, false}};
    for (const auto& c : cases) {
        Owner owner;
        CBoltPlaneDesc held[2];
        AcArray<CBoltPlaneDesc*> planes;
        std::vector<CBoltPlaneDesc*> expected;
        for (int i = 0; i < c.held; ++i) {
            planes.append(&held[i]);
            expected.push_back(&held[i]);
        }
        for (int i = 0; i < c.children; ++i) {
            owner.Add(new CPointDesc); // other children are skipped
            expected.push_back(new CBoltPlaneDesc);
            owner.Add(expected.back());
        }
        EXPECT_EQ(owner.GetBoltPlaneDescArray(planes), c.result) << c.children << " + " << c.held;
        EXPECT_EQ(Elements(planes), expected);
    }
}

TEST(BoltPlaneCount, OfBolt) { CheckBoltPlaneCount<CBoltDesc>(); }
TEST(BoltPlaneCount, OfBoltGroup) { CheckBoltPlaneCount<CBoltGroupDesc>(); }

} // namespace
