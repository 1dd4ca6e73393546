#pragma once
// What the tests' references need of Unicode and of code page 936, written
// here from their definitions, owing nothing to the library.
#include <cstdint>
#include <string>

namespace kvtest {

inline std::string Utf8Of(std::uint32_t cp)
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

// a pair of code page 936's user-defined areas: AAA1-AFFE, F8A1-FEFE, A140-A7A0
inline bool UserDefinedPair(const std::string& c)
{
    if (c.size() != 2)
        return false;
    const auto lead = static_cast<unsigned char>(c[0]), trail = static_cast<unsigned char>(c[1]);
    if ((lead >= 0xAA && lead <= 0xAF) || (lead >= 0xF8 && lead <= 0xFE))
        return trail >= 0xA1 && trail <= 0xFE;
    return lead >= 0xA1 && lead <= 0xA7 && trail >= 0x40 && trail <= 0xA0 && trail != 0x7F;
}

} // namespace kvtest
