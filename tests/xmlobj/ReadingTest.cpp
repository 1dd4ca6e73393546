// How the reader finds a document's encoding, reads the predefined entities
// and refuses a repeated attribute. Expected bytes come from iconv, never
// from the library's own conversion back.
#include "support/DescTestUtil.h"

using namespace kvtest;

namespace {

const std::string kBody = "<CNodeAttDef classtype=\"8_0\" Version=\"1\">\n"
                          "  <CBaseDesc classtype=\"8_8\" name=\"n\" showname=\"\xE4\xB8\xAD\xE6\x96\x87\" />\n"
                          "</CNodeAttDef>\n";

std::string Declaration(const std::string& encoding)
{
    return "<?xml version=\"1.0\"" + (encoding.empty() ? "" : " encoding=\"" + encoding + "\"") + "?>\n";
}

// The byte-order mark decides, else the declaration (by any of its names), else UTF-8.
TEST(Detection, MarkThenDeclarationThenUtf8)
{
    const std::string utf8Mark = "\xEF\xBB\xBF", le = "\xFF\xFE", be = "\xFE\xFF";
    const struct {
        std::string mark;
        const char* declared; // "": no encoding named; nullptr: no declaration
        const char* iconvName;
        XmlEncoding read;
        std::string savedMark;
    } cases[] = {
        {"", nullptr, "UTF-8", XmlEncoding::Utf8, ""},
        {"", "", "UTF-8", XmlEncoding::Utf8, ""},
        {"", "utf-8", "UTF-8", XmlEncoding::Utf8, ""},
        {"", "UTF8", "UTF-8", XmlEncoding::Utf8, ""},
        {utf8Mark, "UTF-8", "UTF-8", XmlEncoding::Utf8, utf8Mark},
        {utf8Mark, nullptr, "UTF-8", XmlEncoding::Utf8, utf8Mark},
        {"", "gbk", "GBK", XmlEncoding::Gbk, ""},
        {"", "GB2312", "GBK", XmlEncoding::Gbk, ""},
        {"", "cp936", "GBK", XmlEncoding::Gbk, ""},
        {"", "MS936", "GBK", XmlEncoding::Gbk, ""},
        {"", "windows-936", "GBK", XmlEncoding::Gbk, ""},
        {"", "x-gbk", "GBK", XmlEncoding::Gbk, ""},
        {"", "gb18030", "GB18030", XmlEncoding::Gb18030, ""},
        {le, "UTF-16", "UTF-16LE", XmlEncoding::Utf16LE, le},
        {be, "UTF-16", "UTF-16BE", XmlEncoding::Utf16BE, be},
        {"", "UTF-16", "UTF-16LE", XmlEncoding::Utf16LE, le}, // no mark: told by the first '<'
        {"", "UTF-16", "UTF-16BE", XmlEncoding::Utf16BE, be},
        {"", nullptr, "UTF-16LE", XmlEncoding::Utf16LE, le},
        {le, "GBK", "UTF-16LE", XmlEncoding::Utf16LE, le}, // the mark wins over the declaration
        {be, "UTF-8", "UTF-16BE", XmlEncoding::Utf16BE, be},
    };
    for (const auto& c : cases) {
        const std::string declaration = c.declared ? Declaration(c.declared) : "";
        SCOPED_TRACE(std::to_string(c.mark.size()) + " mark bytes, " + declaration + " in " + c.iconvName);
        const std::string text = c.mark + Iconv(declaration + kBody, "UTF-8", c.iconvName);
        CXMLDocument doc;
        ASSERT_TRUE(LoadText(doc, text)) << doc.GetErrorText();
        EXPECT_EQ(doc.GetEncoding(), c.read);
        EXPECT_EQ(Str(static_cast<CBaseDesc*>(Child(doc.GetRoot(), 0))->GetShowName()), Gbk("\xE4\xB8\xAD\xE6\x96\x87"));
        // saved as read, declared by its canonical name
        EXPECT_EQ(Save(doc), c.savedMark + Iconv(Declaration(XmlEncodingName(c.read)) + kBody, "UTF-8", c.iconvName));
    }
}

TEST(Detection, DisagreementsAndUnknownNamesFailAtTheDeclaration)
{
    const struct {
        std::string text;
        int column;
        const char* message;
    } cases[] = {
        {"\xEF\xBB\xBF" + Declaration("GBK") + "<a/>", 31, "the declaration says GBK but the byte-order mark says UTF-8"},
        {"\xEF\xBB\xBF" + Declaration("gb18030") + "<a/>", 31, "byte-order mark says UTF-8"},
        {Declaration("UTF-16LE") + "<a/>", 31, "no UTF-16 byte-order mark"},
        {Declaration("GB-2312") + "<a/>", 31, "encoding \"GB-2312\" is not supported"},
        {Declaration("") + "<a/>\xD6\xD0", 5, "not valid UTF-8"}, // no name: UTF-8, whatever follows
        {std::string("\xFF\xFE\0\0<\0\0\0", 8), 1, "UTF-32"},
        {"\xEF\xBB\xBF<a>\x01</a>", 4, "control character"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        CXMLDocument doc;
        ASSERT_FALSE(LoadText(doc, c.text));
        EXPECT_EQ(doc.GetError().column, c.column) << doc.GetErrorText();
        EXPECT_NE(doc.GetError().message.find(c.message), std::string::npos) << doc.GetErrorText();
    }
}

// Each predefined entity alone, in text and in an attribute, and saved so
// that it reads back the same.
TEST(Entities, EachOfTheFiveReadsAsItsCharacter)
{
    const struct {
        const char* entity;
        const char* character;
        const char* inAttribute; // as a save writes it
        const char* inText;
    } cases[] = {
        {"&lt;", "<", "&lt;", "&lt;"},         {"&gt;", ">", ">", "&gt;"},  {"&amp;", "&", "&amp;", "&amp;"},
        {"&apos;", "'", "'", "'"},              {"&quot;", "\"", "&quot;", "\""},
        {"&#60;", "<", "&lt;", "&lt;"},         {"&#x26;", "&", "&amp;", "&amp;"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entity);
        const std::string x = std::string("x") + c.entity + "y";
        CXMLDocument doc;
        ASSERT_TRUE(LoadText(doc, "<a b=\"" + x + "\">" + x + "</a>")) << doc.GetErrorText();
        EXPECT_EQ(Atts(*doc.GetRoot()), std::string("b=\"x") + c.character + "y\"");
        const auto children = Children(*doc.GetRoot());
        ASSERT_EQ(children.size(), 1u);
        EXPECT_EQ(Str(As<CXMLText>(children[0])->GetText()), std::string("x") + c.character + "y");
        EXPECT_NE(Save(doc).find(std::string("<a b=\"x") + c.inAttribute + "y\">x" + c.inText + "y</a>"),
                  std::string::npos);
    }
    for (const char* unknown : {"&nbsp;", "&lt", "&#;", "&#x110000;", "&#0;", "&Lt;"}) {
        CXMLDocument doc;
        EXPECT_FALSE(LoadText(doc, std::string("<a>") + unknown + "</a>")) << unknown;
    }
}

// A repeated attribute fails the load wherever the two stand among many and
// however its name sorts among the others: a duplicate that loaded would be
// saved as a document no parser reads.
TEST(Attributes, ARepeatedNameFailsWhereverItStands)
{
    std::vector<std::string> names;
    for (int i = 0; i < 24; ++i)
        names.push_back(std::string(1, static_cast<char>('m' + i % 13)) + std::to_string(23 - i));
    names.push_back("A"); // sorts before every other
    names.push_back("zz"); // after
    for (size_t first = 0; first < names.size(); ++first) {
        for (size_t second = 0; second <= names.size(); ++second) {
            std::string xml = "<a";
            for (size_t i = 0; i <= names.size(); ++i) {
                if (i == second)
                    xml += " " + names[first] + "='again'";
                if (i < names.size())
                    xml += " " + names[i] + "='" + std::to_string(i) + "'";
            }
            CXMLDocument doc;
            ASSERT_FALSE(LoadText(doc, xml + "/>")) << xml;
            EXPECT_NE(doc.GetErrorText().find("duplicate attribute \"" + names[first] + "\""), std::string::npos)
                << xml << "\n" << doc.GetErrorText();
        }
    }
}

// Bytes that only look like a character fail the load, also when the
// character they would spell has been read before (the reader keeps what it
// converted), and in UTF-16 as in UTF-8.
TEST(Detection, BrokenCharactersFailAfterTheirLookalikeWasRead)
{
    CXMLDocument doc;
    ASSERT_TRUE(LoadText(doc, "<a>\xE4\xB8\xAD</a>")) << doc.GetErrorText(); // U+4E2D
    const struct {
        std::string text;
        int column;
        const char* message;
    } cases[] = {
        {"<a>x\xE4\x38\xAD</a>", 5, "not valid UTF-8"}, // the bits of U+4E2D, second byte no continuation
        {"<a>x\xE4\xB8\x2D</a>", 5, "not valid UTF-8"}, // third byte
        {std::string("\xFF\xFE<\0a\0>\0x\0\x00\xD8<\0/\0a\0>\0", 18), 5, "unpaired UTF-16 surrogate"},
        {std::string("\xFE\xFF\0<\0a\0>\xDC\x00\0<\0/\0a\0>", 16), 4, "unpaired UTF-16 surrogate"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        ASSERT_FALSE(LoadText(doc, c.text));
        EXPECT_EQ(doc.GetError().column, c.column) << doc.GetErrorText();
        EXPECT_NE(doc.GetError().message.find(c.message), std::string::npos) << doc.GetErrorText();
    }
}

// Around the root element: comments and processing instructions are dropped
// with a warning, text and CDATA fail the load.
TEST(Detection, WhatStandsOutsideTheRoot)
{
    const struct {
        const char* text;
        bool loads;
        const char* message;
    } cases[] = {
        {"<!-- before --><r/>", true, "comments and processing instructions outside the root element are not kept"},
        {"<r/><?after x?>", true, "are not kept"},
        {"<r/>\n \t\r\n", true, nullptr},
        {"<![CDATA[x]]><r/>", false, "text outside the root element"},
        {"<r/><![CDATA[]]>", false, "text outside the root element"},
        {"x<r/>", false, "text outside the root element"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        CXMLDocument doc;
        std::string text = c.text;
        text.replace(text.find("<r/>"), 4, "<CNodeAttDef classtype='8_0'/>");
        EXPECT_EQ(LoadText(doc, text), c.loads) << doc.GetErrorText();
        const std::string said = c.loads ? (doc.GetWarnings().empty() ? "" : doc.GetWarnings()[0].message)
                                         : doc.GetError().message;
        if (c.message) {
            EXPECT_NE(said.find(c.message), std::string::npos) << said;
        } else {
            EXPECT_EQ(said, "");
        }
    }
}

} // namespace
