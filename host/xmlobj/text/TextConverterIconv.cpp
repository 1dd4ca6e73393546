#include "TextConverter.h"

#include "CodePage936.h"
#include "Utf8Sequence.h"

#include <cerrno>
#include <iconv.h>

namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

enum class Charset { Utf8, Gbk, Gb18030 };

Charset CharsetNamed(const char* name)
{
    const std::string n = name;
    return n == "GBK" ? Charset::Gbk : n == "GB18030" ? Charset::Gb18030 : Charset::Utf8;
}

// the length of the character at s (n bytes there), or 1 for a byte that begins none
size_t CharacterLength(Charset charset, const unsigned char* s, size_t n)
{
    if (charset == Charset::Utf8) {
        std::uint32_t cp;
        const size_t length = Utf8SequenceLength(s, n, cp);
        return length ? length : 1;
    }
    if (s[0] < 0x81 || s[0] == 0xFF || n < 2)
        return 1;
    return charset == Charset::Gb18030 && s[1] >= 0x30 && s[1] <= 0x39 && n >= 4 ? 4 : 2;
}

size_t CharacterCount(Charset charset, const char* data, size_t size)
{
    const auto* s = reinterpret_cast<const unsigned char*>(data);
    size_t count = 0;
    for (size_t i = 0; i < size; i += CharacterLength(charset, s + i, size - i))
        ++count;
    return count;
}

// one iconv(3) pass over [in, in + size) appended to out; false with
// *stopped at the character it stopped at
bool Pass(iconv_t cd, const char* in, size_t size, std::string& out, const char** stopped = nullptr)
{
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(in);
    size_t left = size;
    size_t used = out.size();
    out.resize(used + size * 2 + 8);
    for (;;) {
        char* dst = &out[used];
        size_t room = out.size() - used;
        const bool ok = iconv(cd, &src, &left, &dst, &room) != static_cast<size_t>(-1);
        used = static_cast<size_t>(dst - out.data());
        if (!ok && errno == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        out.resize(used);
        if (stopped)
            *stopped = src;
        return ok && left == 0;
    }
}

} // namespace

// glibc's GBK is code page 936 but for its user-defined areas, which it
// refuses, and for the tag characters U+E0000..U+E007F, which it drops
// without a word: the areas are taken from glibc's GB18030, and a character
// that converts to nothing is refused.
struct TextConverter::State {
    Charset from, to;
    iconv_t cd;
    iconv_t userDefined; // the same with GB18030 in place of GBK, for the user-defined areas

    // the one character at in, through GB18030, when it is of a user-defined area
    bool UserDefined(const char* in, size_t length, std::string& out) const
    {
        const auto* s = reinterpret_cast<const unsigned char*>(in);
        if (userDefined == kNoConverter || (from == Charset::Gbk && (length != 2 || !IsUserDefinedPair(s[0], s[1]))))
            return false;
        const size_t before = out.size();
        if (Pass(userDefined, in, length, out)) {
            const auto* w = reinterpret_cast<const unsigned char*>(out.data() + before);
            if (to != Charset::Gbk || (out.size() - before == 2 && IsUserDefinedPair(w[0], w[1])))
                return true;
        }
        out.resize(before);
        return false;
    }

    // as far as the first character neither converter takes: false with its offset
    bool Convert(const char* data, size_t size, std::string& out, size_t& stoppedAt) const
    {
        const char* in = data;
        const char* const end = data + size;
        while (!Pass(cd, in, static_cast<size_t>(end - in), out, &in)) {
            const size_t length =
                CharacterLength(from, reinterpret_cast<const unsigned char*>(in), static_cast<size_t>(end - in));
            if (!UserDefined(in, length, out)) {
                stoppedAt = static_cast<size_t>(in - data);
                return false;
            }
            in += length;
        }
        return true;
    }
};

TextConverter::TextConverter(const char* to, const char* from)
    : m_state(new State{CharsetNamed(from), CharsetNamed(to), iconv_open(to, from), kNoConverter})
{
    if (m_state->from == Charset::Gbk || m_state->to == Charset::Gbk)
        m_state->userDefined = iconv_open(m_state->to == Charset::Gbk ? "GB18030" : to,
                                          m_state->from == Charset::Gbk ? "GB18030" : from);
}

TextConverter::~TextConverter()
{
    for (iconv_t cd : {m_state->cd, m_state->userDefined})
        if (cd != kNoConverter)
            iconv_close(cd);
    delete m_state;
}

bool TextConverter::Run(const char* data, std::size_t size, std::string& out, std::size_t& stoppedAt)
{
    const State& st = *m_state;
    if (st.cd == kNoConverter) {
        stoppedAt = 0;
        return false;
    }
    const size_t start = out.size();
    if (!st.Convert(data, size, out, stoppedAt))
        return false;
    if (CharacterCount(st.from, data, size) == CharacterCount(st.to, out.data() + start, out.size() - start))
        return true;
    // a character converted to nothing: one at a time as far as that one
    out.resize(start);
    for (size_t i = 0; i < size;) {
        const size_t length = CharacterLength(st.from, reinterpret_cast<const unsigned char*>(data + i), size - i);
        const size_t before = out.size();
        size_t ignored = 0;
        if (!st.Convert(data + i, length, out, ignored) || out.size() == before) {
            out.resize(before);
            stoppedAt = i;
            return false;
        }
        i += length;
    }
    return true;
}
