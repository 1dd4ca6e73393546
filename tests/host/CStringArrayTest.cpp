#include <appframe/CStringArray.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

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

} // namespace
