#pragma once
#include <appframe/CString.h>
#include <appframe/HostExport.h>

#include <cstddef>
#include <string>
#include <string_view>

// The encodings a document may be read and written in. In memory every text
// is GBK (the hosts' code page 936); GB2312 documents are read as GBK, its
// superset, and written as GBK.
enum class XmlEncoding {
    Utf8,    // UTF-8, the encoding of a new document
    Utf16LE, // UTF-16, little-endian, written with its byte-order mark
    Utf16BE, // UTF-16, big-endian, written with its byte-order mark
    Gbk,     // GBK (also read for GB2312, CP936 and their aliases)
    Gb18030, // GB18030
};

namespace kvnodedefine {

// The name a declaration gives the encoding: "UTF-8", "UTF-16", "GBK" or "GB18030".
KVHOST_API const char* XmlEncodingName(XmlEncoding encoding) noexcept;
// The encoding a declaration's name stands for ("utf-8", "GBK", "gb2312",
// "cp936", "GB18030", "UTF-16"..., in any case); false for a name not supported.
KVHOST_API bool XmlEncodingFromName(const char* name, XmlEncoding& encoding) noexcept;

// Converts text in the encoding from into GBK, the texts' encoding in
// memory, as a load does. Nothing is replaced: bytes not valid in from, a
// character GBK cannot hold, or a control character XML cannot hold (any
// below 0x20 but tab, line feed and carriage return) stops it with false,
// and stoppedAt (when given) gets the offset in text of where it stopped.
KVHOST_API bool ConvertToGbk(std::string_view text, XmlEncoding from, std::string& gbk,
                             std::size_t* stoppedAt = nullptr);
// Converts GBK text into the encoding to, as a save does; false, with the
// offset in gbk where it stopped, for bytes that are not GBK characters.
KVHOST_API bool ConvertFromGbk(std::string_view gbk, XmlEncoding to, std::string& text,
                               std::size_t* stoppedAt = nullptr);

// Where a conversion stopped: the byte offset in the text it was reading and why.
struct TextError {
    size_t offset = 0;   // in bytes from the start of the text being read
    std::string message; // what is wrong there
};

// ConvertToGbk over size bytes at data, for a caller that keeps a
// document's bytes; false with where the conversion stopped and why.
KVHOST_API bool ConvertToGbk(const char* data, size_t size, XmlEncoding from, std::string& out, TextError& error);
// ConvertFromGbk over size bytes at data; false with where the conversion
// stopped and why.
KVHOST_API bool ConvertFromGbk(const char* data, size_t size, XmlEncoding to, std::string& out, TextError& error);

// Finds the encoding of a document from its byte-order mark, its XML
// declaration (only "<?xml" and a blank at the very start is one), or
// neither (UTF-8); bomLength tells how many bytes the mark takes. A mark and
// a declaration that disagree, an encoding not supported and blanks before
// the declaration fail with the offset of the cause.
KVHOST_API bool DetectEncoding(const char* data, size_t size, XmlEncoding& encoding, size_t& bomLength, TextError& error);

// The GBK text of UTF-8 text, for a text a host writes in its UTF-8 source
// (Utf8ToGbk(u8"柱子", name)); false, gbk untouched, for text that is not
// UTF-8 or holds a character GBK cannot hold.
inline bool Utf8ToGbk(std::string_view utf8, CString& gbk)
{
    std::string converted;
    if (!ConvertToGbk(utf8, XmlEncoding::Utf8, converted))
        return false;
    gbk = CString(converted.data(), static_cast<int>(converted.size()));
    return true;
}

// The UTF-8 text of a GBK text, for showing it outside the host; false,
// utf8 untouched, for bytes that are not GBK characters.
inline bool GbkToUtf8(const CString& gbk, std::string& utf8)
{
    std::string converted;
    if (!ConvertFromGbk(std::string_view(gbk.GetString(), static_cast<std::size_t>(gbk.GetLength())),
                        XmlEncoding::Utf8, converted))
        return false;
    utf8.swap(converted);
    return true;
}

} // namespace kvnodedefine
