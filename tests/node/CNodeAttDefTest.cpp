#include "support/NodeTestUtil.h"

namespace {

TEST(CNodeAttDef, NewRootSavesVersion1)
{
    CNodeAttDef root;
    EXPECT_EQ(root.GetVersion(), 1);
    EXPECT_NE(kvtest::SaveTree(root).find(R"(<CNodeAttDef classtype="8_0" Version="1" />)"), std::string::npos);
}

// The version is kept as read, whatever it is, and written back the same.
TEST(CNodeAttDef, VersionIsKeptAsRead)
{
    const struct {
        const char* element;
        int version;
        const char* saved;
    } cases[] = {
        {R"(<CNodeAttDef Version="3"/>)", 3, R"(Version="3")"},
        {R"(<CNodeAttDef/>)", 0, R"(Version="0")"},
        {R"(<CNodeAttDef Version="x"/>)", 0, R"(Version="0")"},
        {R"(<CNodeAttDef Version=" 2b"/>)", 2, R"(Version="2")"},
    };
    for (const auto& c : cases) {
        auto root = kvtest::Load<CNodeAttDef>(c.element);
        ASSERT_TRUE(root);
        EXPECT_EQ(root->GetVersion(), c.version) << c.element;
        EXPECT_NE(kvtest::SaveTree(*root).find(c.saved), std::string::npos) << c.element;

        std::unique_ptr<CObject> fresh(root->CreateNew());
        EXPECT_EQ(static_cast<CNodeAttDef&>(*fresh).GetVersion(), 1);
    }
}

TEST(CNodeAttDef, RefreshPairTouchesNeitherAttributesNorVersion)
{
    auto root = kvtest::Load<CNodeAttDef>(R"(<CNodeAttDef Version="3"/>)");
    ASSERT_TRUE(root);
    root->SetVersion(5);
    const auto before = kvtest::AttPairs(*root);
    EXPECT_TRUE(root->RefreshAttListWithMember());
    EXPECT_TRUE(root->RefreshMemberWithAttList());
    EXPECT_EQ(kvtest::AttPairs(*root), before);
    EXPECT_EQ(root->GetVersion(), 5);
}

} // namespace
