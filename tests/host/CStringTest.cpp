#include <appframe/CString.h>

#include <gtest/gtest.h>

#include <iterator>
#include <string>

namespace {

TEST(CString, CopiesShareUntilOneChanges)
{
    const CString a("abc");
    CString b(a), c(a), d(a);
    EXPECT_EQ(a.GetString(), b.GetString());
    b += "d";
    c += c; // its own, shared buffer
    EXPECT_EQ(d.Replace("b", "X"), 1);
    EXPECT_TRUE(b == "abcd" && c == "abcabc" && d == "aXc" && a == "abc");

    CString s("abc");
    s += 'd'; // private now, with room: appends in place
    const CString shared(s);
    s += 'e'; // room enough, yet shared: copies first
    EXPECT_TRUE(shared == "abcd" && s == "abcde");
    s = shared;
    s += s;
    s += s.GetString() + 6;
    EXPECT_EQ(s, "abcdabcdcd");
    s = s.GetString() + 6;
    EXPECT_EQ(s, "cdcd");

    // never freed, yet not reported by the leak checker of the sanitizer build
    const CString immortal = CString::Immortal("name", 4);
    CString copy = immortal;
    EXPECT_EQ(copy.GetString(), immortal.GetString());
    copy += "x";
    copy.Empty();
    EXPECT_EQ(immortal, "name");
}

// Appending a text to itself, or a part of itself, while its buffer must
// grow: the source lies in the buffer that growing replaces.
TEST(CString, AppendsItselfWhileGrowing)
{
    CString s("ab");
    s += 'c'; // private, its buffer full
    std::string expected = "abc";
    for (int i = 0; i < 12; ++i) {
        s += s;
        expected += expected;
        s.Append(s.GetString() + 1, 2);
        expected += expected.substr(1, 2);
        s += s.GetString() + s.GetLength() - 3;
        expected += expected.substr(expected.size() - 3);
    }
    EXPECT_EQ(std::string(s.GetString(), static_cast<size_t>(s.GetLength())), expected);
}

TEST(CString, ConstructionCompareAndFormat)
{
    const CString embedded("ab\0cd", 5);
    EXPECT_EQ(embedded.GetLength(), 5);
    EXPECT_NE(embedded, CString("ab\0ce", 5));
    EXPECT_TRUE(CString("abc", 2) == "ab" && CString("abc", -1).IsEmpty() && CString(nullptr, 3).IsEmpty());
    const CString xy("xy");
    EXPECT_TRUE(xy.GetAt(2) == '\0' && xy.GetAt(-1) == '\0');
    EXPECT_LT(xy.Compare("y"), 0);
    EXPECT_GT(xy.Compare(nullptr), 0);
    EXPECT_GT(CString("\x81\x40").Compare("z"), 0); // bytes compare unsigned
    EXPECT_TRUE(xy != "xyz" && "y" != xy && "1" + xy + "2" == "1xy2");

    CString s;
    const std::string longText(300, 'x');
    s.Format("[%s]", longText.c_str());
    s.Format("%s|%s", s.GetString(), s.GetString()); // the old text as argument
    EXPECT_EQ(std::string(s.GetString()), "[" + longText + "]|[" + longText + "]");
}

TEST(CString, MidLeftRightClampTheirArguments)
{
    const CString s("abcdef");
    const CString got[] = {s.Mid(-3, 2), s.Mid(4, 100), s.Mid(100), s.Mid(-1), s.Mid(1, -1),
                           s.Left(-1),   s.Left(100),   s.Right(2), s.Right(-1)};
    const char* want[] = {"ab", "ef", "", "abcdef", "", "", "abcdef", "ef", ""};
    for (size_t i = 0; i < std::size(want); ++i)
        EXPECT_EQ(got[i], want[i]) << i;
}

// GBK: a match never starts on the second byte of a double-byte character,
// whose range (0x40-0xFE) includes '_' and ASCII letters.
TEST(CString, FindOnCharacterBoundaries)
{
    struct Case {
        const char *text, *sub;
        int start, want;
    } cases[] = {
        {"abcabc", "bc", 2, 4},    {"abcabc", "c", 6, -1},         {"abcabc", "c", 7, -1},
        {"abcabc", "a", -1, -1},   {"ab", "abc", 0, -1},           {"abc", "", 1, 1},
        {"\x81\x5F", "_", 0, -1},  {"\x81\x5F_", "_", 0, 2},       {"a\x81\x81\x81_", "_", 0, -1},
        {"\x81\x5F", "_", 1, -1}, // a start inside a character moves on to the next
        {"\xB0\xA1\xB0\xA1", "\xA1\xB0", 0, -1}, {"\xB0\xA1\xB0\xA1", "\xB0\xA1", 1, 2}, {"ab\x81", "\x81", 0, 2},
        // the ends of the lead-byte range, and the bytes just outside it
        {"\xFE\x5F_", "_", 0, 2}, {"\xFF\x5F", "_", 0, 1}, {"\x80\x5F", "_", 0, 1}, {"\xFE\xFE_", "\xFE_", 0, -1},
    };
    for (const Case& c : cases) {
        const CString text(c.text);
        EXPECT_EQ(text.Find(c.sub, c.start), c.want) << c.text << " / " << c.sub << " from " << c.start;
        if (c.sub[0] && !c.sub[1]) { // the same for the character
            EXPECT_EQ(text.Find(c.sub[0], c.start), c.want) << c.text << " / " << c.sub << " from " << c.start;
        }
    }
    EXPECT_EQ(CString("abc").Find(static_cast<const char*>(nullptr)), 0);
}

TEST(CString, ReplaceLeftToRight)
{
    struct Case {
        const char *text, *from, *to;
        int count;
        const char* want;
    } cases[] = {
        {"a.b.c", ".", "::", 2, "a::b::c"},  {"aa", "a", "aa", 2, "aaaa"}, {"aaa", "aa", "b", 1, "ba"},
        {"__LenLen", "_Len", "", 1, "_Len"}, // an occurrence made by joining stays
        {"abc", "z", "y", 0, "abc"},         {"abc", "", "y", 0, "abc"},   {"abc", "abc", "", 1, ""},
        {"\x81\x5FLen_Len", "_Len", "", 1, "\x81\x5FLen"},
    };
    for (const Case& c : cases) {
        CString s(c.text);
        EXPECT_EQ(s.Replace(c.from, c.to), c.count) << c.text;
        EXPECT_EQ(s, c.want) << c.text;
    }
}

} // namespace
