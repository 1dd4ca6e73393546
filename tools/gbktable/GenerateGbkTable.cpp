// Writes GbkTables.inc, the tables the Windows build converts GBK and GB18030
// with, by asking glibc's iconv about every character: run by
// scripts/generate-gbk-table, checked against iconv by tests/textconv.
//
// GBK here is the hosts' code page 936: glibc's GBK, and the user-defined
// areas as glibc's GB18030 reads them (CodePage936.h); a code point that
// glibc's GBK writes as nothing is refused.
//
// Tables: the code point of every GBK pair; the GB18030 pairs that differ
// from GBK; the four-byte GB18030 characters as runs of consecutive code
// points; and, for both encoders, the code points whose bytes are not the
// lowest code that reads back as them.
#include "../../host/xmlobj/text/CodePage936.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iconv.h>
#include <map>
#include <string>
#include <vector>

namespace {

std::string Convert(const char* to, const char* from, const std::string& in, bool& ok)
{
    static std::map<std::string, iconv_t> open;
    iconv_t& cd = open[std::string(to) + "<" + from];
    if (!cd)
        cd = iconv_open(to, from);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char buf[64];
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size(), dstLeft = sizeof buf;
    char* dst = buf;
    ok = iconv(cd, &src, &srcLeft, &dst, &dstLeft) != static_cast<size_t>(-1) && srcLeft == 0;
    return std::string(buf, static_cast<size_t>(dst - buf));
}

std::string Utf32(std::uint32_t cp)
{
    return std::string{static_cast<char>(cp >> 24), static_cast<char>(cp >> 16), static_cast<char>(cp >> 8),
                       static_cast<char>(cp)};
}

// the one code point a character reads as, or 0
std::uint32_t Decode(const char* from, const std::string& bytes)
{
    bool ok = false;
    const std::string u = Convert("UTF-32BE", from, bytes, ok);
    if (!ok || u.size() != 4)
        return 0;
    return static_cast<std::uint32_t>(static_cast<unsigned char>(u[0]) << 24 | static_cast<unsigned char>(u[1]) << 16 |
                                      static_cast<unsigned char>(u[2]) << 8 | static_cast<unsigned char>(u[3]));
}

// the bytes of a code point as one number (big-endian), 0 when refused; a
// character written as nothing (glibc's GBK so drops the tag characters
// U+E0000..U+E007F) is refused too
std::uint32_t Encode(const char* to, std::uint32_t cp)
{
    bool ok = false;
    const std::string b = Convert(to, "UTF-32BE", Utf32(cp), ok);
    if (!ok || b.empty() || b.size() > 4)
        return 0;
    std::uint32_t v = 0;
    for (char c : b)
        v = v << 8 | static_cast<unsigned char>(c);
    return v;
}

std::string Pair(int lead, int trail) { return std::string{static_cast<char>(lead), static_cast<char>(trail)}; }

std::uint32_t DecodeCp936Pair(int lead, int trail)
{
    const bool userDefined = IsUserDefinedPair(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail));
    return Decode(userDefined ? "GB18030" : "GBK", Pair(lead, trail));
}

std::uint32_t EncodeCp936(std::uint32_t cp)
{
    return Encode(IsUserDefinedCharacter(cp) ? "GB18030" : "GBK", cp);
}

void Fail(const char* what)
{
    std::fprintf(stderr, "generate-gbk-table: %s\n", what);
    std::exit(1);
}

constexpr int kLinearCount = 126 * 10 * 126 * 10;

std::string FourBytes(int linear)
{
    const int b3 = linear % 10, b2 = linear / 10 % 126, b1 = linear / 1260 % 10, b0 = linear / 12600;
    return std::string{static_cast<char>(0x81 + b0), static_cast<char>(0x30 + b1), static_cast<char>(0x81 + b2),
                       static_cast<char>(0x30 + b3)};
}

} // namespace

int main()
{
    std::printf("// Made by scripts/generate-gbk-table from glibc's iconv: do not edit.\n");
    // ---- GBK pairs
    std::vector<std::uint32_t> gbk(126 * 191), gb18030(126 * 191);
    for (int lead = 0x81; lead <= 0xFE; ++lead)
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            const int i = (lead - 0x81) * 191 + trail - 0x40;
            gbk[i] = DecodeCp936Pair(lead, trail);
            gb18030[i] = Decode("GB18030", Pair(lead, trail));
            if (gbk[i] > 0xFFFF)
                Fail("a GBK pair outside the BMP");
        }
    for (int b = 0; b < 0x80; ++b)
        if (Decode("GBK", std::string(1, static_cast<char>(b))) != static_cast<std::uint32_t>(b) ||
            Decode("GB18030", std::string(1, static_cast<char>(b))) != static_cast<std::uint32_t>(b) ||
            Encode("GBK", b) != static_cast<std::uint32_t>(b) || Encode("GB18030", b) != static_cast<std::uint32_t>(b))
            Fail("ASCII is not itself");
    // glibc reads GBK's 0x80 alone as the euro sign
    std::printf("// lone bytes above ASCII that are characters: encoding (0 GBK, 1 GB18030), byte, code point\n"
                "static const std::uint32_t kLoneBytes[][3] = {\n");
    for (int b = 0x80; b <= 0xFF; ++b)
        for (int e = 0; e < 2; ++e)
            if (const std::uint32_t cp = Decode(e ? "GB18030" : "GBK", std::string(1, static_cast<char>(b))))
                std::printf("{%d,0x%X,0x%X},\n", e, b, static_cast<unsigned>(cp));
    std::printf("{0,0,0}};\n\n");
    std::printf("// the code point of GBK pair (lead - 0x81) * 191 + trail - 0x40; 0: no character\n"
                "static const std::uint16_t kGbkPairs[126 * 191] = {");
    for (size_t i = 0; i < gbk.size(); ++i)
        std::printf("%s0x%X,", i % 12 ? "" : "\n", static_cast<unsigned>(gbk[i]));
    std::printf("\n};\n\n// the GB18030 pairs that read otherwise: pair index, code point\n"
                "static const std::uint32_t kGb18030Pairs[][2] = {\n");
    for (size_t i = 0; i < gbk.size(); ++i)
        if (gb18030[i] != gbk[i])
            std::printf("{%zu,0x%X},\n", i, static_cast<unsigned>(gb18030[i]));
    std::printf("{0,0}};\n\n");

    // ---- four-byte GB18030: linear index (b0-0x81)*12600+(b1-0x30)*1260+(b2-0x81)*10+b3-0x30
    std::printf("// the four-byte GB18030 characters: first linear index, first code point, count\n"
                "static const std::uint32_t kGb18030Runs[][3] = {\n");
    std::vector<std::uint32_t> fourOf(0x110000, 0);
    std::uint32_t runStart = 0, runCp = 0, runLength = 0;
    auto flush = [&] {
        if (runLength)
            std::printf("{%u,0x%X,%u},\n", runStart, runCp, runLength);
        runLength = 0;
    };
    for (int linear = 0; linear < kLinearCount; ++linear) {
        const std::uint32_t cp = Decode("GB18030", FourBytes(linear));
        if (cp && !fourOf[cp])
            fourOf[cp] = static_cast<std::uint32_t>(linear) + 1;
        if (cp && runLength && cp == runCp + runLength && static_cast<std::uint32_t>(linear) == runStart + runLength) {
            ++runLength;
            continue;
        }
        flush();
        if (cp)
            runStart = static_cast<std::uint32_t>(linear), runCp = cp, runLength = 1;
    }
    flush();
    std::printf("{0,0,0}};\n\n");

    // ---- encoders: what differs from the lowest code that reads back as the code point
    std::vector<std::uint32_t> gbkOf(0x110000, 0), pairOf18030(0x110000, 0);
    for (int i = static_cast<int>(gbk.size()) - 1; i >= 0; --i) {
        const std::uint32_t code = static_cast<std::uint32_t>((0x81 + i / 191) << 8 | (0x40 + i % 191));
        if (gbk[i])
            gbkOf[gbk[i]] = code;
        if (gb18030[i])
            pairOf18030[gb18030[i]] = code;
    }
    std::printf("// code points whose GBK bytes are not the lowest pair that reads as them:\n"
                "// code point, bytes (one byte below 0x100; 0: refused)\n"
                "static const std::uint32_t kGbkEncodings[][2] = {\n");
    for (std::uint32_t cp = 0x80; cp < 0x110000; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF)
            continue;
        const std::uint32_t got = EncodeCp936(cp);
        if (got != gbkOf[cp])
            std::printf("{0x%X,0x%X},\n", cp, got);
    }
    std::printf("{0,0}};\n\n// code points whose GB18030 bytes are not the lowest pair, else the lowest\n"
                "// four-byte code, that reads as them: code point, bytes (as for GBK)\n"
                "static const std::uint32_t kGb18030Encodings[][2] = {\n");
    for (std::uint32_t cp = 0x80; cp < 0x110000; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF)
            continue;
        std::uint32_t expected = pairOf18030[cp];
        if (!expected && fourOf[cp]) {
            const std::string b = FourBytes(static_cast<int>(fourOf[cp] - 1));
            expected = static_cast<std::uint32_t>(static_cast<unsigned char>(b[0]) << 24 | static_cast<unsigned char>(b[1]) << 16 |
                                                  static_cast<unsigned char>(b[2]) << 8 | static_cast<unsigned char>(b[3]));
        }
        const std::uint32_t got = Encode("GB18030", cp);
        if (got != expected)
            std::printf("{0x%X,0x%X},\n", cp, got);
    }
    std::printf("{0,0}};\n");
    return 0;
}
