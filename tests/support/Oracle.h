#pragma once
// References that owe nothing to the library, so that a fault its reader and
// writer share still shows: iconv's own conversion, and libxml2 as a second
// parser of what the library writes.
#include <gtest/gtest.h>

#include <string>

#include "support/Unicode.h"

#if KV_TEST_ORACLES
#include <iconv.h>
#include <libxml/parser.h>

#include <cstdint>
#include <map>

namespace kvtest {

// bytes converted by iconv(3) alone into out; false where iconv stops, with out as far as that
inline bool TryIconv(const std::string& bytes, const char* from, const char* to, std::string& out,
                     size_t* stoppedAt = nullptr)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        ADD_FAILURE() << "iconv cannot convert " << from << " to " << to;
        return false;
    }
    out.assign(bytes.size() * 4 + 16, '\0');
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size(), outLeft = out.size();
    char* dst = &out[0];
    const bool ok = iconv(cd, &in, &inLeft, &dst, &outLeft) != static_cast<size_t>(-1);
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    if (stoppedAt)
        *stoppedAt = bytes.size() - inLeft;
    return ok;
}

// bytes converted by iconv(3) alone; fails the test when iconv refuses them
inline std::string Iconv(const std::string& bytes, const char* from, const char* to)
{
    std::string out;
    size_t stoppedAt = 0;
    if (!TryIconv(bytes, from, to, out, &stoppedAt))
        ADD_FAILURE() << "iconv stopped converting " << from << " to " << to << " at byte " << stoppedAt;
    return out;
}

// The one code point bytes convert to, or 0 when iconv refuses them or
// converts them to nothing (glibc's GBK writes the tag characters so).
inline std::uint32_t IconvCodePoint(const std::string& bytes, const char* from)
{
    // opened once per encoding, as a sweep of all of Unicode asks for each character
    thread_local struct Descriptors {
        std::map<std::string, iconv_t> open;
        ~Descriptors()
        {
            for (const auto& entry : open)
                if (entry.second && entry.second != reinterpret_cast<iconv_t>(-1))
                    iconv_close(entry.second);
        }
    } descriptors;
    iconv_t& cd = descriptors.open[from];
    if (!cd)
        cd = iconv_open("UTF-32BE", from);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    unsigned char out[8];
    char* in = const_cast<char*>(bytes.data());
    char* dst = reinterpret_cast<char*>(out);
    size_t inLeft = bytes.size(), outLeft = sizeof out;
    if (iconv(cd, &in, &inLeft, &dst, &outLeft) == static_cast<size_t>(-1) || inLeft != 0 || outLeft != 4)
        return 0;
    return std::uint32_t{out[0]} << 24 | std::uint32_t{out[1]} << 16 | std::uint32_t{out[2]} << 8 | out[3];
}

// The code point of a character of the hosts' code page 936 as iconv reads
// it: glibc's GBK, but its user-defined areas (AAA1-AFFE, F8A1-FEFE,
// A140-A7A0) as glibc's GB18030 reads them; 0 for no character.
inline std::uint32_t Cp936CodePoint(const std::string& bytes)
{
    return IconvCodePoint(bytes, UserDefinedPair(bytes) ? "GB18030" : "GBK");
}

// Empty when libxml2 reads bytes as a well-formed document, else where and why it did not.
inline std::string Libxml2Problem(const std::string& bytes)
{
    xmlParserCtxtPtr context = xmlNewParserCtxt();
    xmlDocPtr doc = xmlCtxtReadMemory(context, bytes.data(), static_cast<int>(bytes.size()), "saved.xml", nullptr,
                                      XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_HUGE);
    std::string problem;
    if (!doc) {
        const xmlError* e = xmlCtxtGetLastError(context);
        problem = e ? std::to_string(e->line) + ":" + std::to_string(e->int2) + ": " + (e->message ? e->message : "")
                    : "not well-formed";
    }
    xmlFreeDoc(doc);
    xmlFreeParserCtxt(context);
    return problem;
}

} // namespace kvtest

#else
#include <xmlobj/XmlEncoding.h>

#include <cstdint>

// Where the references are missing (Windows), the library's own conversion
// stands in and no second parser reads what is saved; the Linux build runs
// the same tests against the references.
namespace kvtest {

inline XmlEncoding OracleEncoding(const std::string& name)
{
    if (name == "UTF-16LE")
        return XmlEncoding::Utf16LE;
    if (name == "UTF-16BE")
        return XmlEncoding::Utf16BE;
    XmlEncoding encoding = XmlEncoding::Utf8;
    if (!kvnodedefine::XmlEncodingFromName(name.c_str(), encoding))
        ADD_FAILURE() << "no encoding " << name;
    return encoding;
}

// as iconv does, "UTF-16" reads its byte-order mark; false where the conversion stops
inline bool TryIconv(std::string bytes, const char* from, const char* to, std::string& out, std::string* why = nullptr)
{
    XmlEncoding source = XmlEncoding::Utf8;
    if (std::string(from) == "UTF-16" && bytes.size() >= 2 && (bytes[0] == '\xFF' || bytes[0] == '\xFE')) {
        source = bytes[0] == '\xFF' ? XmlEncoding::Utf16LE : XmlEncoding::Utf16BE;
        bytes.erase(0, 2);
    } else {
        source = OracleEncoding(from);
    }
    const XmlEncoding target = OracleEncoding(to);
    std::string gbk = bytes;
    kvnodedefine::TextError error;
    out.clear();
    if (source != XmlEncoding::Gbk && !kvnodedefine::ConvertToGbk(bytes.data(), bytes.size(), source, gbk, error)) {
        if (why)
            *why = std::string("cannot convert ") + from + " to GBK: " + error.message;
        return false;
    }
    if (target == XmlEncoding::Gbk) {
        out = gbk;
        return true;
    }
    if (!kvnodedefine::ConvertFromGbk(gbk.data(), gbk.size(), target, out, error)) {
        if (why)
            *why = std::string("cannot convert GBK to ") + to + ": " + error.message;
        return false;
    }
    // the library writes UTF-16 with its mark, iconv's UTF-16LE and UTF-16BE without
    if ((target == XmlEncoding::Utf16LE || target == XmlEncoding::Utf16BE) && std::string(to) != "UTF-16" &&
        out.size() >= 2 && (out.compare(0, 2, "\xFF\xFE") == 0 || out.compare(0, 2, "\xFE\xFF") == 0))
        out.erase(0, 2);
    return true;
}

inline std::string Iconv(const std::string& bytes, const char* from, const char* to)
{
    std::string out, why;
    if (!TryIconv(bytes, from, to, out, &why))
        ADD_FAILURE() << why;
    return out;
}

inline std::string Libxml2Problem(const std::string&) { return {}; }

// The library's own reading, as UTF-32 through its conversion (no iconv here)
inline std::uint32_t Cp936CodePoint(const std::string& bytes)
{
    std::string utf8;
    kvnodedefine::TextError error;
    if (!kvnodedefine::ConvertFromGbk(bytes.data(), bytes.size(), XmlEncoding::Utf8, utf8, error) || utf8.empty())
        return 0;
    const auto byte = [&](size_t i) { return std::uint32_t{static_cast<unsigned char>(utf8[i])}; };
    switch (utf8.size()) {
    case 1: return byte(0);
    case 2: return (byte(0) & 0x1F) << 6 | (byte(1) & 0x3F);
    case 3: return (byte(0) & 0x0F) << 12 | (byte(1) & 0x3F) << 6 | (byte(2) & 0x3F);
    case 4: return (byte(0) & 0x07) << 18 | (byte(1) & 0x3F) << 12 | (byte(2) & 0x3F) << 6 | (byte(3) & 0x3F);
    default: return 0;
    }
}

} // namespace kvtest
#endif
