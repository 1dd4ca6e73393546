#include "support/NodeTestUtil.h"

using kvtest::Att;
using kvtest::AttNames;
using kvtest::Str;

namespace {

const std::vector<std::string> kBaseAtts = {"name", "showname"};

TEST(CBaseDesc, DefaultSavesEmptyNameAndShowName)
{
    CBaseDesc desc;
    EXPECT_TRUE(desc.RefreshAttListWithMember());
    EXPECT_EQ(AttNames(desc), kBaseAtts);
    EXPECT_EQ(Att(desc, "name"), "");
    EXPECT_EQ(Att(desc, "showname"), "");
    EXPECT_NE(kvtest::SaveTree(desc).find(R"(<CBaseDesc classtype="8_8" name="" showname="" />)"), std::string::npos);
}

TEST(CBaseDesc, SetNameReachesTheAttributesOnlyAtTheNextSave)
{
    CBaseDesc desc("first", "First");
    kvtest::SaveTree(desc);
    desc.SetName("second");
    desc.SetShowName("Second");
    EXPECT_EQ(Str(desc.GetName()), "second");
    EXPECT_EQ(Att(desc, "name"), "first");
    EXPECT_EQ(Att(desc, "showname"), "First");

    EXPECT_NE(kvtest::SaveTree(desc).find(R"(name="second" showname="Second")"), std::string::npos);
    EXPECT_EQ(AttNames(desc), kBaseAtts);
}

TEST(CBaseDesc, LoadWithoutShowNameGivesAnEmptyOne)
{
    auto desc = kvtest::Load<CBaseDesc>(R"(<CBaseDesc name="n"/>)");
    ASSERT_TRUE(desc);
    EXPECT_EQ(Str(desc->GetName()), "n");
    EXPECT_EQ(Str(desc->GetShowName()), "");
}

} // namespace
