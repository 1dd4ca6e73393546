// The hosts' GBK is Windows code page 936: every character it holds loads
// from every encoding and every way of writing it, and saves in each; what
// it cannot hold is refused with its code point. The characters and their
// code points come from iconv (Oracle.h).
#include "support/DescTestUtil.h"
#include "support/Unicode.h"

#include <cstdio>

using namespace kvtest;

namespace {

// every character of the code page above ASCII, as its bytes and its code point
std::vector<std::pair<std::string, std::uint32_t>> CodePage()
{
    std::vector<std::pair<std::string, std::uint32_t>> all;
    for (int b = 0x80; b <= 0xFF; ++b)
        if (const std::uint32_t cp = Cp936CodePoint(std::string(1, static_cast<char>(b))))
            all.push_back({std::string(1, static_cast<char>(b)), cp});
    for (int lead = 0x81; lead <= 0xFE; ++lead)
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
            if (const std::uint32_t cp = Cp936CodePoint(pair))
                all.push_back({pair, cp});
        }
    return all;
}

// a document holding text: one element of it per line of 64 characters, as the library lays it out
std::string Document(const std::vector<std::string>& lines, const char* encoding)
{
    std::string doc = std::string("<?xml version=\"1.0\" encoding=\"") + encoding + "\"?>\n" +
                      "<CNodeAttDef classtype=\"8_0\" Version=\"1\">\n";
    for (const std::string& line : lines)
        doc += "  <t>" + line + "</t>\n";
    return doc + "</CNodeAttDef>\n";
}

std::string SaveAs(CXMLDocument& doc, XmlEncoding encoding)
{
    doc.SetEncoding(encoding);
    std::string out;
    EXPECT_TRUE(doc.SaveXml(out)) << doc.GetErrorText();
    return out;
}

TEST(CodePage936, EveryCharacterLoadsAndSavesInEveryEncoding)
{
    const auto page = CodePage();
    // glibc's GBK (21791 pairs), the euro sign, and the 1894 characters of the user-defined areas
    ASSERT_EQ(page.size(), 21791u + 1 + 1894);
    std::vector<std::string> gbk(1), utf8(1), references(1);
    for (const auto& [bytes, cp] : page) {
        if (gbk.back().size() >= 128)
            gbk.emplace_back(), utf8.emplace_back(), references.emplace_back();
        gbk.back() += bytes;
        utf8.back() += Utf8Of(cp);
        char reference[16];
        std::snprintf(reference, sizeof reference, "&#x%X;", static_cast<unsigned>(cp));
        references.back() += reference;
    }
    const std::string inGbk = Document(gbk, "GBK"), inUtf8 = Document(utf8, "UTF-8");
    const std::string inGb18030 = Iconv(Document(utf8, "GB18030"), "UTF-8", "GB18030");
    const std::string inUtf16 = "\xFF\xFE" + Iconv(Document(utf8, "UTF-16"), "UTF-8", "UTF-16LE");
    const struct {
        const char* name;
        std::string text;
        XmlEncoding encoding;
    } inputs[] = {
        {"GBK", inGbk, XmlEncoding::Gbk},
        {"UTF-8", inUtf8, XmlEncoding::Utf8},
        {"character references", Document(references, "UTF-8"), XmlEncoding::Utf8},
        {"GB18030", inGb18030, XmlEncoding::Gb18030},
        {"UTF-16", inUtf16, XmlEncoding::Utf16LE},
    };
    for (const auto& input : inputs) {
        SCOPED_TRACE(input.name);
        CXMLDocument doc;
        ASSERT_TRUE(LoadText(doc, input.text)) << doc.GetErrorText();
        EXPECT_TRUE(SaveAs(doc, XmlEncoding::Gbk) == inGbk);
        if (input.encoding == XmlEncoding::Gbk) {
            EXPECT_TRUE(SaveAs(doc, XmlEncoding::Utf8) == inUtf8);
            EXPECT_TRUE(SaveAs(doc, XmlEncoding::Gb18030) == inGb18030);
            EXPECT_TRUE(SaveAs(doc, XmlEncoding::Utf16LE) == inUtf16);
        }
    }
}

// All of Unicode but the code page: refused on every way in, with its code
// point. glibc's GBK writes the tag characters U+E0000..U+E007F as nothing,
// which is no less a refusal.
TEST(CodePage936, WhatItCannotHoldIsRefusedWithItsCodePoint)
{
    std::vector<bool> held(0x110000);
    for (const auto& entry : CodePage())
        held[entry.second] = true;
    size_t refused = 0, wrong = 0;
    for (std::uint32_t cp = 0x80; cp < 0x110000; ++cp) {
        if ((cp >= 0xD800 && cp <= 0xDFFF) || held[cp])
            continue;
        ++refused;
        char name[16];
        std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(cp));
        const std::string message = std::string("character ") + name + " cannot be held in GBK";
        std::string gbk;
        TextError error;
        const std::string utf8 = Utf8Of(cp);
        const bool raw = !ConvertToGbk(utf8.data(), utf8.size(), XmlEncoding::Utf8, gbk, error) &&
                         error.message == message && error.offset == 0;
        gbk.clear();
        const bool reference = !AppendCodePointAsGbk(cp, gbk) && gbk.empty();
        // the other encodings at every 61st character, the tag characters all
        bool other = true;
        if (cp % 61 == 0 || (cp >= 0xE0000 && cp <= 0xE007F)) {
            for (const auto& [encoding, name] : {std::pair<XmlEncoding, const char*>{XmlEncoding::Gb18030, "GB18030"},
                                                 {XmlEncoding::Utf16LE, "UTF-16LE"}}) {
                std::string bytes;
                if (TryIconv(utf8, "UTF-8", name, bytes)) // glibc's GB18030 writes some private-use characters not
                    other = other && !ConvertToGbk(bytes.data(), bytes.size(), encoding, gbk, error) &&
                            error.message == message;
            }
        }
        if (!(raw && reference && other) && ++wrong <= 5)
            ADD_FAILURE() << name << " is not refused as it should be: raw " << raw << ", reference " << reference
                          << ", other encodings " << other;
    }
    EXPECT_EQ(wrong, 0u);
    EXPECT_GT(refused, 1000000u);
}

} // namespace
