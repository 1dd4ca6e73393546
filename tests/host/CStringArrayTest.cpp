#include <appframe/CStringArray.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <new>
#include <string>
#include <utility>

namespace {

// "a|b|c" <-> an array, to state whole arrays at once
CStringArray Make(const char* joined)
{
    CStringArray a;
    for (std::string s = joined; !s.empty(); s = s.size() > 1 ? s.substr(2) : "")
        a.Add(CString(s.c_str(), 1));
    return a;
}
std::string Joined(const CStringArray& a)
{
    std::string out;
    for (INT_PTR i = 0; i < a.GetSize(); ++i)
        out += (i ? "|" : "") + std::string(a[i].GetString());
    return out;
}

TEST(CStringArray, AddAppendCopyAndSize)
{
    CStringArray a;
    EXPECT_EQ(a.GetUpperBound(), -1);
    EXPECT_EQ(a.Add("a"), 0);
    EXPECT_EQ(a.Add(a[0]), 1);
    EXPECT_EQ(a.Append(Make("b")), 2);
    EXPECT_EQ(a.Append(a), 3);
    EXPECT_EQ(Joined(a), "a|a|b|a|a|b");

    const CStringArray src = Make("c");
    a.Copy(src);
    a.ElementAt(0) += "!";
    a.SetSize(3);
    EXPECT_EQ(Joined(a), "c!||");
    EXPECT_EQ(src[0], "c");
    a.SetSize(-1);
    EXPECT_TRUE(a.IsEmpty());
}

TEST(CStringArray, InsertAt)
{
    CStringArray a = Make("a|b");
    a.InsertAt(1, "x", 2);
    a.InsertAt(6, "z");
    a.InsertAt(0, "-", 0);
    EXPECT_EQ(Joined(a), "a|x|x|b|||z");

    for (INT_PTR at : {0, 2, 20}) { // an element of itself, also where the array must grow
        CStringArray b = Make("a|b");
        b.InsertAt(at, b[1], 3);
        EXPECT_TRUE(b[at] == "b" && b[at + 2] == "b") << at;
    }
}

TEST(CStringArray, RemoveAtClampsTheRange)
{
    struct Case {
        INT_PTR index, count;
        const char* want;
    } cases[] = {{1, 2, "a|d"}, {2, 100, "a|b"}, {3, 1, "a|b|c"}, {4, 1, "a|b|c|d"},
                 {-1, 1, "a|b|c|d"}, {1, 0, "a|b|c|d"}, {1, PTRDIFF_MAX, "a"}};
    for (const Case& c : cases) {
        CStringArray a = Make("a|b|c|d");
        a.RemoveAt(c.index, c.count);
        EXPECT_EQ(Joined(a), c.want) << c.index << ", " << c.count;
    }
}

// The array keeps its texts in a block of its own that it grows: whatever the
// size at which the block moves, an added element of the array itself arrives
// whole, and every text keeps its value.
TEST(CStringArray, GrowsKeepingItsTextsAndAnAddedElementOfItself)
{
    CStringArray copies, moves;
    std::string model;
    for (int i = 0; i < 70; ++i) {
        const CString text(std::to_string(i).c_str());
        copies.Add(text);
        copies.Add(copies[copies.GetUpperBound()]); // copied while the block may move
        moves.Add(CString(text));
        CString& last = moves.ElementAt(moves.GetUpperBound());
        EXPECT_EQ(moves.Add(std::move(last)), 2 * i + 1);
        EXPECT_EQ(moves[2 * i], "") << i; // moved from, as from any text
        EXPECT_EQ(moves[2 * i + 1], text) << i;
        model += (i ? "|" : "") + std::to_string(i) + "|" + std::to_string(i);
    }
    EXPECT_EQ(Joined(copies), model);
}

TEST(CStringArray, CopiesShareTextsAndMovesEmptyTheSource)
{
    CStringArray a = Make("a|b|c");
    CStringArray copy(a);
    copy[0] += "!"; // changes the copy's text only
    EXPECT_EQ(Joined(a), "a|b|c");
    EXPECT_EQ(Joined(copy), "a!|b|c");
    copy = copy; // NOLINT: assigning itself changes nothing
    EXPECT_EQ(Joined(copy), "a!|b|c");
    copy = std::move(a);
    EXPECT_EQ(Joined(copy), "a|b|c");
    EXPECT_TRUE(a.IsEmpty()); // NOLINT: a moved-from array is empty and usable
    a.Add("d");
    CStringArray moved(std::move(copy));
    EXPECT_EQ(Joined(moved) + "/" + Joined(a), "a|b|c/d");
    moved.RemoveAll();
    EXPECT_EQ(moved.Add("e"), 0);
}

// It holds up to INT_MAX texts: asking for more fails as memory does, and
// leaves the array as it was.
TEST(CStringArray, MoreThanItCanHoldThrowsAndChangesNothing)
{
    CStringArray a = Make("a|b");
    EXPECT_THROW(a.SetSize(static_cast<INT_PTR>(INT_MAX) + 1), std::bad_alloc);
    EXPECT_THROW(a.InsertAt(1, "x", static_cast<INT_PTR>(INT_MAX) - 1), std::bad_alloc);
    EXPECT_EQ(Joined(a), "a|b");
}

} // namespace
