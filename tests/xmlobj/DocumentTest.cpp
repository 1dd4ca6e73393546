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
    // bytes the caller read from a file of its own are named after it
    ASSERT_TRUE(doc.LoadXml(xml.data(), xml.size(), "nodes/a.xml"));
    EXPECT_EQ(doc.GetWarnings()[0].file, "nodes/a.xml");
    EXPECT_FALSE(doc.LoadXml("<a>", 3, "b.xml"));
    EXPECT_EQ(doc.GetError().file, "b.xml");

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

// A host object whose Serialize refuses a save without saying why fails the
// save with the document's own reason, and hands out no text.
TEST(Document, SaveFailsWhereAnObjectRefusesWithoutAReason)
{
    struct Refusing : CXMLComposite {
        bool Serialize(MSXML2::IXMLDOMNode& node, MSXML2::IXMLDOMDocument* pDoc, bool bLoad, bool bChildren) override
        {
            return bLoad && CXMLComposite::Serialize(node, pDoc, bLoad, bChildren);
        }
    };
    for (bool atRoot : {false, true}) {
        CXMLBase* root = atRoot ? static_cast<CXMLBase*>(new Refusing) : new CNodeAttDef;
        if (!atRoot) {
            root->Add(new CBaseDesc);
            root->Add(new Refusing);
        }
        CXMLDocument doc;
        doc.SetRoot(root);
        std::string out = "kept";
        EXPECT_FALSE(doc.SaveXml(out));
        EXPECT_EQ(out, "kept");
        EXPECT_EQ(doc.GetErrorText(), "<memory>: the document could not be saved");
    }
}

// What a host puts in a text or a CDATA section reads back as it was, carriage
// returns too (a CDATA section is split around one, which stands between
// as a reference); a comment or instruction cannot keep one, so the save
// refuses it rather than change it.
TEST(Document, HostTextsReadBackAsTheyWere)
{
    const struct {
        CXMLText::Kind kind;
        const char* text;
        const char* saved; // a part of what is written, or null when the save is refused
    } cases[] = {
        {CXMLText::Text, "a\rb\r\nc", "<r>a&#13;b&#13;\nc</r>"},
        {CXMLText::CData, "a\rb", "<r><![CDATA[a]]>&#13;<![CDATA[b]]></r>"},
        {CXMLText::CData, "\r\nx]]>y\r", "<r>&#13;<![CDATA[\nx]]]]><![CDATA[>y]]>&#13;</r>"},
        {CXMLText::CData, "\x81]]>", "<r><![CDATA[\xE4\xB9\x9A]>]]></r>"}, // the ']' a character's second byte
        {CXMLText::CData, "", "<r><![CDATA[]]></r>"},
        {CXMLText::Comment, " a\nb ", "<!-- a\nb -->"},
        {CXMLText::Comment, " a\r\nb ", nullptr},
        {CXMLText::Comment, "\r first", nullptr},
        {CXMLText::Instruction, "pi a\rb", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c.text)));
        auto* root = new CXMLUnknown("r");
        root->Add(new CXMLText(c.kind, c.text));
        CXMLDocument doc, again;
        doc.SetRoot(root);
        std::string out;
        if (!c.saved) {
            EXPECT_FALSE(doc.SaveXml(out));
            EXPECT_NE(doc.GetErrorText().find("may not hold a carriage return"), std::string::npos)
                << doc.GetErrorText();
            continue;
        }
        ASSERT_TRUE(doc.SaveXml(out)) << doc.GetErrorText();
        EXPECT_NE(out.find(c.saved), std::string::npos) << out;
        ASSERT_TRUE(LoadText(again, out)) << again.GetErrorText();
        std::string back;
        const auto* loaded = static_cast<const CXMLComposite*>(again.GetRoot());
        for (int i = 0; i < loaded->GetChildCount(); ++i)
            back += Str(static_cast<const CXMLText*>(loaded->GetChild(i))->GetText());
        EXPECT_EQ(back, c.text);
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
        // a path too deep to read keeps its first and last four steps
        EXPECT_EQ(doc.GetError().path, "CBaseDesc/CBaseDesc[1]/CBaseDesc[1]/CBaseDesc[1]/... 1017 more .../"
                                       "CBaseDesc[1]/CBaseDesc[1]/CBaseDesc[1]/CBaseDesc[1]");
    }
}

} // namespace
