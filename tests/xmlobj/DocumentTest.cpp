// Reading and writing whole documents through CXMLDocument: round trips,
// elements of unknown classes, and the loader's refusals with their places.
#include "support/DescTestUtil.h"

using namespace kvtest;

namespace {

std::string Nested(int depth)
{
    std::string xml;
    for (int i = 0; i < depth; ++i)
        xml += "<CBaseDesc classtype='8_8'>";
    for (int i = 0; i < depth; ++i)
        xml += "</CBaseDesc>";
    return xml;
}

TEST(Document, RoundTripKeepsTreeAndTexts)
{
    const CString tricky("a&b<c>d\"e'f\tg\nh\ri");
    const char* chinese = "\xD6\xD0\xCE\xC4"; // GBK
    auto* root = new CNodeAttDef;
    root->SetVersion(3);
    root->Add(new CBaseDesc(tricky, chinese));
    root->Add(new CBaseDesc("second", ""));
    root->Add(new CXMLText(CXMLText::Text, "x\r\ny\rz"));
    CXMLDocument doc;
    doc.SetRoot(root);
    const std::string first = Save(doc);
    // whitespace in a value would be normalised to a blank by the next
    // reader, and a raw carriage return taken for a line end, in text too
    EXPECT_NE(first.find("f&#09;g&#10;h&#13;i"), std::string::npos) << first;
    EXPECT_NE(first.find("x&#13;\ny&#13;z"), std::string::npos) << first;
    EXPECT_NE(first.find("<CNodeAttDef classtype=\"8_0\" Version=\"3\">"), std::string::npos) << first;

    CXMLDocument again;
    ASSERT_TRUE(LoadText(again, first)) << again.GetErrorText();
    EXPECT_TRUE(again.GetWarnings().empty());
    auto* loaded = As<CNodeAttDef>(again.GetRoot());
    ASSERT_TRUE(loaded && loaded->GetChildCount() == 3);
    EXPECT_EQ(loaded->GetVersion(), 3);
    EXPECT_EQ(Atts(*loaded->GetChild(0)), "name=\"" + Str(tricky) + "\" showname=\"" + chinese + "\"");
    EXPECT_EQ(Atts(*loaded->GetChild(1)), R"(name="second" showname="")");
    auto* text = As<CXMLText>(loaded->GetChild(2));
    ASSERT_TRUE(text);
    EXPECT_EQ(Str(text->GetText()), "x\r\ny\rz");
    EXPECT_EQ(Save(again), first);
}

// An unknown class index with text, a comment, CDATA and an unknown child; no
// class index and an element name no class has, holding a known class.
TEST(Document, UnknownElementsAreKeptAndSavedBackUnchanged)
{
    for (const char* name : {"unknown-class-index.xml", "unknown-element-name.xml"}) {
        SCOPED_TRACE(name);
        const std::string xml = ReadFile(std::string(KV_TEST_DATA "/xmlobj/") + name);
        CXMLDocument doc;
        ASSERT_TRUE(LoadText(doc, xml)) << doc.GetErrorText();
        auto* unknown = As<CXMLUnknown>(Child(doc.GetRoot(), 0));
        ASSERT_TRUE(unknown && !doc.GetWarnings().empty());
        const XmlDiagnostic& w = doc.GetWarnings()[0];
        EXPECT_EQ(w.line, 3);
        EXPECT_EQ(w.column, 3);
        EXPECT_NE(w.message.find(unknown->GetElementName()), std::string::npos) << w.message;
        EXPECT_EQ(Save(doc), xml);
    }
}

// A value list has nowhere to put children: what it holds is kept unread,
// any depth of it, and written back; nesting there is bounded as anywhere.
TEST(Document, WhatAPlainObjectHoldsIsKeptAndWrittenBack)
{
    const std::string xml = "<CNodeAttDef classtype=\"8_0\" Version=\"1\">\n"
                            "  <CValueListDesc classtype=\"8_11\" a=\"1\">\n"
                            "    <!-- the usual sizes -->\n"
                            "    <x classtype=\"8_3\">\n"
                            "      <CPlateDesc classtype=\"8_3\" name=\"p\" />\n"
                            "    </x>\n"
                            "  </CValueListDesc>\n"
                            "</CNodeAttDef>\n";
    CXMLDocument doc;
    ASSERT_TRUE(LoadText(doc, xml)) << doc.GetErrorText();
    ASSERT_EQ(doc.GetWarnings().size(), 1u);
    EXPECT_EQ(doc.GetWarnings()[0].Format(),
              "<memory>:4:5: <CValueListDesc> holds no children: what it contains is kept unread "
              "(in CNodeAttDef/CValueListDesc[1]/x[1])");
    EXPECT_EQ(Save(doc), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + xml);

    std::string deep = "<CValueListDesc classtype='8_11'>";
    for (int i = 0; i < 100000; ++i)
        deep += "<v>";
    for (int i = 0; i < 100000; ++i)
        deep += "</v>";
    deep += "</CValueListDesc>";
    EXPECT_FALSE(LoadText(doc, deep));
    EXPECT_EQ(doc.GetError().message, "elements nested deeper than 1024 levels");
    EXPECT_EQ(doc.GetError().column, 33 + 1023 * 3 + 1);
}

TEST(Document, SaveRefusesNamesThatWouldNotLoadAgain)
{
    // each after a sibling whose names passed: a save checks again the names that differ
    for (const char* name : {"", "a b", "1x", "a<b"}) {
        auto* root = new CNodeAttDef;
        root->Add(new CXMLUnknown("ok"));
        root->Add(new CXMLUnknown(name));
        CXMLDocument doc;
        doc.SetRoot(root);
        std::string out;
        EXPECT_FALSE(doc.SaveXml(out)) << out;
        EXPECT_NE(doc.GetErrorText().find("is not a valid XML name (in CNodeAttDef/"), std::string::npos)
            << doc.GetErrorText();
    }
    auto* root = new CBaseDesc;
    for (const char* name : {"ab", "a b"}) {
        auto* desc = new CBaseDesc;
        desc->SetAttText(name, "1");
        root->Add(desc);
    }
    CXMLDocument doc;
    doc.SetRoot(root);
    std::string out;
    EXPECT_FALSE(doc.SaveXml(out));
    EXPECT_EQ(doc.GetErrorText(),
              "<memory>: attribute name \"a b\" is not a valid XML name (in CBaseDesc/CBaseDesc[2])");
}

TEST(Document, SaveRefusesInstructionsThatWouldNotLoadAgain)
{
    for (const char* text : {"xml version='1.0'", "XmL", "a ?> b", "1st", ""}) {
        auto* root = new CNodeAttDef;
        root->Add(new CXMLText(CXMLText::Instruction, "fine data"));
        root->Add(new CXMLText(CXMLText::Instruction, text));
        CXMLDocument doc;
        doc.SetRoot(root);
        std::string out;
        EXPECT_FALSE(doc.SaveXml(out)) << out;
        EXPECT_NE(doc.GetErrorText().find("processing instruction"), std::string::npos) << doc.GetErrorText();
    }
}

TEST(Document, FailedLoadLeavesTheDocumentAsItWas)
{
    CXMLDocument doc;
    ASSERT_TRUE(LoadText(doc, "<?xml version=\"1.0\" encoding=\"GBK\"?><CNodeAttDef classtype='8_0' Version='5'/>"));
    CXMLBase* root = doc.GetRoot();
    const char* bad[] = {
        "<CNodeAttDef classtype='8_0'>",                                      // by the parser
        "<CNodeAttDef classtype='8_0'><CBaseDesc name='&x;'/></CNodeAttDef>", // while objects read
        "<?xml version='1.0' encoding='ISO-8859-1'?><a/>",                    // before parsing
        "<a>\xFF</a>",                                                        // while converting
    };
    for (const char* xml : bad) {
        EXPECT_FALSE(LoadText(doc, xml)) << xml;
        EXPECT_FALSE(doc.GetErrorText().empty());
        EXPECT_EQ(doc.GetRoot(), root);
        EXPECT_EQ(static_cast<CNodeAttDef*>(root)->GetVersion(), 5);
        EXPECT_EQ(doc.GetEncoding(), XmlEncoding::Gbk);
    }
    ASSERT_TRUE(LoadText(doc, "<CBaseDesc classtype='8_8'/>"));
    EXPECT_EQ(doc.GetErrorText(), "");
    EXPECT_EQ(doc.GetEncoding(), XmlEncoding::Utf8);
}

// Each refusal names its place as file:line:column, and the element when there is one.
TEST(Document, MalformedInputFailsWithItsPlace)
{
    const struct {
        const char* xml;
        const char* error;
    } cases[] = {
        {"<CNodeAttDef classtype='8_0'>\n  <CBaseDesc classtype='8_8' name='a&bogus;'/>\n</CNodeAttDef>",
         "<memory>:2:37: undefined entity &bogus; (in CNodeAttDef/CBaseDesc[1])"},
        {"<CNodeAttDef>\n<CBaseDesc/>\n<CBaseDesc>\n<X/><X>&#1;</X></CBaseDesc></CNodeAttDef>",
         "<memory>:4:8: invalid character reference &#1; (in CNodeAttDef/CBaseDesc[2]/X[2])"},
        {"<a x='1'\n   x='2'/>", "<memory>:2:4: duplicate attribute \"x\" (in a)"},
        // after a sibling with as many attributes, which passed
        {"<a>\n<b x='1' y='2'/>\n<b x='1' x='2'/></a>", "<memory>:3:10: duplicate attribute \"x\" (in a/b[2])"},
        {"<a/>\n<b/>", "<memory>:2:1: more than one root element (in b)"},
        {"<a>\n<b></a>", "<memory>:2:6: end tag </a> does not match <b> opened at line 2, column 1 (in a/b[1])"},
        {"<a/></a>", "<memory>:1:7: end tag </a> closes no open element"},
        // a file cut short says what it cut and what is still open
        {"<a>\n  <b ", "<memory>:2:3: the file ends inside the start tag of <b>, which has no closing '>' (in a)"},
        {"<a>\n  <b x='1", "<memory>:2:8: the file ends inside the value of attribute \"x\" of <b>, which has no "
                         "closing quote (') (in a)"},
        {"<a>\n  <b x = \"1>\n</b></a>", "<memory>:2:10: the file ends inside the value of attribute \"x\" of <b>, "
                                         "which has no closing quote (\") (in a)"},
        {"<a>\n  <b>\n  <c/>\n", "<memory>:4:1: the file ends before </b> that closes the element opened at line 2, "
                               "column 3 (2 elements are open) (in a/b[1])"},
        {"<a>\r<b/>\r<!-- x", "<memory>:3:1: the file ends inside a comment, which has no closing \"-->\" (in a)"},
        {"<!DOCTYPE a [\n<!ENTITY e 'boom'>\n]>\n<a>&e;</a>",
         "<memory>:1:11: document type declarations are not supported (no DTD is ever read)"},
        {"<a/>\ntext", "<memory>:2:1: text outside the root element"},
        {"<a>\n <!-- x -- y --></a>",
         "<memory>:2:9: a comment may not hold \"--\" nor end in \"-\" (put a blank between the dashes) (in a)"},
        {"<a><!-- x ---></a>",
         "<memory>:1:11: a comment may not hold \"--\" nor end in \"-\" (put a blank between the dashes) (in a)"},
        {"<a b='&#x100000041;'/>", "<memory>:1:7: invalid character reference &#x100000041; (in a)"},
        {"<a b='&#x0x41;'/>", "<memory>:1:7: invalid character reference &#x0x41; (in a)"},
        {"<a>&#\n65;</a>", "<memory>:1:4: invalid character reference &#\n65; (in a)"},
        // line ends of CR LF, which the parser folds inside a value
        {"<a>\r\n\r\nline &bad;</a>", "<memory>:3:6: undefined entity &bad; (in a)"},
        {"<a b='x\r\ny&bad;'/>", "<memory>:2:2: undefined entity &bad; (in a)"},
        {"\n<?xml?><a/>", "<memory>:2:1: the XML declaration must stand at the very start of the file: remove the "
                         "blanks before <?xml ...?>"},
        {"<?xml version='1.0'?><a><?Xml-not version='1'?><?xMl ?></a>",
         "<memory>:1:48: an XML declaration may only stand at the very start of the file (remove this one) (in a)"},
        {"", "<memory>:1:1: no root element"},
        {" \n ", "<memory>:2:2: no root element"},
    };
    for (const auto& c : cases) {
        CXMLDocument doc;
        EXPECT_FALSE(LoadText(doc, c.xml)) << c.xml;
        EXPECT_EQ(doc.GetErrorText(), c.error) << c.xml;
    }
}

TEST(Document, NestingIsBoundedAt1024Levels)
{
    CXMLDocument doc, again;
    ASSERT_TRUE(LoadText(doc, Nested(1024))) << doc.GetErrorText();
    ASSERT_TRUE(LoadText(again, Save(doc))) << again.GetErrorText();
    for (int depth : {1025, 100000}) {
        EXPECT_FALSE(LoadText(doc, Nested(depth)));
        EXPECT_EQ(doc.GetError().line, 1);
        EXPECT_EQ(doc.GetError().column, 1 + 1024 * 27);
        EXPECT_EQ(doc.GetError().message, "elements nested deeper than 1024 levels");
    }
}

} // namespace
