#pragma once
#include <appframe/HostExport.h>

#include <cstddef>
#include <cstdint>
#include <string>

// The encodings a document may be read and written in. In memory every text
// is GBK; GB2312 documents are read as GBK, its superset, and written as GBK.
enum class XmlEncoding { Utf8, Utf16LE, Utf16BE, Gbk, Gb18030 };

KVHOST_API const char* XmlEncodingName(XmlEncoding encoding) noexcept;
// "utf-8", "GBK", "gb2312", "cp936", "GB18030", "UTF-16"... (case-insensitive)
KVHOST_API bool XmlEncodingFromName(const char* name, XmlEncoding& encoding) noexcept;

// Where a conversion stopped: the byte offset in the text it was reading and why.
struct TextError {
    // where and why
    size_t offset = 0;
    std::string message;
};

// Conversions between GBK and the other encodings. Nothing is replaced: a
// byte sequence that is not valid in the source encoding, or a character the
// target cannot hold, stops the conversion. Control characters other than
// tab, line feed and carriage return are refused too, since XML cannot hold them.
KVHOST_API bool ConvertToGbk(const char* data, size_t size, XmlEncoding from, std::string& out, TextError& error);
KVHOST_API bool ConvertFromGbk(const char* data, size_t size, XmlEncoding to, std::string& out, TextError& error);
// the GBK bytes of one Unicode code point, appended to out; false when GBK lacks it
KVHOST_API bool AppendCodePointAsGbk(std::uint32_t codePoint, std::string& out);
// a GBK double-byte character: lead 0x81..0xFE, trail 0x40..0xFE but 0x7F
inline bool IsGbkPair(unsigned char lead, unsigned char trail) noexcept
{
    return lead >= 0x81 && lead <= 0xFE && trail >= 0x40 && trail <= 0xFE && trail != 0x7F;
}
// The UTF-8 bytes (up to 4) of the character of a GBK pair into out; 0 when
// the pair takes the general conversion, which says what is wrong with it.
KVHOST_API size_t GbkPairToUtf8(unsigned char lead, unsigned char trail, char* out);
// offset of the first byte that is not valid GBK (or a refused control character), or size when all are
KVHOST_API size_t FindInvalidGbk(const char* data, size_t size) noexcept;
