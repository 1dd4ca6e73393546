#include "support/NodeTestUtil.h"

using kvtest::Str;
using kvtest::Strings;
using Atts = std::vector<std::pair<std::string, std::string>>;
using Items = std::vector<std::string>;

namespace {

TEST(CPlateDesc, SavesEveryFieldInOrderEmptyOnesToo)
{
    kvtest::Fresh<CPlateDesc> plate;
    EXPECT_EQ(plate.SavedAtts(), (Atts{{"name", ""}, {"showname", ""}, {"material", "0"}, {"lenexp", ""},
                                       {"widthexp", ""}, {"thickexp", ""}, {"planes", ""}, {"varitem", ""}}));
    kvtest::Reload(plate, {{"material", "12"}, {"lenexp", "H+2*e"}, {"varitem", "vars"}});
    EXPECT_EQ(plate.GetMaterial(), 12);
    EXPECT_EQ(plate.SavedAtts(), (Atts{{"name", ""}, {"showname", ""}, {"material", "12"}, {"lenexp", "H+2*e"},
                                       {"widthexp", ""}, {"thickexp", ""}, {"planes", ""}, {"varitem", "vars"}}));
    kvtest::Reload(plate, {{"material", "OtherMat"}});
    EXPECT_EQ(plate.GetMaterial(), SteelSystem::Q215);
    EXPECT_EQ(plate.GetNum(), 0);

    kvtest::Fresh<CCutDesc> cut;
    EXPECT_EQ(cut.SavedAtts(), (Atts{{"name", ""}, {"showname", ""}, {"planes", ""}}));
}

// A plate needs exactly three planes, a cut at least one; both fill the array either way.
TEST(PlaneNames, PlateWantsThreeCutWantsOne)
{
    const struct {
        const char* planes;
        Items names;
        bool plate;
        bool cut;
    } cases[] = {
        {"a,b,c", {"a", "b", "c"}, true, true},       {"a,b", {"a", "b"}, false, true},
        {"a,b,c,d", {"a", "b", "c", "d"}, false, true}, {"a,,c", {"a", "", "c"}, true, true},
        {"a,b,c,", {"a", "b", "c"}, true, true},     {"a", {"a"}, false, true},
        {"", {}, false, false},                      {",", {""}, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("planes \"") + c.planes + "\"");
        CPlateDesc plate;
        CCutDesc cut;
        kvtest::Reload(plate, {{"planes", c.planes}});
        kvtest::Reload(cut, {{"planes", c.planes}});
        EXPECT_EQ(Str(plate.GetPlaneNames()), c.planes);
        CStringArray names;
        names.Add("stale");
        EXPECT_EQ(plate.GetPlaneNames(names), c.plate);
        EXPECT_EQ(Strings(names), c.names);
        names.Add("stale");
        EXPECT_EQ(cut.GetPlaneNames(names), c.cut);
        EXPECT_EQ(Strings(names), c.names);
    }
}

TEST(CCutDesc, ConstructorsAndAssignmentCopyNothing)
{
    auto source = kvtest::Load<CCutDesc>(R"(<CCutDesc name="src" showname="S" planes="p1,p2"/>)");
    ASSERT_TRUE(source);
    CPlaneDesc plane;
    plane.SetName("p1");
    const CCutDesc copied(*source);
    const CCutDesc fromPlane(&plane);
    for (const CCutDesc* made : {&copied, &fromPlane}) {
        EXPECT_EQ(Str(made->GetName()), "");
        EXPECT_EQ(Str(made->GetPlaneNames()), "");
    }

    auto target = kvtest::Load<CCutDesc>(R"(<CCutDesc name="dst" planes="q"/>)");
    ASSERT_TRUE(target);
    *target = *source;
    EXPECT_EQ(Str(target->GetName()), "dst");
    EXPECT_EQ(Str(target->GetPlaneNames()), "q");
}

TEST(CPlateDesc, CutListAppendsTheCutChildrenEveryCall)
{
    auto plate = kvtest::Load<CPlateDesc>(R"(
<CPlateDesc name="stiffener" material="1" planes="a,b,c">
  <CCutDesc name="c1" planes="p1"/>
  <CPlaneDesc name="not a cut"/>
  <CCutDesc name="c2" planes="p2,p3"/>
</CPlateDesc>)");
    ASSERT_TRUE(plate);
    AcArray<CCutDesc*> cuts;
    ASSERT_TRUE(plate->GetCutDescArray(cuts));
    ASSERT_TRUE(plate->GetCutDescArray(cuts));
    EXPECT_EQ(kvtest::Names(cuts), (Items{"c1", "c2", "c1", "c2"}));

    CPlateDesc bare;
    EXPECT_TRUE(bare.GetCutDescArray(cuts));
    EXPECT_EQ(cuts.length(), 4);

    std::unique_ptr<CObject> fresh(plate->CreateNew());
    ASSERT_EQ(fresh->GetRuntimeClass(), RUNTIME_CLASS(CPlateDesc));
    const auto& empty = static_cast<const CPlateDesc&>(*fresh);
    EXPECT_EQ(Str(empty.GetName()), "");
    EXPECT_EQ(empty.GetMaterial(), SteelSystem::Q215);
    EXPECT_EQ(Str(empty.GetPlaneNames()), "");
    EXPECT_EQ(empty.GetChildCount(), 0);
}

} // namespace
