#pragma once
// References that owe nothing to the library, so that a fault its reader and
// writer share still shows: iconv's own conversion, and libxml2 as a second
// parser of what the library writes.
#include <gtest/gtest.h>
#include <libxml/parser.h>

#include <cerrno>
#include <iconv.h>
#include <string>

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
