#include "Utf8Sequence.h"

std::size_t Utf8SequenceLength(const unsigned char* s, std::size_t n, std::uint32_t& cp) noexcept
{
    const unsigned char c = s[0];
    std::size_t len;
    std::uint32_t min;
    if (c < 0x80) {
        cp = c;
        return 1;
    } else if (c >= 0xC2 && c <= 0xDF) {
        len = 2, cp = c & 0x1Fu, min = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3, cp = c & 0x0Fu, min = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4, cp = c & 0x07u, min = 0x10000;
    } else {
        return 0;
    }
    if (n < len)
        return 0;
    for (std::size_t i = 1; i < len; ++i) {
        if ((s[i] & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (s[i] & 0x3Fu);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return len;
}
