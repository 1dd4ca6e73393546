// Documents in every supported encoding: read into GBK, written back in the
// encoding they came in; and the characters and bytes that fail a load or save.
// The files under data/xmlobj/encodings were made with iconv, not with the library.
#include "support/DescTestUtil.h"

using namespace kvtest;

namespace {

const char kGbkChinese[] = "\xD6\xD0\xCE\xC4";

std::string Utf16LE(const std::string& ascii)
{
    std::string out;
    for (char c : ascii)
        out += std::string(1, c) + '\0';
    return out;
}

TEST(Encoding, SavedInTheEncodingRead)
{
    const struct {
        const char *input, *saved;
        XmlEncoding encoding;
    } cases[] = {
        {"utf-8", "utf-8", XmlEncoding::Utf8},          {"utf-8-bom", "utf-8-bom", XmlEncoding::Utf8},
        {"utf-16le", "utf-16le", XmlEncoding::Utf16LE}, {"utf-16be", "utf-16be", XmlEncoding::Utf16BE},
        {"gbk", "gbk", XmlEncoding::Gbk},               {"gb2312", "gbk", XmlEncoding::Gbk},
        {"gb18030", "gb18030", XmlEncoding::Gb18030},
    };
    const std::string folder = KV_TEST_DATA "/xmlobj/encodings/";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        CXMLDocument doc;
        ASSERT_TRUE(doc.LoadFile((folder + c.input + ".xml").c_str())) << doc.GetErrorText();
        EXPECT_EQ(doc.GetEncoding(), c.encoding);
        EXPECT_EQ(Atts(*Child(doc.GetRoot(), 0)), std::string(R"(name="n" showname=")") + kGbkChinese + "\"");
        EXPECT_EQ(Save(doc), ReadFile(folder + c.saved + ".xml"));
    }

    CXMLDocument fresh;
    fresh.SetRoot(new CBaseDesc("n", kGbkChinese));
    EXPECT_EQ(Save(fresh), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                           "<CBaseDesc classtype=\"8_8\" name=\"n\" showname=\"\xE4\xB8\xAD\xE6\x96\x87\" />\n");
}

// Nothing is replaced silently: what GBK cannot hold, or what is not valid in
// the declared encoding, fails the load at its place.
TEST(Encoding, UnrepresentableOrInvalidInputFailsWithItsPlace)
{
    const std::string gbk = "<?xml version=\"1.0\" encoding=\"GBK\"?>\n";
    const struct {
        const char* label;
        std::string input;
        int line, column;
        const char* message;
    } cases[] = {
        {"emoji in UTF-8", "<a>\n  x\xF0\x9F\x98\x80</a>", 2, 4, "character U+1F600 cannot be held in GBK"},
        {"emoji reference", "<a>\n  x&#x1F600;</a>", 2, 4, "character U+1F600 cannot be held in GBK"},
        {"euro in UTF-8", "<a>\xE2\x82\xAC</a>", 1, 4, "character U+20AC cannot be held in GBK"},
        {"euro reference", "<a b='&#8364;'/>", 1, 7, "character U+20AC cannot be held in GBK"},
        {"euro in GB18030", "<?xml version='1.0' encoding='GB18030'?><a>\xA2\xE3</a>", 1, 44,
         "character U+20AC cannot be held in GBK"},
        {"emoji in GB18030", "<?xml version='1.0' encoding='GB18030'?>\n<a>\x94\x39\xFC\x36</a>", 2, 4,
         "character U+1F600 cannot be held in GBK"},
        {"emoji in UTF-16", "\xFF\xFE" + Utf16LE("<a>\nx") + std::string("\x3D\xD8\x00\xDE", 4) + Utf16LE("</a>"), 2,
         2, "character U+1F600 cannot be held in GBK"},
        {"invalid UTF-8", "<a>\n\xC3\x28</a>", 2, 1, "bytes that are not valid UTF-8"},
        {"surrogate in UTF-8", "<a>\xE4\xB8\xAD\xED\xA0\x80</a>", 1, 5, "bytes that are not valid UTF-8"},
        {"overlong UTF-8", "<a>\xE0\x80\xAF</a>", 1, 4, "bytes that are not valid UTF-8"},
        {"UTF-8 cut at the end", "<a/>\xE4\xB8", 1, 5, "bytes that are not valid UTF-8"},
        {"control character in a long line", "<a>\tabcdefgh\r\n\tijklmnopq\x02</a>", 2, 11, "control character U+0002"},
        {"GBK lead byte cut at the end", gbk + "<a/>\xD6", 2, 5, "bytes that are not valid GBK"},
        {"GBK trail byte out of range", gbk + "<a>\xD6\x20</a>", 2, 4, "bytes that are not valid GBK"},
        {"half a UTF-16 character", "\xFF\xFE" + Utf16LE("<a/>") + "<", 1, 5, "half a character"},
        {"control character", "<a>\x01</a>", 1, 4, "control character U+0001"},
        {"unsupported encoding", "<?xml version='1.0' encoding='ISO-8859-1'?><a/>", 1, 31,
         "encoding \"ISO-8859-1\" is not supported"},
        {"UTF-16 declared without a mark", "<?xml version='1.0' encoding='UTF-16'?><a/>", 1, 31, "byte-order mark"},
        {"UTF-16 declaring GBK", "\xFF\xFE" + Utf16LE("<?xml version='1.0' encoding='GBK'?><a/>"), 1, 31,
         "the declaration says GBK but the document is UTF-16"},
        {"no character of GBK in UTF-8", "<a>\xEE\x80\x80</a>", 1, 4, "U+E000 cannot be held in GBK"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        CXMLDocument doc;
        ASSERT_FALSE(LoadText(doc, c.input));
        EXPECT_EQ(doc.GetError().line, c.line) << doc.GetErrorText();
        EXPECT_EQ(doc.GetError().column, c.column) << doc.GetErrorText();
        EXPECT_NE(doc.GetError().message.find(c.message), std::string::npos) << doc.GetErrorText();
    }
}

TEST(Encoding, InvalidGbkSetByTheHostFailsTheSave)
{
    // the last: in GBK's ranges, but no character of its table
    for (const char* bad : {"\xD6", "a\x80z", "\xD6\x20", "x\x01", "\xD7\xFA"}) {
        for (XmlEncoding encoding : {XmlEncoding::Gbk, XmlEncoding::Utf8}) {
            auto* root = new CNodeAttDef;
            root->Add(new CBaseDesc("ok", ""));
            root->Add(new CBaseDesc("ok", bad));
            CXMLDocument doc;
            doc.SetRoot(root);
            doc.SetEncoding(encoding);
            std::string out = "untouched";
            EXPECT_FALSE(doc.SaveXml(out));
            EXPECT_EQ(out, "untouched");
            EXPECT_NE(doc.GetErrorText().find("attribute \"showname\""), std::string::npos) << doc.GetErrorText();
            EXPECT_NE(doc.GetErrorText().find("(in CNodeAttDef/CBaseDesc[2])"), std::string::npos)
                << doc.GetErrorText();
        }
    }
}

} // namespace

// A GBK character's second byte may lie in the ASCII range ("\x9E\x49" is
// U+6FF1): a writer that splits the text at ASCII bytes cuts it in half.
// Short values are written by a path of their own: it must write what the
// general one writes, on both sides of the length that separates them.
TEST(Encoding, ShortAndLongValuesAreWrittenAlike)
{
    const std::string unit = "\xD6\xD0&<\">\x9E\x49 "; // GBK: two characters, one with an ASCII second byte
    const struct {
        XmlEncoding encoding;
        std::string written;
    } targets[] = {
        {XmlEncoding::Utf8, "\xE4\xB8\xAD&amp;&lt;&quot;>\xE6\xBF\xB1 "},
        {XmlEncoding::Gbk, "\xD6\xD0&amp;&lt;&quot;>\x9E\x49 "},
    };
    for (const auto& target : targets) {
        for (int units : {1, 7, 8, 20}) {
            std::string value, expected;
            for (int i = 0; i < units; ++i) {
                value += unit;
                expected += target.written;
            }
            auto* root = new CNodeAttDef;
            root->Add(new CBaseDesc("n", value.c_str()));
            CXMLDocument doc;
            doc.SetRoot(root);
            doc.SetEncoding(target.encoding);
            std::string saved;
            ASSERT_TRUE(doc.SaveXml(saved)) << doc.GetErrorText();
            EXPECT_NE(saved.find("showname=\"" + expected + "\""), std::string::npos) << units << " units: " << saved;
        }
    }
}

TEST(Encoding, SecondBytesInTheAsciiRangeStayWithTheirCharacter)
{
    const std::string utf8 = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<CNodeAttDef classtype=\"8_0\" Version=\"1\">\n"
                             "  <CBaseDesc classtype=\"8_8\" name=\"\xE6\xBF\xB1\" showname=\"a\xE7\x9F\xBC&lt;\" />\n"
                             "  <!--\xE6\xBF\xB1-->\n</CNodeAttDef>\n";
    for (XmlEncoding encoding : {XmlEncoding::Utf8, XmlEncoding::Gbk, XmlEncoding::Utf16LE}) {
        CXMLDocument doc;
        ASSERT_TRUE(doc.LoadXml(utf8.data(), utf8.size())) << doc.GetErrorText();
        doc.SetEncoding(encoding);
        std::string saved;
        ASSERT_TRUE(doc.SaveXml(saved)) << doc.GetErrorText();
        CXMLDocument again;
        ASSERT_TRUE(again.LoadXml(saved.data(), saved.size())) << again.GetErrorText();
        again.SetEncoding(XmlEncoding::Utf8);
        EXPECT_EQ(Save(again), utf8);
    }
}

namespace {

// Only "<?xml" and a blank is the declaration: another instruction's
// pseudo-attributes say nothing of the encoding.
TEST(Encoding, OnlyTheDeclarationNamesTheEncoding)
{
    const std::string utf8 = "<?xml-stylesheet href=\"s.xsl\" encoding=\"GBK\"?>\n<a b=\"\xE4\xB8\xAD\" />";
    CXMLDocument doc;
    ASSERT_TRUE(LoadText(doc, utf8)) << doc.GetErrorText();
    EXPECT_EQ(doc.GetEncoding(), XmlEncoding::Utf8);
    EXPECT_EQ(Atts(*doc.GetRoot()), "b=\"\xD6\xD0\"");

    const std::string spaced = "<?xml  version='1.0'\n encoding = 'GBK' ?><a b='\xD6\xD0'/>";
    ASSERT_TRUE(LoadText(doc, spaced)) << doc.GetErrorText();
    EXPECT_EQ(doc.GetEncoding(), XmlEncoding::Gbk);
}

} // namespace
