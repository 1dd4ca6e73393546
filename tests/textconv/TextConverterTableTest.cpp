// The Windows build converts with tables made from glibc's iconv: here the
// table converter meets iconv itself on every character of every direction,
// and on texts that stop part way.
#include <xmlobj/TextConverter.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <iconv.h>
#include <string>
#include <vector>

namespace {

struct Outcome {
    bool ok = false;
    std::string out;
    size_t stoppedAt = 0;
    bool operator==(const Outcome& o) const { return ok == o.ok && out == o.out && (ok || stoppedAt == o.stoppedAt); }
};

class Iconv {
public:
    Iconv(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Iconv() { iconv_close(m_cd); }
    Outcome Run(const std::string& in)
    {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char buf[256];
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size(), dstLeft = sizeof buf;
        char* dst = buf;
        Outcome o;
        o.ok = iconv(m_cd, &src, &srcLeft, &dst, &dstLeft) != static_cast<size_t>(-1);
        o.out.assign(buf, static_cast<size_t>(dst - buf));
        o.stoppedAt = static_cast<size_t>(src - in.data());
        return o;
    }

private:
    iconv_t m_cd;
};

Outcome RunTable(TextConverter& c, const std::string& in)
{
    Outcome o;
    o.ok = c.Run(in.data(), in.size(), o.out, o.stoppedAt);
    return o;
}

std::string Utf8(std::uint32_t cp)
{
    std::string s;
    if (cp < 0x80) {
        s += static_cast<char>(cp);
    } else if (cp < 0x800) {
        s += static_cast<char>(0xC0 | (cp >> 6));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        s += static_cast<char>(0xE0 | (cp >> 12));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        s += static_cast<char>(0xF0 | (cp >> 18));
        s += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return s;
}

// every character of an encoding, with refused neighbours: all code points,
// or all one-, two- and (for GB18030) four-byte sequences of the GBK shapes
std::vector<std::string> Characters(const std::string& encoding)
{
    std::vector<std::string> all;
    if (encoding == "UTF-8") {
        for (std::uint32_t cp = 0; cp <= 0x10FFFF; ++cp)
            if (cp < 0xD800 || cp > 0xDFFF)
                all.push_back(Utf8(cp));
        return all;
    }
    for (int b = 0; b < 0x100; ++b)
        all.emplace_back(1, static_cast<char>(b));
    for (int lead = 0x80; lead <= 0xFF; ++lead)
        for (int trail = 0x30; trail <= 0xFF; ++trail)
            all.push_back(std::string{static_cast<char>(lead), static_cast<char>(trail)});
    if (encoding == "GB18030")
        for (int b0 = 0x81; b0 <= 0xFE; ++b0)
            for (int b1 = 0x30; b1 <= 0x39; ++b1)
                for (int b2 = 0x81; b2 <= 0xFE; ++b2)
                    for (int b3 = 0x30; b3 <= 0x39; ++b3)
                        all.push_back(std::string{static_cast<char>(b0), static_cast<char>(b1), static_cast<char>(b2),
                                                  static_cast<char>(b3)});
    return all;
}

struct Direction {
    const char* to;
    const char* from;
};

void PrintTo(const Direction& d, std::ostream* os) { *os << d.from << " -> " << d.to; }

class TextConverterTable : public testing::TestWithParam<Direction> {};

TEST_P(TextConverterTable, EveryCharacterAsIconv)
{
    const Direction d = GetParam();
    Iconv reference(d.to, d.from);
    TextConverter table(d.to, d.from);
    size_t differences = 0;
    for (const std::string& c : Characters(d.from)) {
        const Outcome want = reference.Run(c), got = RunTable(table, c);
        if (!(want == got) && ++differences <= 5)
            ADD_FAILURE() << d.from << " -> " << d.to << ": " << testing::PrintToString(c) << " iconv "
                          << (want.ok ? "gives " + testing::PrintToString(want.out) : "refuses") << ", the table "
                          << (got.ok ? "gives " + testing::PrintToString(got.out) : "refuses");
    }
    EXPECT_EQ(differences, 0u);
}

TEST_P(TextConverterTable, StopsWhereIconvStops)
{
    const Direction d = GetParam();
    const std::string from = d.from;
    const std::vector<std::string> texts =
        from == "UTF-8"  ? std::vector<std::string>{"ab\xE4\xB8\xAD", "a\xE4\xB8\xAD\xF0\x9F\x98\x80z", "x\xC3", "\xE2\x82\xAC!", "a\x80z"}
        : from == "GBK"  ? std::vector<std::string>{"a\xD6\xD0z", "\xD6\xD0\xAA\xA1z", "\xD6", "\x80\xD6\xD0", "a\xFF"}
                         : std::vector<std::string>{"a\xD6\xD0\x81\x30\x81\x30z", "\x90\x30\x81\x30!", "\x84\x31\xA5\x30",
                                                    "\xD6\xD0\x81\x30", "\xAA\xA1\xD6\xD0"};
    Iconv reference(d.to, d.from);
    TextConverter table(d.to, d.from);
    for (const std::string& text : texts) {
        const Outcome want = reference.Run(text), got = RunTable(table, text);
        EXPECT_EQ(want.ok, got.ok) << testing::PrintToString(text);
        EXPECT_EQ(want.out, got.out) << testing::PrintToString(text);
        if (!want.ok) {
            EXPECT_EQ(want.stoppedAt, got.stoppedAt) << testing::PrintToString(text);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Directions, TextConverterTable,
                         testing::Values(Direction{"GBK", "UTF-8"}, Direction{"UTF-8", "GBK"},
                                         Direction{"GB18030", "UTF-8"}, Direction{"UTF-8", "GB18030"},
                                         Direction{"GBK", "GB18030"}, Direction{"GB18030", "GBK"}),
                         [](const testing::TestParamInfo<Direction>& info) {
                             std::string name = std::string(info.param.from) + "_to_" + info.param.to;
                             for (char& c : name)
                                 if (c == '-')
                                     c = '_';
                             return name;
                         });

} // namespace
