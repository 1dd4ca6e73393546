#include "support/NodeTestUtil.h"

using kvtest::Elements;
using kvtest::Str;
using Atts = std::vector<std::pair<std::string, std::string>>;

namespace {

TEST(CNodeMemberDesc, SaveWritesDirectUsedAndSectDescOnlyWhenTheyMatter)
{
    const Atts base = {{"name", "m"}, {"showname", ""}};
    const struct {
        std::initializer_list<std::pair<const char*, const char*>> loaded;
        Atts saved; // after name and showname
    } cases[] = {
        {{{"name", "m"}, {"kind", "1,2"}, {"sectype", ""}, {"directused", "0"}},
         {{"kind", "1,2"}, {"sectype", ""}, {"linkplanes", ""}, {"rotangles", ""}, {"linkto", ""}, {"directused", "0"}}},
        {{{"name", "m"}, {"kind", " 3, 12,-1,"}, {"sectype", "7"}, {"linkplanes", "1,3"}, {"rotangles", "0,180"},
          {"linkto", "col"}, {"directused", "1"}, {"sectdesc", "H400"}},
         {{"kind", "3,12,-1"}, {"sectype", "7"}, {"linkplanes", "1,3"}, {"rotangles", "0,180"}, {"linkto", "col"},
          {"sectdesc", "H400"}}},
        {{{"name", "m"}, {"directused", "0"}, {"sectdesc", "S"}},
         {{"kind", ""}, {"sectype", ""}, {"linkplanes", ""}, {"rotangles", ""}, {"linkto", ""}, {"directused", "0"},
          {"sectdesc", "S"}}},
    };
    for (const auto& c : cases) {
        kvtest::Fresh<CNodeMemberDesc> member;
        kvtest::Reload(member, c.loaded);
        Atts expected = base;
        expected.insert(expected.end(), c.saved.begin(), c.saved.end());
        EXPECT_EQ(member.SavedAtts(), expected);
    }
}

TEST(CNodeMemberDesc, OnlyTheText0ClearsDirectUsed)
{
    const struct {
        const char* text; // null: no attribute
        bool directUsed;
    } cases[] = {{"0", false}, {"1", true}, {"yes", true}, {"", true}, {nullptr, true}, {" 0", true}, {"00", true}};
    for (const auto& c : cases) {
        const std::string xml =
            c.text ? std::string("<CNodeMemberDesc directused=\"") + c.text + "\"/>" : "<CNodeMemberDesc/>";
        auto member = kvtest::Load<CNodeMemberDesc>(xml);
        ASSERT_TRUE(member);
        EXPECT_EQ(member->IsDirectUsed(), c.directUsed) << xml;
    }
}

// Sides are handed out only for a side connection, angles only for an end
// connection ("0" exactly); either list is appended after what the caller holds.
TEST(CNodeMemberDesc, ConnectionModeDecidesWhichListIsHandedOut)
{
    const std::vector<double> allAngles = {0, 90, 180, 270};
    const struct {
        const char* linkPlanes;
        bool end;
        std::vector<int> sides;
    } cases[] = {
        {"0", true, {}},   {"1,3", false, {1, 3}}, {"", false, {}}, {" 0", false, {0}},
        {"00", false, {0}}, {"0,", false, {0}},     {"4,,2", false, {4, 0, 2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("linkplanes \"") + c.linkPlanes + "\"");
        const CNodeMemberDesc member("m", "M", c.linkPlanes, "0,90,180,270");
        EXPECT_EQ(member.IsEndConnect(), c.end);
        EXPECT_EQ(member.IsSectSideConnect(), !c.end);

        AcArray<int> sides;
        sides.append(7);
        EXPECT_EQ(member.GetAllowConnectSides(sides), !c.end);
        std::vector<int> expectedSides{7};
        expectedSides.insert(expectedSides.end(), c.sides.begin(), c.sides.end());
        EXPECT_EQ(Elements(sides), expectedSides);

        AcArray<double> angles;
        angles.append(-1);
        EXPECT_EQ(member.GetAllowRotateAngles(angles), c.end);
        std::vector<double> expectedAngles{-1};
        if (c.end)
            expectedAngles.insert(expectedAngles.end(), allAngles.begin(), allAngles.end());
        EXPECT_EQ(Elements(angles), expectedAngles);
    }
}

TEST(CNodeMemberDesc, ReloadReplacesTheLists)
{
    auto member = kvtest::Load<CNodeMemberDesc>(R"(<CNodeMemberDesc kind="1,2,3" sectype="5,6"/>)");
    ASSERT_TRUE(member);
    kvtest::Reload(*member, {{"kind", "4,5"}});
    EXPECT_EQ(Elements(member->GetKindArray()), (std::vector<int>{4, 5}));
    EXPECT_EQ(Elements(member->GetSecTypeArray()), (std::vector<int>{5, 6}));
}

class MemberCopy : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_source = kvtest::Load<CNodeMemberDesc>(R"(
<CNodeMemberDesc name="beam" showname="B" kind="1,2" sectype="3" linkplanes="1,2" rotangles="0,180" linkto="col"
                 directused="0" sectdesc="H300">
  <CCutDesc name="cope" planes="p1"/>
</CNodeMemberDesc>)");
        ASSERT_TRUE(m_source);
        AcArray<CCutDesc*> cuts;
        ASSERT_TRUE(m_source->GetCutDescArray(cuts));
        ASSERT_EQ(kvtest::Names(cuts), std::vector<std::string>{"cope"});
    }

    std::unique_ptr<CNodeMemberDesc> m_source;
};

TEST_F(MemberCopy, CopyTakesOnlyTheConnectionTexts)
{
    const CNodeMemberDesc copy(*m_source);
    EXPECT_EQ(Str(copy.GetName()), "");
    EXPECT_EQ(Str(copy.GetShowName()), "");
    EXPECT_EQ(copy.GetKindArray().length(), 0);
    EXPECT_EQ(copy.GetSecTypeArray().length(), 0);
    EXPECT_EQ(Str(copy.GetStrLinkPlanes()), "1,2");
    EXPECT_EQ(Str(copy.GetRotateAngles()), "0,180");
    EXPECT_EQ(Str(copy.GetLinkTo()), "");
    EXPECT_TRUE(copy.IsDirectUsed());
    EXPECT_EQ(Str(copy.GetSectDesc()), "");
    EXPECT_EQ(copy.GetChildCount(), 0);
}

TEST_F(MemberCopy, AssignmentChangesOnlyTheConnectionTexts)
{
    auto target = kvtest::Load<CNodeMemberDesc>(R"(
<CNodeMemberDesc name="t" kind="9" linkplanes="0" rotangles="45" linkto="x" directused="0" sectdesc="S">
  <CCutDesc/>
</CNodeMemberDesc>)");
    ASSERT_TRUE(target);
    *target = *m_source;
    EXPECT_EQ(Str(target->GetStrLinkPlanes()), "1,2");
    EXPECT_EQ(Str(target->GetRotateAngles()), "0,180");
    EXPECT_EQ(Str(target->GetName()), "t");
    EXPECT_EQ(Elements(target->GetKindArray()), std::vector<int>{9});
    EXPECT_EQ(Str(target->GetLinkTo()), "x");
    EXPECT_FALSE(target->IsDirectUsed());
    EXPECT_EQ(Str(target->GetSectDesc()), "S");
    EXPECT_EQ(target->GetChildCount(), 1);
}

} // namespace
