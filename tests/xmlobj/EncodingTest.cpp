// Documents in every supported encoding: read into GBK, written back in the
// encoding they came in, as iconv writes them; and the texts that fail a save.
// The files under data/xmlobj/encodings were made with iconv, not with the
// library; data/xmlobj/loads.txt holds the bytes that fail a load.
#include "support/DescTestUtil.h"

using namespace kvtest;

namespace {

const char kGbkChinese[] = "\xD6\xD0\xCE\xC4";

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

TEST(Encoding, InvalidGbkSetByTheHostFailsTheSave)
{
    // the last two: in GBK's ranges, but no character of its table
    for (const char* bad : {"\xD6", "a\xFFz", "\xD6\x20", "x\x01", "\xD7\xFA", "\xA2\xAB"}) {
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
    const std::string body = "<CNodeAttDef classtype=\"8_0\" Version=\"1\">\n"
                             "  <CBaseDesc classtype=\"8_8\" name=\"\xE6\xBF\xB1\" showname=\"a\xE7\x9F\xBC&lt;\" />\n"
                             "  <!--\xE6\xBF\xB1-->\n</CNodeAttDef>\n";
    const auto declared = [&](const char* name) {
        return "<?xml version=\"1.0\" encoding=\"" + std::string(name) + "\"?>\n" + body;
    };
    const struct {
        XmlEncoding encoding;
        std::string mark;
        const char *declaredAs, *iconvName;
    } targets[] = {
        {XmlEncoding::Utf8, "", "UTF-8", "UTF-8"},
        {XmlEncoding::Gbk, "", "GBK", "GBK"},
        {XmlEncoding::Utf16LE, "\xFF\xFE", "UTF-16", "UTF-16LE"},
    };
    for (const auto& t : targets) {
        CXMLDocument doc;
        ASSERT_TRUE(LoadText(doc, declared("UTF-8"))) << doc.GetErrorText();
        doc.SetEncoding(t.encoding);
        EXPECT_EQ(Save(doc), t.mark + Iconv(declared(t.declaredAs), "UTF-8", t.iconvName)) << t.declaredAs;
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
