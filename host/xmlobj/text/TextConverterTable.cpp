#include "TextConverter.h"
#include "Utf8Sequence.h"

#include <cstdint>
#include <vector>

namespace {

#include "GbkTables.inc"

enum Charset { kUnknown, kUtf8, kGbk, kGb18030 };

Charset CharsetNamed(const std::string& name)
{
    std::string upper;
    for (char c : name)
        upper += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    return upper == "UTF-8" ? kUtf8 : upper == "GBK" ? kGbk : upper == "GB18030" ? kGb18030 : kUnknown;
}

template <size_t N>
bool ListedEncoding(const std::uint32_t (&list)[N][2], std::uint32_t cp, std::uint32_t& bytes)
{
    for (const auto& e : list)
        if (e[0] == cp && cp != 0) {
            bytes = e[1];
            return true;
        }
    return false;
}

std::uint32_t FourByteCode(std::uint32_t linear)
{
    return (0x81 + linear / 12600) << 24 | (0x30 + linear / 1260 % 10) << 16 | (0x81 + linear / 10 % 126) << 8 |
           (0x30 + linear % 10);
}

// The tables in the form the conversions look things up in, made once.
struct Tables {
    std::uint32_t lone[2][128] = {};     // GBK, GB18030: lone byte - 0x80 -> code point
    std::vector<std::uint32_t> gb18030Pairs; // pair index -> code point, 0 none
    std::vector<std::uint32_t> gbkOf, gb18030Of; // BMP code point -> bytes, 0 refused

    Tables() : gb18030Pairs(kGbkPairs, kGbkPairs + 126 * 191), gbkOf(0x10000), gb18030Of(0x10000)
    {
        for (const auto& b : kLoneBytes)
            if (b[1] >= 0x80)
                lone[b[0]][b[1] - 0x80] = b[2];
        for (const auto& p : kGb18030Pairs)
            if (p[1] != 0 || p[0] != 0)
                gb18030Pairs[p[0]] = p[1];
        for (const auto& run : kGb18030Runs)
            for (std::uint32_t k = 0; k < run[2] && run[1] + k < 0x10000; ++k)
                if (!gb18030Of[run[1] + k])
                    gb18030Of[run[1] + k] = FourByteCode(run[0] + k);
        for (size_t i = 126 * 191; i-- > 0;) {
            const std::uint32_t code = static_cast<std::uint32_t>((0x81 + i / 191) << 8 | (0x40 + i % 191));
            if (kGbkPairs[i])
                gbkOf[kGbkPairs[i]] = code;
            if (gb18030Pairs[i] && gb18030Pairs[i] < 0x10000)
                gb18030Of[gb18030Pairs[i]] = code;
        }
        for (const auto& e : kGbkEncodings)
            if (e[0] && e[0] < 0x10000)
                gbkOf[e[0]] = e[1];
        for (const auto& e : kGb18030Encodings)
            if (e[0] && e[0] < 0x10000)
                gb18030Of[e[0]] = e[1];
    }
};

const Tables& TheTables()
{
    static const Tables tables;
    return tables;
}

// ---- reading one character: its length, 0 when the bytes are none (or cut short)

bool IsPairTrail(unsigned char t) { return t >= 0x40 && t <= 0xFE && t != 0x7F; }

size_t ReadGbk(const unsigned char* s, size_t n, std::uint32_t& cp, bool gb18030)
{
    const Tables& t = TheTables();
    if (s[0] < 0x80) {
        cp = s[0];
        return 1;
    }
    if ((cp = t.lone[gb18030][s[0] - 0x80]) != 0)
        return 1;
    if (s[0] == 0x80 || s[0] == 0xFF || n < 2)
        return 0;
    if (IsPairTrail(s[1])) {
        const size_t index = static_cast<size_t>(s[0] - 0x81) * 191 + (s[1] - 0x40);
        cp = gb18030 ? t.gb18030Pairs[index] : kGbkPairs[index];
        return cp ? 2 : 0;
    }
    if (!gb18030 || s[1] < 0x30 || s[1] > 0x39 || n < 4 || s[2] < 0x81 || s[2] > 0xFE || s[3] < 0x30 || s[3] > 0x39)
        return 0;
    const std::uint32_t linear = (s[0] - 0x81u) * 12600 + (s[1] - 0x30u) * 1260 + (s[2] - 0x81u) * 10 + (s[3] - 0x30u);
    size_t lo = 0, hi = sizeof kGb18030Runs / sizeof kGb18030Runs[0] - 1; // less the closing zeros
    while (lo < hi) { // the last run that starts at linear or before
        const size_t mid = (lo + hi) / 2;
        if (kGb18030Runs[mid][0] <= linear)
            lo = mid + 1;
        else
            hi = mid;
    }
    if (lo == 0 || linear - kGb18030Runs[lo - 1][0] >= kGb18030Runs[lo - 1][2])
        return 0;
    cp = kGb18030Runs[lo - 1][1] + (linear - kGb18030Runs[lo - 1][0]);
    return 4;
}

// ---- writing one character: false when the encoding lacks it

// the lowest pair that reads as cp, else the lowest four-byte code; 0 for none
std::uint32_t SupplementaryGb18030(std::uint32_t cp)
{
    for (const auto& p : kGb18030Pairs) // ordered by pair
        if (p[1] == cp && cp != 0)
            return static_cast<std::uint32_t>((0x81 + p[0] / 191) << 8 | (0x40 + p[0] % 191));
    for (const auto& run : kGb18030Runs) // ordered by code
        if (cp >= run[1] && cp - run[1] < run[2])
            return FourByteCode(run[0] + (cp - run[1]));
    return 0;
}

void AppendBytes(std::uint32_t bytes, std::string& out)
{
    const int count = bytes > 0xFFFFFF ? 4 : bytes > 0xFFFF ? 3 : bytes > 0xFF ? 2 : 1;
    for (int i = count - 1; i >= 0; --i)
        out += static_cast<char>(bytes >> (8 * i) & 0xFF);
}

bool WriteUtf8(std::uint32_t cp, std::string& out)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return true;
}

bool WriteGbk(std::uint32_t cp, std::string& out, bool gb18030)
{
    std::uint32_t bytes = 0;
    if (cp < 0x80) {
        bytes = cp;
    } else if (cp < 0x10000) {
        bytes = (gb18030 ? TheTables().gb18030Of : TheTables().gbkOf)[cp];
    } else if (!(gb18030 ? ListedEncoding(kGb18030Encodings, cp, bytes) : ListedEncoding(kGbkEncodings, cp, bytes)) &&
               gb18030) {
        bytes = SupplementaryGb18030(cp);
    }
    if (bytes == 0 && cp != 0)
        return false;
    AppendBytes(bytes, out);
    return true;
}

} // namespace

struct TextConverter::State {
    Charset to, from;
};

TextConverter::TextConverter(const char* to, const char* from) : m_state(new State{CharsetNamed(to), CharsetNamed(from)})
{
}

TextConverter::~TextConverter() { delete m_state; }

bool TextConverter::Run(const char* data, std::size_t size, std::string& out, std::size_t& stoppedAt)
{
    const Charset from = m_state->from, to = m_state->to;
    if (from == kUnknown || to == kUnknown) {
        stoppedAt = 0;
        return false;
    }
    const auto* s = reinterpret_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size;) {
        std::uint32_t cp = 0;
        const size_t len = from == kUtf8 ? Utf8SequenceLength(s + i, size - i, cp) : ReadGbk(s + i, size - i, cp, from == kGb18030);
        const size_t before = out.size();
        if (len == 0 || !(to == kUtf8 ? WriteUtf8(cp, out) : WriteGbk(cp, out, to == kGb18030))) {
            out.resize(before);
            stoppedAt = i;
            return false;
        }
        i += len;
    }
    return true;
}
