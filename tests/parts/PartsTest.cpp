// Bolts, bolt groups, bolt planes and link bars. What each loads and saves is
// in data/parts, each case with its reason.
#include "support/DescTestUtil.h"

#include <array>

using namespace kvtest;
using namespace SteelSystem;

namespace {

TEST(Parts, LoadAndSaveRules) { ExpectDescribed("parts/rules"); }

TEST(Parts, ConstructorsFillTheFieldsInArgumentOrder)
{
    CBoltGroupDesc group("G1", "Flange bolts", "EndPlate", "2", Q345, Grade10_9, TorsionalShear, "#G1_BoltDiam",
                         "#G1_Len", "#G1_Num");
    EXPECT_EQ(SavedFields(group), R"(name="G1" showname="Flange bolts" material="3" boltgrade="7" bolttype="4" )"
                                  R"(diam="#G1_BoltDiam" len="#G1_Len" num="#G1_Num" fathername="EndPlate" )"
                                  R"(fatherindex="2" priorflag="")");
    CLinkBarDesc bar("LB1", "Brace", "L63x5", "#LB1_Len", "PL_Gusset", "PL_Chord", "PL_End");
    EXPECT_EQ(SavedFields(bar), R"(name="LB1" showname="Brace" sectype="" sect="L63x5" len="#LB1_Len" )"
                                R"(attach1="PL_Gusset" attach2="PL_Chord" attach3="PL_End" firstindex="0" secondindex="0")");
}

TEST(LinkBar, ReloadReplacesTheSectionTypes)
{
    CLinkBarDesc bar;
    for (const char* text : {"3,12,-1", "7"}) {
        bar.SetAttText("sectype", text);
        bar.RefreshMemberWithAttList();
    }
    EXPECT_EQ(Text(bar.GetSecTypeArray()), "7");
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

// Each case: {plane children, planes the array already holds, result}. Held
// entries count; other children between the planes are skipped.
template <class Owner, class Plane>
void ExpectPlaneCount(bool (Owner::*list)(AcArray<Plane*>&) const, const std::vector<std::array<int, 3>>& cases)
{
    for (const auto& [children, held, result] : cases) {
        Owner owner;
        Plane heldPlanes[3];
        AcArray<Plane*> planes;
        std::vector<Plane*> expected;
        for (int i = 0; i < held; ++i) {
            planes.append(&heldPlanes[i]);
            expected.push_back(&heldPlanes[i]);
        }
        for (int i = 0; i < children; ++i) {
            owner.Add(new CCutDesc);
            expected.push_back(new Plane);
            owner.Add(expected.back());
        }
        EXPECT_EQ((owner.*list)(planes), result != 0) << children << " + " << held;
        EXPECT_EQ(std::vector<Plane*>(planes.asArrayPtr(), planes.asArrayPtr() + planes.length()), expected);
    }
}

// Bolts and groups need two bolt planes at least, a link bar exactly three planes.
TEST(PlaneCount, OfBoltsAndLinkBars)
{
    const std::vector<std::array<int, 3>> two = {{0, 0, 0}, {1, 0, 0}, {2, 0, 1}, {3, 0, 1},
                                                 {0, 2, 1}, {1, 1, 1}, {0, 1, 0}};
    ExpectPlaneCount(&CBoltDesc::GetBoltPlaneDescArray, two);
    ExpectPlaneCount(&CBoltGroupDesc::GetBoltPlaneDescArray, two);
    ExpectPlaneCount(&CLinkBarDesc::GetPlaneDescArray,
                     {{3, 0, 1}, {2, 0, 0}, {4, 0, 0}, {2, 1, 1}, {3, 1, 0}, {0, 3, 1}, {0, 0, 0}});
}

} // namespace
