#include <xmlobj/text/XmlEncodingImpl.h>

#include <xmlobj/text/CodePage936.h>
#include <xmlobj/text/Printable.h>
#include <xmlobj/text/TextConverter.h>
#include <xmlobj/text/Utf8Sequence.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>
#ifdef _MSC_VER
#define strcasecmp _stricmp
#else
#include <strings.h>
#endif

namespace kvnodedefine {

namespace {

bool IsRefusedControl(unsigned char c) noexcept { return c < 0x20 && c != '\t' && c != '\n' && c != '\r'; }

// One converter per direction and thread: opening one costs far more than a
// conversion, and a converter carries state that threads must not share.
using Converter = TextConverter;

Converter& Utf8ToGbk() { thread_local Converter c("GBK", "UTF-8"); return c; }
Converter& GbkToUtf8() { thread_local Converter c("UTF-8", "GBK"); return c; }
Converter& Gb18030ToGbk() { thread_local Converter c("GBK", "GB18030"); return c; }
Converter& GbkToGb18030() { thread_local Converter c("GB18030", "GBK"); return c; }
Converter& Gb18030ToUtf8() { thread_local Converter c("UTF-8", "GB18030"); return c; }

// the UTF-8 bytes of a code point (at most 0x10FFFF) in out; returns how many
size_t EncodeUtf8(std::uint32_t cp, char* out) noexcept
{
    if (cp < 0x80) {
        out[0] = static_cast<char>(cp);
        return 1;
    }
    if (cp < 0x800) {
        out[0] = static_cast<char>(0xC0 | (cp >> 6));
        out[1] = static_cast<char>(0x80 | (cp & 0x3F));
        return 2;
    }
    if (cp < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (cp >> 12));
        out[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (cp & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (cp >> 18));
    out[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (cp & 0x3F));
    return 4;
}

// One call of iconv costs far more than converting a character, and text
// changes encoding a few characters at a time (a show name among ASCII
// markup). So each character is asked of iconv once per process and the
// answer kept: GBK is stateless, so a character converts the same alone as
// within a run. Entries: 0 not asked yet, 1 not convertible, 2 not a single
// two-byte (or single code point) answer, to be asked every time; else the answer.
enum : std::uint32_t { kNotAsked = 0, kNotConvertible = 1, kAskEveryTime = 2 };
std::atomic<std::uint16_t> g_gbkOfBmp[0x10000];   // BMP code point -> GBK lead << 8 | trail
std::atomic<std::uint32_t> g_unicodeOfGbk[126 * 191]; // GBK pair -> code point

std::uint32_t AskGbkOf(std::uint32_t cp)
{
    char utf8[4];
    std::string gbk;
    size_t stopped = 0;
    if (!Utf8ToGbk().Run(utf8, EncodeUtf8(cp, utf8), gbk, stopped) ||
        FindInvalidGbk(gbk.data(), gbk.size()) != gbk.size())
        return kNotConvertible;
    if (gbk.size() != 2)
        return kAskEveryTime;
    return static_cast<std::uint32_t>(static_cast<unsigned char>(gbk[0]) << 8 | static_cast<unsigned char>(gbk[1]));
}

std::uint32_t GbkOf(std::uint32_t cp)
{
    if (cp > 0xFFFF)
        return kAskEveryTime;
    std::uint32_t v = g_gbkOfBmp[cp].load(std::memory_order_relaxed);
    if (v == kNotAsked) {
        v = AskGbkOf(cp);
        g_gbkOfBmp[cp].store(static_cast<std::uint16_t>(v), std::memory_order_relaxed);
    }
    return v;
}

// the code point of a valid GBK pair (lead 0x81..0xFE, trail 0x40..0xFE)
std::uint32_t UnicodeOfGbk(unsigned char lead, unsigned char trail)
{
    std::atomic<std::uint32_t>& entry = g_unicodeOfGbk[(lead - 0x81) * 191 + (trail - 0x40)];
    std::uint32_t v = entry.load(std::memory_order_relaxed);
    if (v != kNotAsked)
        return v;
    const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
    std::string utf8;
    size_t stopped = 0;
    if (!GbkToUtf8().Run(pair, 2, utf8, stopped)) {
        v = kNotConvertible;
    } else {
        std::uint32_t cp = 0;
        const size_t len = Utf8SequenceLength(reinterpret_cast<const unsigned char*>(utf8.data()), utf8.size(), cp);
        v = len == utf8.size() && cp > kAskEveryTime ? cp : static_cast<std::uint32_t>(kAskEveryTime);
    }
    entry.store(v, std::memory_order_relaxed);
    return v;
}

// Converted text in a buffer the size of the source: GBK never takes more
// bytes than the encodings it is read from, but a sink that would overflow
// stops writing and says so rather than trust it.
struct BufferSink {
    char* p;
    char* end;
    bool overflow = false;
    void append(const char* s, size_t n) noexcept
    {
        if (n > static_cast<size_t>(end - p)) {
            overflow = true;
            return;
        }
        std::memcpy(p, s, n);
        p += n;
    }
    void push_back(char c) noexcept { append(&c, 1); }
};


std::string CodePointText(std::uint32_t cp)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(cp));
    return buf;
}

// true when none of the eight bytes at p is 0x80 or above or a control character
inline bool PlainAsciiWord(const char* p) noexcept
{
    constexpr std::uint64_t ones = 0x0101010101010101ull, high = 0x8080808080808080ull;
    std::uint64_t w;
    std::memcpy(&w, p, sizeof w);
    return ((w | ((w - 0x20 * ones) & ~w)) & high) == 0;
}

// The end of the ASCII run from j: the first byte of 0x80 or above or a
// control character other than tab and line ends, or size.
inline size_t PlainRunEnd(const char* data, size_t j, size_t size) noexcept
{
    constexpr std::uint64_t ones = 0x0101010101010101ull, high = 0x8080808080808080ull;
    for (;;) {
        while (j + 8 <= size && PlainAsciiWord(data + j))
            j += 8;
#if defined(__GNUC__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
        if (j + 8 <= size) {
            // the lowest marked byte is the first: a borrow marks only bytes after it
            std::uint64_t w;
            std::memcpy(&w, data + j, sizeof w);
            j += static_cast<size_t>(__builtin_ctzll((w | ((w - 0x20 * ones) & ~w)) & high)) / 8;
        }
#endif
        const unsigned char c = j < size ? static_cast<unsigned char>(data[j]) : 0;
        if (j == size || c >= 0x80 || IsRefusedControl(c))
            return j;
        ++j; // a tab or line end
    }
}

// ASCII is the same in every encoding here, so only the runs of other bytes
// go through a converter. check tells whether a run is valid on its own
// and returns its length; it fills error when not.
template <class Out, class Check, class Convert>
bool ConvertRuns(const char* data, size_t size, Out& out, TextError& error, Check check, Convert convert)
{
    size_t i = 0;
    while (i < size) {
        size_t j = PlainRunEnd(data, i, size);
        if (j < size && IsRefusedControl(static_cast<unsigned char>(data[j]))) {
            out.append(data + i, j - i);
            error.offset = j;
            error.message =
                "control character " + CodePointText(static_cast<unsigned char>(data[j])) + " is not allowed in XML";
            return false;
        }
        out.append(data + i, j - i);
        if (j == size)
            break;
        i = j;
        while (j < size && static_cast<unsigned char>(data[j]) >= 0x80) {
            const size_t len = check(data, size, j, error);
            if (len == 0)
                return false;
            j += len;
        }
        if (!convert(data, i, j, out, error))
            return false;
        i = j;
    }
    return true;
}

size_t CheckUtf8(const char* data, size_t size, size_t at, TextError& error)
{
    std::uint32_t cp;
    const size_t len = Utf8SequenceLength(reinterpret_cast<const unsigned char*>(data + at), size - at, cp);
    if (len == 0) {
        error.offset = at;
        error.message = "bytes that are not valid UTF-8";
    }
    return len;
}

size_t CheckGbk(const char* data, size_t size, size_t at, TextError& error)
{
    const auto lead = static_cast<unsigned char>(data[at]);
    const auto trail = at + 1 < size ? static_cast<unsigned char>(data[at + 1]) : 0;
    if (lead == kEuroByte)
        return 1;
    if (at + 1 < size && IsGbkCharacter(lead, trail))
        return 2;
    error.offset = at;
    error.message = "bytes that are not valid GBK";
    if (IsGbkPair(lead, trail)) {
        char pair[64];
        std::snprintf(pair, sizeof pair, " (%02X %02X is in the ranges of a pair but no character)", lead, trail);
        error.message += pair;
    }
    return 0;
}

// GB18030 adds four-byte characters whose second and fourth bytes are ASCII digits.
size_t CheckGb18030(const char* data, size_t size, size_t at, TextError& error)
{
    const auto b = [&](size_t i) { return static_cast<unsigned char>(data[at + i]); };
    if (b(0) >= 0x81 && b(0) <= 0xFE && at + 1 < size) {
        if (IsGbkPair(b(0), b(1)))
            return 2;
        if (b(1) >= 0x30 && b(1) <= 0x39 && at + 3 < size && b(2) >= 0x81 && b(2) <= 0xFE && b(3) >= 0x30 &&
            b(3) <= 0x39)
            return 4;
    }
    error.offset = at;
    error.message = "bytes that are not valid GB18030";
    return 0;
}

// A run that is GBK already (checked): written as it is.
template <class Out>
bool CopyRun(const char* data, size_t from, size_t to, Out& out, TextError&)
{
    out.append(data + from, to - from);
    return true;
}

// The run is valid UTF-8 (checked); each character goes through the table.
template <class Out>
bool Utf8RunToGbk(const char* data, size_t from, size_t to, Out& out, TextError& error)
{
    for (size_t i = from; i < to;) {
        std::uint32_t cp = 0;
        const size_t len = Utf8SequenceLength(reinterpret_cast<const unsigned char*>(data + i), to - i, cp);
        const std::uint32_t gbk = GbkOf(cp);
        if (gbk > kAskEveryTime) {
            out.push_back(static_cast<char>(gbk >> 8));
            out.push_back(static_cast<char>(gbk & 0xFF));
        } else {
            std::string converted;
            size_t stopped = 0;
            // iconv drops some characters (the tags, U+E0000 on) without a word: a character gives bytes
            if (gbk == kNotConvertible || !Utf8ToGbk().Run(data + i, len, converted, stopped) || converted.empty() ||
                FindInvalidGbk(converted.data(), converted.size()) != converted.size()) {
                error.offset = i;
                error.message = "character " + CodePointText(cp) + " cannot be held in GBK";
                return false;
            }
            out.append(converted.data(), converted.size());
        }
        i += len;
    }
    return true;
}

template <class Out>
bool Gb18030RunToGbk(const char* data, size_t from, size_t to, Out& out, TextError& error)
{
    size_t stopped = 0;
    std::string converted;
    if (Gb18030ToGbk().Run(data + from, to - from, converted, stopped)) {
        out.append(converted.data(), converted.size());
        return true;
    }
    // a character GBK lacks, named; or four bytes of the right shapes that are no character
    std::string probe;
    size_t probeStop = 0;
    TextError ignored;
    const size_t length = CheckGb18030(data, to, from + stopped, ignored);
    std::uint32_t cp = 0;
    error.offset = from + stopped;
    if (Gb18030ToUtf8().Run(data + from + stopped, length, probe, probeStop) &&
        Utf8SequenceLength(reinterpret_cast<const unsigned char*>(probe.data()), probe.size(), cp) > 0) {
        error.message = "character " + CodePointText(cp) + " cannot be held in GBK";
    } else {
        char bytes[32];
        const auto* b = reinterpret_cast<const unsigned char*>(data + from + stopped);
        std::snprintf(bytes, sizeof bytes, " (%02X %02X %02X %02X is no character)", b[0], b[1], b[2], b[3]);
        error.message = std::string("bytes that are not valid GB18030") + (length == 4 ? bytes : "");
    }
    return false;
}

bool GbkRunTo(Converter& converter, const char* data, size_t from, size_t to, std::string& out, TextError& error)
{
    size_t stopped = 0;
    if (converter.Run(data + from, to - from, out, stopped))
        return true;
    error.offset = from + stopped;
    error.message = "bytes that are not valid GBK";
    return false;
}

// The run is valid GBK (checked); each pair goes through the table.
bool GbkRunToUtf8(const char* data, size_t from, size_t to, std::string& out, TextError& error)
{
    for (size_t i = from; i < to; i += 2) {
        char utf8[4];
        if (static_cast<unsigned char>(data[i]) == kEuroByte) {
            out.append(utf8, EncodeUtf8(kEuroSign, utf8));
            --i;
            continue;
        }
        const std::uint32_t cp =
            UnicodeOfGbk(static_cast<unsigned char>(data[i]), static_cast<unsigned char>(data[i + 1]));
        if (cp == kNotConvertible) {
            error.offset = i;
            error.message = "bytes that are not valid GBK";
            return false;
        }
        if (cp == kAskEveryTime) {
            if (!GbkRunTo(GbkToUtf8(), data, i, i + 2, out, error))
                return false;
            continue;
        }
        out.append(utf8, EncodeUtf8(cp, utf8));
    }
    return true;
}

} // namespace

size_t GbkPairToUtf8(unsigned char lead, unsigned char trail, char* out)
{
    const std::uint32_t cp = UnicodeOfGbk(lead, trail);
    return cp > kAskEveryTime ? EncodeUtf8(cp, out) : 0;
}

namespace {

bool Utf16ToUtf8(const char* data, size_t size, bool littleEndian, std::string& out, TextError& error)
{
    out.clear();
    out.reserve(size / 2 + 16);
    auto unit = [&](size_t at) {
        const unsigned char a = static_cast<unsigned char>(data[at]), b = static_cast<unsigned char>(data[at + 1]);
        return littleEndian ? static_cast<std::uint32_t>(a | (b << 8)) : static_cast<std::uint32_t>((a << 8) | b);
    };
    for (size_t i = 0; i < size; i += 2) {
        if (i + 1 >= size) {
            error.offset = i;
            error.message = "a UTF-16 text that ends in half a character";
            return false;
        }
        std::uint32_t cp = unit(i);
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 3 < size && unit(i + 2) >= 0xDC00 && unit(i + 2) <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            error.offset = i;
            error.message = "an unpaired UTF-16 surrogate";
            return false;
        }
        char utf8[4];
        out.append(utf8, EncodeUtf8(cp, utf8));
    }
    return true;
}

void Utf8ToUtf16(const std::string& utf8, bool littleEndian, std::string& out)
{
    out.clear();
    out.reserve(utf8.size() * 2 + 2);
    auto put = [&](std::uint32_t u) {
        const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
        out += littleEndian ? lo : hi;
        out += littleEndian ? hi : lo;
    };
    put(0xFEFF);
    const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
    for (size_t i = 0; i < utf8.size();) {
        std::uint32_t cp = 0;
        size_t len = Utf8SequenceLength(s + i, utf8.size() - i, cp);
        if (len == 0)
            len = 1, cp = 0xFFFD; // cannot happen: the text came from a converter
        i += len;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            put(0xD800 + (cp >> 10));
            put(0xDC00 + (cp & 0x3FF));
        } else {
            put(cp);
        }
    }
}

} // namespace

const char* XmlEncodingName(XmlEncoding encoding) noexcept
{
    switch (encoding) {
    case XmlEncoding::Utf8: return "UTF-8";
    case XmlEncoding::Utf16LE:
    case XmlEncoding::Utf16BE: return "UTF-16";
    case XmlEncoding::Gbk: return "GBK";
    case XmlEncoding::Gb18030: return "GB18030";
    }
    return "UTF-8";
}

bool XmlEncodingFromName(const char* name, XmlEncoding& encoding) noexcept
{
    static const struct {
        const char* name;
        XmlEncoding encoding;
    } names[] = {
        {"UTF-8", XmlEncoding::Utf8},     {"UTF8", XmlEncoding::Utf8},       {"UTF-16", XmlEncoding::Utf16LE},
        {"UTF-16LE", XmlEncoding::Utf16LE}, {"UTF-16BE", XmlEncoding::Utf16BE}, {"GBK", XmlEncoding::Gbk},
        {"GB2312", XmlEncoding::Gbk},     {"CP936", XmlEncoding::Gbk},       {"MS936", XmlEncoding::Gbk},
        {"WINDOWS-936", XmlEncoding::Gbk}, {"X-GBK", XmlEncoding::Gbk},      {"GB18030", XmlEncoding::Gb18030},
    };
    for (const auto& n : names)
        if (name && strcasecmp(name, n.name) == 0) {
            encoding = n.encoding;
            return true;
        }
    return false;
}

size_t FindInvalidGbk(const char* data, size_t size)
{
    for (size_t i = PlainRunEnd(data, 0, size); i < size;) {
        const auto b = static_cast<unsigned char>(data[i]);
        const size_t length = b == kEuroByte ? 1 : 2;
        // a refused control character, or a byte of 0x80 or above that begins no character
        if (length == 2 && (i + 1 == size || !IsGbkCharacter(b, static_cast<unsigned char>(data[i + 1]))))
            return i;
        i = PlainRunEnd(data, i + length, size);
    }
    return size;
}

bool IsGbkCharacter(unsigned char lead, unsigned char trail)
{
    return IsGbkPair(lead, trail) && UnicodeOfGbk(lead, trail) != kNotConvertible;
}

std::uint32_t GbkCodePoint(unsigned char lead, unsigned char trail)
{
    if (!IsGbkPair(lead, trail))
        return 0;
    const std::uint32_t cp = UnicodeOfGbk(lead, trail);
    if (cp == kNotConvertible)
        return 0;
    return cp == kAskEveryTime ? 0 : cp;
}

namespace {

template <class Out>
bool ConvertToGbkInto(const char* data, size_t size, XmlEncoding from, Out& out, TextError& error)
{
    switch (from) {
    case XmlEncoding::Utf8:
        return ConvertRuns(data, size, out, error, CheckUtf8, Utf8RunToGbk<Out>);
    case XmlEncoding::Gbk:
        return ConvertRuns(data, size, out, error, CheckGbk, CopyRun<Out>);
    case XmlEncoding::Gb18030:
        return ConvertRuns(data, size, out, error, CheckGb18030, Gb18030RunToGbk<Out>);
    case XmlEncoding::Utf16LE:
    case XmlEncoding::Utf16BE: {
        std::string utf8;
        if (!Utf16ToUtf8(data, size, from == XmlEncoding::Utf16LE, utf8, error))
            return false;
        if (ConvertRuns(utf8.data(), utf8.size(), out, error, CheckUtf8, Utf8RunToGbk<Out>))
            return true;
        // report the place in the UTF-16 text: count the UTF-16 units before it
        size_t units = 0;
        for (size_t i = 0; i < error.offset; ++i) {
            const unsigned char c = static_cast<unsigned char>(utf8[i]);
            if ((c & 0xC0) != 0x80)
                units += c >= 0xF0 ? 2 : 1;
        }
        error.offset = units * 2;
        return false;
    }
    }
    return false;
}

} // namespace

bool ConvertToGbk(const char* data, size_t size, XmlEncoding from, std::string& out, TextError& error)
{
    out.clear();
    out.reserve(size + size / 8);
    return ConvertToGbkInto(data, size, from, out, error);
}

namespace {

// A whole document from UTF-8: ASCII a word at a time, a character of three
// bytes (Chinese is) straight from the table; any other character, and any
// error, through ConvertRuns one character at a time. No character takes
// more bytes in GBK than in UTF-8, so the writes stay within the buffer.
bool Utf8IntoGbkBuffer(const char* data, size_t size, BufferSink& out, TextError& error)
{
    const auto* s = reinterpret_cast<const unsigned char*>(data);
    size_t i = 0;
    while (i < size) {
        const size_t j = PlainRunEnd(data, i, size);
        std::memcpy(out.p, data + i, j - i);
        out.p += j - i;
        i = j;
        if (i == size)
            break;
        if (s[i] >= 0xE0 && s[i] <= 0xEF && i + 2 < size && (s[i + 1] & 0xC0) == 0x80 && (s[i + 2] & 0xC0) == 0x80) {
            const std::uint32_t cp = (s[i] & 0x0Fu) << 12 | (s[i + 1] & 0x3Fu) << 6 | (s[i + 2] & 0x3Fu);
            const std::uint32_t gbk = cp >= 0x800 && (cp < 0xD800 || cp > 0xDFFF)
                                          ? g_gbkOfBmp[cp].load(std::memory_order_relaxed)
                                          : std::uint32_t{kNotAsked};
            if (gbk > kAskEveryTime) {
                out.p[0] = static_cast<char>(gbk >> 8);
                out.p[1] = static_cast<char>(gbk & 0xFF);
                out.p += 2;
                i += 3;
                continue;
            }
        }
        std::uint32_t cp;
        const size_t length = std::max<size_t>(1, Utf8SequenceLength(s + i, size - i, cp));
        if (!ConvertRuns(data + i, length, out, error, CheckUtf8, Utf8RunToGbk<BufferSink>)) {
            error.offset += i;
            return false;
        }
        i += length;
    }
    return true;
}

} // namespace

bool ConvertToGbkBuffer(const char* data, size_t size, XmlEncoding from, char* out, size_t& outSize, TextError& error)
{
    BufferSink sink{out, out + size};
    const bool ok = from == XmlEncoding::Utf8 ? Utf8IntoGbkBuffer(data, size, sink, error)
                                              : ConvertToGbkInto(data, size, from, sink, error);
    outSize = static_cast<size_t>(sink.p - out);
    if (ok && sink.overflow) {
        error.offset = 0;
        error.message = "the text grew in conversion to GBK";
        return false;
    }
    return ok;
}

bool AppendGbkAs(XmlEncoding to, const char* data, size_t size, std::string& out, TextError& error)
{
    return to == XmlEncoding::Utf8 ? ConvertRuns(data, size, out, error, CheckGbk, GbkRunToUtf8)
                                   : ConvertRuns(data, size, out, error, CheckGbk, CopyRun<std::string>);
}

bool ConvertFromGbk(const char* data, size_t size, XmlEncoding to, std::string& out, TextError& error)
{
    out.clear();
    out.reserve(size + size / 8);
    switch (to) {
    case XmlEncoding::Gbk:
    case XmlEncoding::Utf8:
        return AppendGbkAs(to, data, size, out, error);
    case XmlEncoding::Gb18030:
        return ConvertRuns(data, size, out, error, CheckGbk,
                           [](const char* d, size_t a, size_t b, std::string& o, TextError& e) {
                               return GbkRunTo(GbkToGb18030(), d, a, b, o, e);
                           });
    case XmlEncoding::Utf16LE:
    case XmlEncoding::Utf16BE: {
        std::string utf8;
        if (!ConvertFromGbk(data, size, XmlEncoding::Utf8, utf8, error))
            return false;
        Utf8ToUtf16(utf8, to == XmlEncoding::Utf16LE, out);
        return true;
    }
    }
    return false;
}

bool AppendCodePointAsGbk(std::uint32_t cp, std::string& out)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
        return true;
    }
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return false;
    const std::uint32_t gbk = GbkOf(cp);
    if (gbk > kAskEveryTime) {
        out += static_cast<char>(gbk >> 8);
        out += static_cast<char>(gbk & 0xFF);
        return true;
    }
    if (gbk == kNotConvertible)
        return false;
    char utf8[4];
    const size_t before = out.size();
    size_t stopped = 0;
    if (Utf8ToGbk().Run(utf8, EncodeUtf8(cp, utf8), out, stopped) &&
        FindInvalidGbk(out.data() + before, out.size() - before) == out.size() - before)
        return true;
    out.resize(before);
    return false;
}

namespace {

bool IsBlank(char c) noexcept { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// XML lets a declaration run long (blanks, a version of many digits), so it
// is read as far as this: far enough for any that is meant, not so far that
// a document of blanks is read twice.
constexpr size_t kLongestDeclaration = 65536;

// [A-Za-z] ([A-Za-z0-9._] | '-')*
bool IsEncodingName(std::string_view name) noexcept
{
    const auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    if (name.empty() || !letter(name[0]))
        return false;
    return std::all_of(name.begin(), name.end(), [&letter](char c) {
        return letter(c) || (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-';
    });
}

// The declaration's pseudo-attributes, read from the text after "<?xml" as
// ASCII (other characters stand as 0x80 there) for its encoding. A
// pseudo-attribute that is no name="value", or a declaration that the text
// cuts short, stops the reading at the offset of the cause; the reader
// checks the values themselves.
struct DeclarationReading {
    std::string_view encoding;
    size_t encodingAt = 0;
    bool found = false;
    size_t stoppedAt = std::string_view::npos;
    bool closedInValue = false; // stopped at a "?>" in a value, where the parser ends the declaration
};

DeclarationReading ReadDeclaration(std::string_view decl)
{
    DeclarationReading r;
    const auto blanks = [&decl](size_t at) {
        while (at < decl.size() && IsBlank(decl[at]))
            ++at;
        return at;
    };
    for (size_t at = blanks(5); decl.compare(at, 2, "?>") != 0; at = blanks(at)) {
        const size_t nameAt = at;
        while (at < decl.size() && !IsBlank(decl[at]) && !std::strchr("=?\"'", decl[at]))
            ++at;
        const std::string_view name = decl.substr(nameAt, at - nameAt);
        at = blanks(at);
        const bool equals = !name.empty() && at < decl.size() && decl[at] == '=';
        at = equals ? blanks(at + 1) : at;
        const size_t close =
            equals && at < decl.size() && (decl[at] == '"' || decl[at] == '\'') ? decl.find(decl[at], at + 1)
                                                                                : std::string_view::npos;
        if (close == std::string_view::npos) {
            // what the end of the text cuts short may be one
            r.stoppedAt = at >= decl.size() || (equals && at < decl.size() && std::strchr("\"'", decl[at]))
                              ? decl.size()
                              : nameAt;
            return r;
        }
        const size_t closing = decl.substr(0, close).find("?>", at);
        if (closing != std::string_view::npos) {
            r.stoppedAt = closing;
            r.closedInValue = true;
            return r;
        }
        if (name == "encoding" && !r.found) {
            r.found = true;
            r.encoding = decl.substr(at + 1, close - at - 1);
            r.encodingAt = at + 1;
        }
        at = close + 1;
    }
    return r;
}

} // namespace

bool DetectEncoding(const char* data, size_t size, XmlEncoding& encoding, size_t& bomLength, TextError& error)
{
    const std::string_view text(data, size);
    bomLength = 0;
    encoding = XmlEncoding::Utf8;
    if (text.substr(0, 4) == std::string_view("\xFF\xFE\0\0", 4) || text.substr(0, 4) == std::string_view("\0\0\xFE\xFF", 4)) {
        error.offset = 0;
        error.message = "UTF-32 documents are not supported";
        return false;
    }
    std::string mark = "UTF-8";
    size_t unit = 1, low = 0; // UTF-16: the bytes of a unit, and where its ASCII byte is
    if (text.substr(0, 2) == "\xFF\xFE" || text.substr(0, 2) == std::string_view("<\0", 2)) {
        encoding = XmlEncoding::Utf16LE;
        bomLength = text[0] == '<' ? 0 : 2;
        unit = 2;
    } else if (text.substr(0, 2) == "\xFE\xFF" || text.substr(0, 2) == std::string_view("\0<", 2)) {
        encoding = XmlEncoding::Utf16BE;
        bomLength = text[0] == '\0' ? 0 : 2;
        unit = 2, low = 1;
    } else if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        bomLength = 3;
    } else {
        mark.clear();
    }
    if (unit == 2)
        mark = bomLength ? "UTF-16" : "UTF-16 (by its first character, without a byte-order mark)";
    // the start of the text as ASCII, other characters as 0x80, as far as a
    // declaration (after any blanks) can reach
    std::string head;
    bool cut = false;
    size_t blanks = std::string::npos;
    char quote = 0; // of the value the declaration is in, when it is in one
    for (size_t i = bomLength; i + unit <= size; i += unit) {
        char c = text[i + low];
        if ((unit == 2 && text[i + 1 - low] != '\0') || static_cast<unsigned char>(c) >= 0x80)
            c = '\x80';
        head += c;
        const size_t n = head.size();
        if (blanks == std::string::npos) {
            if (IsBlank(c) && n <= kLongestDeclaration)
                continue;
            blanks = n - 1;
        }
        const size_t length = n - blanks; // of what may be a declaration: "<?xml", a blank, ...
        const bool ends = length <= 5   ? c != "<?xml"[length - 1]
                          : length == 6 ? !IsBlank(c)
                                        : !quote && head.compare(n - 2, 2, "?>") == 0;
        if (ends)
            break;
        if (length > 6 && (c == '"' || c == '\''))
            quote = quote == c ? 0 : quote ? quote : c;
        if (length > kLongestDeclaration) {
            cut = true;
            break;
        }
    }
    if (blanks == std::string::npos)
        blanks = head.size();
    const bool declared =
        head.compare(blanks, 5, "<?xml") == 0 && blanks + 5 < head.size() && IsBlank(head[blanks + 5]);
    if (!declared)
        return true;
    if (blanks > 0) {
        error.offset = bomLength + blanks * unit;
        error.message = std::string("the XML declaration must stand at the very start of the file: remove the ") +
                        (head.find('\n') < blanks || head.find('\r') < blanks ? "blank line" : "blanks") +
                        " before <?xml ...?>";
        return false;
    }
    const DeclarationReading decl = ReadDeclaration(head);
    if (decl.stoppedAt != std::string_view::npos) {
        error.offset = bomLength + decl.stoppedAt * unit;
        error.message = decl.closedInValue
                            ? "\"?>\" ends the XML declaration, here inside a value (no value of it holds \"?\")"
                        : decl.stoppedAt < head.size()
                            ? "the XML declaration may hold only version, encoding and standalone, as name=\"value\""
                        : cut ? "the XML declaration is longer than " + std::to_string(kLongestDeclaration) +
                                    " characters, more than is read to find its encoding"
                              : "the file ends inside the XML declaration, which has no closing \"?>\"";
        return false;
    }
    if (!decl.found)
        return true;
    error.offset = bomLength + decl.encodingAt * unit;
    const std::string declaredName(decl.encoding);
    if (!IsEncodingName(declaredName)) {
        error.message = "encoding \"" + Printable(declaredName) + "\"" +
                        " is no encoding name (a letter, then letters, digits, '.', '_' or '-')";
        return false;
    }
    XmlEncoding named;
    if (!XmlEncodingFromName(declaredName.c_str(), named)) {
        error.message =
            "encoding \"" + declaredName + "\" is not supported (UTF-8, UTF-16, GBK, GB2312 and GB18030 are)";
        return false;
    }
    const bool namesUtf16 = named == XmlEncoding::Utf16LE || named == XmlEncoding::Utf16BE;
    if (unit == 2 && namesUtf16)
        return true;
    if (unit == 1 && namesUtf16) {
        error.message = "the declaration says " + declaredName + " but the document has no UTF-16 byte-order mark";
        return false;
    }
    // a mark and a declaration that disagree: either may be the mistake, so neither is trusted
    if (!mark.empty() && named != encoding) {
        error.message = "the declaration says " + declaredName + " but the document is " + mark +
                        ": make the declaration say " + (unit == 2 ? "UTF-16" : "UTF-8") +
                        ", or save the file in " + declaredName + (bomLength ? " without a byte-order mark" : "");
        return false;
    }
    encoding = named;
    return true;
}

namespace {
// a conversion's result, its offset handed out as the public functions tell it
template <class Convert>
bool StoppingAt(std::size_t* stoppedAt, Convert convert)
{
    TextError error;
    const bool ok = convert(error);
    if (!ok && stoppedAt)
        *stoppedAt = error.offset;
    return ok;
}
} // namespace

bool ConvertToGbk(std::string_view text, XmlEncoding from, std::string& gbk, std::size_t* stoppedAt)
{
    return StoppingAt(stoppedAt, [&](TextError& e) { return ConvertToGbk(text.data(), text.size(), from, gbk, e); });
}

bool ConvertFromGbk(std::string_view gbk, XmlEncoding to, std::string& text, std::size_t* stoppedAt)
{
    return StoppingAt(stoppedAt, [&](TextError& e) { return ConvertFromGbk(gbk.data(), gbk.size(), to, text, e); });
}

} // namespace kvnodedefine
