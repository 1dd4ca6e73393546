#include "support/NodeTestUtil.h"

using kvtest::Elements;
using kvtest::Strings;

namespace {

using Items = std::vector<std::string>;
using Ints = std::vector<int>;
using Reals = std::vector<double>;

struct SplitCase {
    const char* text;
    Items items;
    Ints ints;
    Reals reals;
};

const SplitCase kSplits[] = {
    {"1,2,3", {"1", "2", "3"}, {1, 2, 3}, {1, 2, 3}},
    {"1,,3", {"1", "", "3"}, {1, 0, 3}, {1, 0, 3}},
    {",5", {"", "5"}, {0, 5}, {0, 5}},
    {"5,", {"5"}, {5}, {5}},
    {",", {""}, {0}, {0}},
    {"", {}, {}, {}},
    {"2.7, 8x", {"2.7", " 8x"}, {2, 8}, {2.7, 8}},
    {"  ", {"  "}, {0}, {0}},
    {"-1;4", {"-1;4"}, {-1}, {-1}},
};

// The string splits empty their array; the number splits append after what it
// holds, so splitting twice into one array gives the numbers twice.
TEST(CNodeGlobal, SplitsAtCommas)
{
    for (const SplitCase& c : kSplits) {
        SCOPED_TRACE(std::string("text \"") + c.text + "\"");
        CStringArray items;
        items.Add("stale");
        CNodeGlobal::GetSplitStringArray(c.text, ',', items);
        EXPECT_EQ(Strings(items), c.items);

        items.Add("stale");
        EXPECT_TRUE(CNodeGlobal::SplitStringToStringArray(c.text, items));
        EXPECT_EQ(Strings(items), c.items);

        AcArray<int> ints;
        ints.append(99);
        EXPECT_TRUE(CNodeGlobal::SplitStringToIntArray(c.text, ints));
        Ints expectedInts{99};
        expectedInts.insert(expectedInts.end(), c.ints.begin(), c.ints.end());
        EXPECT_EQ(Elements(ints), expectedInts);

        AcArray<double> reals;
        reals.append(-1.5);
        EXPECT_TRUE(CNodeGlobal::SplitStringToDoubleArray(c.text, reals));
        Reals expectedReals{-1.5};
        expectedReals.insert(expectedReals.end(), c.reals.begin(), c.reals.end());
        EXPECT_EQ(Elements(reals), expectedReals);
    }
}

// Splitting compares single bytes, so a separator of 0x40 or above may cut a
// GBK character ("\x81\x40" and the class sign "\xBC\xB6" are one character each).
TEST(CNodeGlobal, HighSeparatorsSplitInsideDoubleByteCharacters)
{
    CStringArray items;
    CNodeGlobal::GetSplitStringArray("a\x81@b@", '@', items);
    EXPECT_EQ(Strings(items), (Items{"a\x81", "b"}));
    CNodeGlobal::GetSplitStringArray("8.8\xBC\xB6" "10.9", '\xB6', items);
    EXPECT_EQ(Strings(items), (Items{"8.8\xBC", "10.9"}));
    CNodeGlobal::GetSplitStringArray("\xC6\xE4,\xCB\xFC", ',', items);
    EXPECT_EQ(Strings(items), (Items{"\xC6\xE4", "\xCB\xFC"}));
}

} // namespace
