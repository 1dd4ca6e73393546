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
KVHOST_API size_t FindInvalidGbk(const char* data, size_t size);
// a pair in GBK's ranges that is a character of its table (D7FA and the
// user-defined areas are not)
KVHOST_API bool IsGbkCharacter(unsigned char lead, unsigned char trail);
// the code point of a GBK character, 0 when the pair is none (or stands for more than one)
KVHOST_API std::uint32_t GbkCodePoint(unsigned char lead, unsigned char trail);

// Finds the encoding of a document from its byte-order mark, its XML
// declaration (only "<?xml" and a blank at the very start is one), or
// neither (UTF-8); bomLength tells how many bytes the mark takes. A mark and
// a declaration that disagree, an encoding not supported and blanks before
// the declaration fail with the offset of the cause.
KVHOST_API bool DetectEncoding(const char* data, size_t size, XmlEncoding& encoding, size_t& bomLength,
                               TextError& error);
