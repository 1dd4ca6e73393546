// Both converters, the POSIX one over iconv and the Windows build's tables
// made from it (this file is built once with each), meet iconv itself on
// every character of every direction, and on texts that stop part way.
// "GBK" is the hosts' code page 936: iconv's GBK, and its user-defined
// areas as iconv's GB18030 reads and writes them; what iconv's GBK writes
// as nothing (the tag characters) is refused.
#include <xmlobj/text/TextConverter.h>

#include "support/Unicode.h"

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

// the length of the character text begins with, in the encoding named
size_t FirstLength(const std::string& encoding, const std::string& text)
{
    const auto b = [&text](size_t i) { return i < text.size() ? static_cast<unsigned char>(text[i]) : 0; };
    if (encoding == "UTF-8")
        return b(0) >= 0xF0 ? 4 : b(0) >= 0xE0 ? 3 : b(0) >= 0xC0 ? 2 : 1;
    if (b(0) < 0x81 || b(0) == 0xFF)
        return 1;
    return encoding == "GB18030" && b(1) >= 0x30 && b(1) <= 0x39 ? 4 : 2;
}

// iconv as code page 936, one character at a time
class Reference {
public:
    Reference(const char* to, const char* from)
        : m_to(to), m_from(from), m_plain(to, from),
          m_userDefined(m_to == "GBK" ? "GB18030" : to, m_from == "GBK" ? "GB18030" : from)
    {
    }
    Outcome Run(const std::string& text)
    {
        Outcome whole;
        whole.ok = true;
        for (size_t at = 0; at < text.size();) {
            const std::string c = text.substr(at, FirstLength(m_from, text.substr(at)));
            Outcome one = m_plain.Run(c);
            if (!one.ok && (m_to == "GBK" || m_from == "GBK")) {
                const Outcome viaGb18030 = m_userDefined.Run(c);
                if (viaGb18030.ok && kvtest::UserDefinedPair(m_to == "GBK" ? viaGb18030.out : c))
                    one = viaGb18030;
            }
            if (!one.ok || one.out.empty()) {
                whole.ok = false;
                whole.stoppedAt = at;
                return whole;
            }
            whole.out += one.out;
            at += c.size();
        }
        return whole;
    }

private:
    std::string m_to, m_from;
    Iconv m_plain, m_userDefined;
};

Outcome RunConverter(TextConverter& c, const std::string& in)
{
    Outcome o;
    o.ok = c.Run(in.data(), in.size(), o.out, o.stoppedAt);
    return o;
}

// every character of an encoding, with refused neighbours: all code points,
// or all one-, two- and (for GB18030) four-byte sequences of the GBK shapes
std::vector<std::string> Characters(const std::string& encoding)
{
    std::vector<std::string> all;
    if (encoding == "UTF-8") {
        for (std::uint32_t cp = 0; cp <= 0x10FFFF; ++cp)
            if (cp < 0xD800 || cp > 0xDFFF)
                all.push_back(kvtest::Utf8Of(cp));
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

class Converter : public testing::TestWithParam<Direction> {};

TEST_P(Converter, EveryCharacterAsIconv)
{
    const Direction d = GetParam();
    Reference reference(d.to, d.from);
    TextConverter converter(d.to, d.from);
    size_t differences = 0, checked[2] = {};
    for (const std::string& c : Characters(d.from)) {
        const Outcome want = reference.Run(c), got = RunConverter(converter, c);
        if (!(want == got) && ++differences <= 5)
            ADD_FAILURE() << d.from << " -> " << d.to << ": " << testing::PrintToString(c) << " iconv "
                          << (want.ok ? "gives " + testing::PrintToString(want.out) : "refuses") << ", the converter "
                          << (got.ok ? "gives " + testing::PrintToString(got.out) : "refuses");
        ++checked[want.ok];
    }
    EXPECT_EQ(differences, 0u);
    // both outcomes are met, so that a reference that refuses all cannot pass
    EXPECT_GT(checked[true], 20000u);
    EXPECT_GT(checked[false], 0u);
}

TEST_P(Converter, StopsWhereIconvStops)
{
    const Direction d = GetParam();
    const std::string from = d.from;
    const std::vector<std::string> texts =
        from == "UTF-8"  ? std::vector<std::string>{"ab\xE4\xB8\xAD", "a\xE4\xB8\xAD\xF0\x9F\x98\x80z", "x\xC3", "\xE2\x82\xAC!", "a\x80z",
                                                    "a\xEE\x80\x80\xF3\xA0\x81\x81z", "\xEE\x9D\xA5\xEE\x9D\xA6"}
        : from == "GBK"  ? std::vector<std::string>{"a\xD6\xD0z", "\xD6\xD0\xAA\xA1z", "\xD6", "\x80\xD6\xD0", "a\xFF",
                                                    "\xA1\x40\xFE\xFE\xA2\xAB"}
                         : std::vector<std::string>{"a\xD6\xD0\x81\x30\x81\x30z", "\x90\x30\x81\x30!", "\x84\x31\xA5\x30",
                                                    "\xD6\xD0\x81\x30", "\xAA\xA1\xD6\xD0"};
    Reference reference(d.to, d.from);
    TextConverter converter(d.to, d.from);
    for (const std::string& text : texts) {
        const Outcome want = reference.Run(text), got = RunConverter(converter, text);
        EXPECT_EQ(want.ok, got.ok) << testing::PrintToString(text);
        EXPECT_EQ(want.out, got.out) << testing::PrintToString(text);
        if (!want.ok) {
            EXPECT_EQ(want.stoppedAt, got.stoppedAt) << testing::PrintToString(text);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Directions, Converter,
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
