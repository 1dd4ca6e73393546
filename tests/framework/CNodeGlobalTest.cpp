#include "support/DescTestUtil.h"

using kvtest::Text;

namespace {

// The string splits empty their array; the number splits append after what it
// holds (99 and -1.5 here).
TEST(CNodeGlobal, SplitsAtCommas)
{
    const struct {
        const char *text, *items, *ints, *reals;
    } cases[] = {
        {"1,2,3", R"("1","2","3")", "99,1,2,3", "-1.5,1,2,3"},
        {"1,,3", R"("1","","3")", "99,1,0,3", "-1.5,1,0,3"},
        {",5", R"("","5")", "99,0,5", "-1.5,0,5"},
        {"5,", R"("5")", "99,5", "-1.5,5"},
        {",", R"("")", "99,0", "-1.5,0"},
        {"", "", "99", "-1.5"},
        {"2.7, 8x", R"("2.7"," 8x")", "99,2,8", "-1.5,2.7,8"},
        {"  ", R"("  ")", "99,0", "-1.5,0"},
        {"-1;4", R"("-1;4")", "99,-1", "-1.5,-1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("text \"") + c.text + "\"");
        CStringArray items;
        items.Add("stale");
        CNodeGlobal::GetSplitStringArray(c.text, ',', items);
        EXPECT_EQ(Text(items), c.items);
        items.Add("stale");
        EXPECT_TRUE(CNodeGlobal::SplitStringToStringArray(c.text, items));
        EXPECT_EQ(Text(items), c.items);

        AcArray<int> ints;
        ints.append(99);
        EXPECT_TRUE(CNodeGlobal::SplitStringToIntArray(c.text, ints));
        EXPECT_EQ(Text(ints), c.ints);
        AcArray<double> reals;
        reals.append(-1.5);
        EXPECT_TRUE(CNodeGlobal::SplitStringToDoubleArray(c.text, reals));
        EXPECT_EQ(Text(reals), c.reals);
    }
}

// Splitting compares single bytes, so a separator of 0x40 or above may cut a
// GBK character ("\x81\x40" and the class sign "\xBC\xB6" are one character each).
TEST(CNodeGlobal, HighSeparatorsSplitInsideDoubleByteCharacters)
{
    CStringArray items;
    CNodeGlobal::GetSplitStringArray("a\x81@b@", '@', items);
    EXPECT_EQ(Text(items), "\"a\x81\",\"b\"");
    CNodeGlobal::GetSplitStringArray("8.8\xBC\xB6" "10.9", '\xB6', items);
    EXPECT_EQ(Text(items), "\"8.8\xBC\",\"10.9\"");
    CNodeGlobal::GetSplitStringArray("\xC6\xE4,\xCB\xFC", ',', items);
    EXPECT_EQ(Text(items), "\"\xC6\xE4\",\"\xCB\xFC\"");
}

} // namespace
