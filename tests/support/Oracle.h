#pragma once
// References that owe nothing to the library, so that a fault its reader and
// writer share still shows: iconv's own conversion, and libxml2 as a second
// parser of what the library writes.
#include <gtest/gtest.h>

#include <string>

#if KV_TEST_ORACLES
#include <iconv.h>
#include <libxml/parser.h>

namespace kvtest {

// bytes converted by iconv(3) alone; fails the test when iconv refuses them
inline std::string Iconv(const std::string& bytes, const char* from, const char* to)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        ADD_FAILURE() << "iconv cannot convert " << from << " to " << to;
        return {};
    }
    std::string out(bytes.size() * 4 + 16, '\0');
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size(), outLeft = out.size();
    char* dst = &out[0];
    if (iconv(cd, &in, &inLeft, &dst, &outLeft) == static_cast<size_t>(-1))
        ADD_FAILURE() << "iconv stopped converting " << from << " to " << to << " at byte " << bytes.size() - inLeft;
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
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

// as iconv does, "UTF-16" reads its byte-order mark
inline std::string Iconv(std::string bytes, const char* from, const char* to)
{
    XmlEncoding source = XmlEncoding::Utf8;
    if (std::string(from) == "UTF-16" && bytes.size() >= 2 && (bytes[0] == '\xFF' || bytes[0] == '\xFE')) {
        source = bytes[0] == '\xFF' ? XmlEncoding::Utf16LE : XmlEncoding::Utf16BE;
        bytes.erase(0, 2);
    } else {
        source = OracleEncoding(from);
    }
    const XmlEncoding target = OracleEncoding(to);
    std::string gbk = bytes, out;
    size_t stopped = 0;
    if (source != XmlEncoding::Gbk && !kvnodedefine::ConvertToGbk(bytes, source, gbk, &stopped))
        ADD_FAILURE() << "cannot convert " << from << " to GBK at byte " << stopped;
    if (target == XmlEncoding::Gbk)
        return gbk;
    if (!kvnodedefine::ConvertFromGbk(gbk, target, out, &stopped))
        ADD_FAILURE() << "cannot convert GBK to " << to << " at byte " << stopped;
    // the library writes UTF-16 with its mark, iconv's UTF-16LE and UTF-16BE without
    if ((target == XmlEncoding::Utf16LE || target == XmlEncoding::Utf16BE) && std::string(to) != "UTF-16" &&
        out.size() >= 2 && (out.compare(0, 2, "\xFF\xFE") == 0 || out.compare(0, 2, "\xFE\xFF") == 0))
        out.erase(0, 2);
    return out;
}

inline std::string Libxml2Problem(const std::string&) { return {}; }

} // namespace kvtest
#endif
