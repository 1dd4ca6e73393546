#pragma once
// What the hosts' "GBK", Windows code page 936, holds beyond glibc's GBK:
// its user-defined areas, which Windows maps to the private-use characters
// U+E000..U+E765 as GB18030's two-byte codes do.
#include <cstdint>

// Its one character of a single byte above ASCII.
constexpr unsigned char kEuroByte = 0x80;
constexpr std::uint32_t kEuroSign = 0x20AC;

// AAA1..AFFE, F8A1..FEFE and A140..A7A0
inline bool IsUserDefinedPair(unsigned char lead, unsigned char trail) noexcept
{
    if ((lead >= 0xAA && lead <= 0xAF) || (lead >= 0xF8 && lead <= 0xFE))
        return trail >= 0xA1 && trail <= 0xFE;
    return lead >= 0xA1 && lead <= 0xA7 && trail >= 0x40 && trail <= 0xA0 && trail != 0x7F;
}

inline bool IsUserDefinedCharacter(std::uint32_t cp) noexcept { return cp >= 0xE000 && cp <= 0xE765; }
