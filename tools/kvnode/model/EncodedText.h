#pragma once
// A document's bytes in the encoding it was read in, for edits that change
// only the bytes they mean to: text is put in the file's own encoding, and
// places are found in its own code units. Markup (quotes, '<', blanks, line
// ends, commas) is ASCII, which no byte of a GBK or GB18030 character other
// than the first can be, and which UTF-16 writes as one 16-bit unit.
#include <xmlobj/XmlEncoding.h>

#include <string>

namespace kvnode {

class EncodedText {
public:
    // the encoding from the bytes' mark or declaration (UTF-8 when they say none)
    explicit EncodedText(const std::string& bytes);
    EncodedText(const std::string& bytes, XmlEncoding encoding) : m_bytes(bytes), m_encoding(encoding) {}

    const std::string& Bytes() const { return m_bytes; }
    XmlEncoding Encoding() const { return m_encoding; }
    size_t Unit() const; // bytes of a code unit: 2 in UTF-16, else 1

    // text (UTF-8) in the file's encoding; false when that cannot hold it
    bool Encode(const std::string& utf8, std::string& out) const;
    // the ASCII character of the code unit at offset, or 0 for anything else
    char At(size_t offset) const;
    // the offset just past the character that starts at offset
    size_t Next(size_t offset) const;
    // where the line holding offset starts
    size_t LineStart(size_t offset) const;
    // the file's line end as its first line ends ("\r\n" or "\n"), in UTF-8
    std::string LineEnd() const;
    // the first place at or after from where the encoded text needle stands
    // as whole characters, before end; npos when it does not
    size_t Find(const std::string& needle, size_t from, size_t end) const;
    // The name in the end tag that closes the element whose start tag ends
    // just before from ("</" + name, where name starts), with end just past
    // the name; npos for a start tag that closes itself ("/>") or none found.
    size_t ClosingTag(size_t from, size_t& end) const;

private:
    // the ASCII text stands at offset, a code unit a character
    bool StartsWith(size_t offset, const char* ascii) const;
    // just past the first ascii at or after from; the end when there is none
    size_t Past(size_t from, const char* ascii) const;

    std::string m_bytes;
    XmlEncoding m_encoding;
};

} // namespace kvnode
