#include "TextConverter.h"

#include <cerrno>
#include <iconv.h>

namespace {
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);
}

struct TextConverter::State {
    iconv_t cd;
};

TextConverter::TextConverter(const char* to, const char* from) : m_state(new State{iconv_open(to, from)}) {}

TextConverter::~TextConverter()
{
    if (m_state->cd != kNoConverter)
        iconv_close(m_state->cd);
    delete m_state;
}

bool TextConverter::Run(const char* data, std::size_t size, std::string& out, std::size_t& stoppedAt)
{
    const iconv_t cd = m_state->cd;
    if (cd == kNoConverter) {
        stoppedAt = 0;
        return false;
    }
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(data);
    size_t inLeft = size;
    const size_t start = out.size();
    out.resize(start + size * 2 + 8);
    char* dst = &out[start];
    size_t dstLeft = out.size() - start;
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &dst, &dstLeft) != static_cast<size_t>(-1))
            continue;
        if (errno == E2BIG) {
            const size_t used = static_cast<size_t>(dst - out.data());
            out.resize(out.size() * 2);
            dst = &out[used];
            dstLeft = out.size() - used;
            continue;
        }
        out.resize(static_cast<size_t>(dst - out.data()));
        stoppedAt = static_cast<size_t>(in - data);
        return false;
    }
    out.resize(static_cast<size_t>(dst - out.data()));
    return true;
}
