#include "support/DescTestUtil.h"

namespace {

// Every value in order with its text, the catch-all last.
TEST(SteelSystem, TablesListEveryValueInOrderWithItsText)
{
    const struct {
        const kvnodedefine::EnumTable& table;
        std::vector<const char*> utf8Texts;
        int other;
    } cases[] = {
        {kvnodedefine::MaterialTable(), {"Q215", "Q235", "Q295", "Q345", "Q390", "Q420", "OtherMat"}, SteelSystem::OtherMat},
        {kvnodedefine::BoltGradeTable(),
         {"3.6级", "4.6级", "4.8级", "5.6级", "6.8级", "8.8级", "9.8级", "10.9级", "12.9级", "其它等级"},
         SteelSystem::OtherGrade},
        {kvnodedefine::BoltTypeTable(),
         {"普通A级六角头", "普通B级六角头", "普通C级六角头", "高强度大六角头", "扭剪型高强度螺栓", "锚栓", "其它类型"},
         SteelSystem::OtherBoltType},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.utf8Texts.front());
        ASSERT_EQ(c.table.count, static_cast<int>(c.utf8Texts.size()));
        EXPECT_EQ(c.other, c.table.count - 1);
        for (int i = 0; i < c.table.count; ++i) {
            EXPECT_EQ(c.table.rows[i].value, i);
            EXPECT_EQ(c.table.rows[i].text, kvtest::Gbk(c.utf8Texts[static_cast<size_t>(i)]));
            EXPECT_EQ(c.table.TextOf(i), c.table.rows[i].text);
        }
        EXPECT_EQ(c.table.TextOf(-1), nullptr);
        EXPECT_EQ(c.table.TextOf(c.table.count), nullptr);
    }
}

} // namespace
