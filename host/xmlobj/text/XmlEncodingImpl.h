#pragma once
// The conversions between GBK and the document encodings, as the loader and
// the writer use them (inside the library; XmlEncoding.h is their public face).
#include <xmlobj/XmlEncoding.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace kvnodedefine {

// Converts into out, which holds size bytes: GBK never takes more bytes
// than the encodings a document is read in. outSize is what was written.
bool ConvertToGbkBuffer(const char* data, size_t size, XmlEncoding from, char* out, size_t& outSize, TextError& error);
// Appends GBK text as UTF-8, or (to GBK) checked as it is.
bool AppendGbkAs(XmlEncoding to, const char* data, size_t size, std::string& out, TextError& error);
// the GBK bytes of one Unicode code point, appended to out; false when GBK lacks it
bool AppendCodePointAsGbk(std::uint32_t codePoint, std::string& out);
// GBK lead bytes; the byte after one belongs to the same character
inline bool IsGbkLeadByte(unsigned char c) noexcept { return c >= 0x81 && c <= 0xFE; }
// a GBK double-byte character: lead 0x81..0xFE, trail 0x40..0xFE but 0x7F
inline bool IsGbkPair(unsigned char lead, unsigned char trail) noexcept
{
    return IsGbkLeadByte(lead) && trail >= 0x40 && trail <= 0xFE && trail != 0x7F;
}
// The UTF-8 bytes (up to 4) of the character of a GBK pair into out; 0 when
// the pair takes the general conversion, which says what is wrong with it.
size_t GbkPairToUtf8(unsigned char lead, unsigned char trail, char* out);
// offset of the first byte that is not valid GBK (or a refused control character), or size when all are
size_t FindInvalidGbk(const char* data, size_t size);
// a pair in GBK's ranges that is a character of its table (D7FA and the
// user-defined areas are not)
bool IsGbkCharacter(unsigned char lead, unsigned char trail);
// the code point of a GBK character, 0 when the pair is none (or stands for more than one)
std::uint32_t GbkCodePoint(unsigned char lead, unsigned char trail);

} // namespace kvnodedefine
