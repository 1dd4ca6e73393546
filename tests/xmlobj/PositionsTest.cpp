#include "support/DescTestUtil.h"

namespace {

using kvtest::Child;

// GBK text in a UTF-8 document: a column counts characters, not bytes.
const std::string kDoc = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                         "<CNodeAttDef classtype=\"8_0\" Version=\"1\">\n"
                         "  <CNodeTypeDesc classtype=\"8_6\" name=\"节点\"><CPlateDesc classtype=\"8_3\"/>\n"
                         "    <Mystery classtype=\"8_99\"><CCutDesc classtype=\"8_2\"/></Mystery>\n"
                         "  </CNodeTypeDesc>\n"
                         "</CNodeAttDef>\n";

TEST(Positions, RecordedOnlyWhenAskedFor)
{
    CXMLDocument doc;
    ASSERT_TRUE(kvtest::LoadText(doc, kDoc));
    EXPECT_EQ(doc.GetPosition(doc.GetRoot()).line, 0);

    doc.SetRecordPositions(true);
    ASSERT_TRUE(kvtest::LoadText(doc, kDoc));
    const CXMLBase* root = doc.GetRoot();
    const CXMLBase* node = Child(root, 0);
    const CXMLBase* mystery = Child(node, 1);
    ASSERT_TRUE(kvtest::As<CXMLUnknown>(Child(node, 1)));
    const struct {
        const CXMLBase* object;
        int line, column;
    } expected[] = {{root, 2, 1}, {node, 3, 3}, {Child(node, 0), 3, 44}, {mystery, 4, 5}, {Child(mystery, 0), 4, 31}};
    for (const auto& e : expected) {
        EXPECT_EQ(doc.GetPosition(e.object).line, e.line) << e.object->GetElementName();
        EXPECT_EQ(doc.GetPosition(e.object).column, e.column) << e.object->GetElementName();
    }
    // the unknown element's warning and its position agree
    ASSERT_EQ(doc.GetWarnings().size(), 1u);
    EXPECT_EQ(doc.GetWarnings()[0].line, 4);
    EXPECT_EQ(doc.GetWarnings()[0].column, 5);

    // a failed load keeps the tree and its positions; a new root drops them
    EXPECT_FALSE(doc.LoadXml("<a>", 3));
    EXPECT_EQ(doc.GetPosition(root).line, 2);
    doc.SetRoot(new CNodeAttDef);
    EXPECT_EQ(doc.GetPosition(root).line, 0);
}

} // namespace

namespace {

// CR, LF and CR LF each end a line, as editors count them.
TEST(Positions, EveryLineEndCounts)
{
    for (const char* end : {"\n", "\r", "\r\n"}) {
        std::string xml = "<a>";
        for (int i = 0; i < 3; ++i)
            xml += end + std::string("  <b/>");
        xml += std::string(end) + "  <c x='&bad;'/></a>";
        CXMLDocument doc;
        EXPECT_FALSE(kvtest::LoadText(doc, xml));
        EXPECT_EQ(doc.GetError().line, 5) << doc.GetErrorText();
        EXPECT_EQ(doc.GetError().column, 9) << doc.GetErrorText();
    }
    // mixed, and a CR LF cut by the place asked before
    CXMLDocument doc;
    doc.SetRecordPositions(true);
    ASSERT_TRUE(kvtest::LoadText(doc, "<a>\r<b/>\r\n<b/>\n\r<b/></a>"));
    const int lines[] = {2, 3, 5};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(doc.GetPosition(Child(doc.GetRoot(), i)).line, lines[i]);
}

// Each warning names its element by its place among same-named siblings,
// also when other elements and levels come between.
TEST(Positions, PathsCountSameNamedSiblings)
{
    const std::string xml = "<CNodeAttDef classtype='8_0'><u/><k/><CBaseDesc classtype='8_8'><u/><k/><u/></CBaseDesc>"
                            "<k/><u/></CNodeAttDef>";
    CXMLDocument doc;
    ASSERT_TRUE(kvtest::LoadText(doc, xml));
    std::vector<std::string> paths;
    for (const XmlDiagnostic& w : doc.GetWarnings())
        paths.push_back(w.path);
    const std::vector<std::string> expected = {
        "CNodeAttDef/u[1]", "CNodeAttDef/k[1]", "CNodeAttDef/CBaseDesc[1]/u[1]", "CNodeAttDef/CBaseDesc[1]/k[1]",
        "CNodeAttDef/CBaseDesc[1]/u[2]", "CNodeAttDef/k[2]", "CNodeAttDef/u[2]"};
    EXPECT_EQ(paths, expected);
}

} // namespace

namespace {

// Comments and processing instructions are kept with their place, at their '<'.
TEST(Positions, OfCommentsAndInstructions)
{
    CXMLDocument doc;
    doc.SetRecordPositions(true);
    ASSERT_TRUE(kvtest::LoadText(doc, "<!-- head -->\n<a>\n  <?pi data?><![CDATA[x]]><!--c--></a>\n<!-- tail -->"));
    EXPECT_EQ(doc.GetPosition(doc.GetBeforeRoot().GetChild(0)).column, 1);
    EXPECT_EQ(doc.GetPosition(doc.GetAfterRoot().GetChild(0)).line, 4);
    const int columns[] = {3, 14, 27};
    for (int i = 0; i < 3; ++i) {
        const XmlPosition p = doc.GetPosition(Child(doc.GetRoot(), i));
        EXPECT_EQ(p.line, 3);
        EXPECT_EQ(p.column, columns[i]);
    }
}

} // namespace

namespace {

// Every attribute's name and value, and every text, comment, instruction and
// CDATA section whole, at its line and column and at the bytes it takes in
// the text as given, in every encoding the library reads.
TEST(Positions, RangesOfAttributesAndTexts)
{
    const std::string doc = "<?xml version=\"1.0\" encoding=\"{enc}\"?>\r\n"
                            "<a x=\"梁&amp;柱\" y='say \"hi\"' z=\"\"\r\n"
                            "   w=\"1\r\n2丂\"><!--注释--><?pi 数据?>文本<![CDATA[乚]>x]]></a>";
    struct Expected {
        std::string text; // the bytes of the range, in UTF-8
        int line, column, endLine, endColumn;
    };
    const Expected attributes[][2] = {
        // name, value
        {{"x", 2, 4, 2, 5}, {"梁&amp;柱", 2, 7, 2, 14}},
        {{"y", 2, 16, 2, 17}, {"say \"hi\"", 2, 19, 2, 27}},
        {{"z", 2, 29, 2, 30}, {"", 2, 32, 2, 32}},
        {{"w", 3, 4, 3, 5}, {"1\r\n2丂", 3, 7, 4, 3}},
    };
    const Expected start = {"<a x=\"梁&amp;柱\" y='say \"hi\"' z=\"\"\r\n   w=\"1\r\n2丂\">", 2, 1, 4, 5};
    const Expected texts[] = {
        {"<!--注释-->", 4, 5, 4, 14},
        {"<?pi 数据?>", 4, 14, 4, 23},
        {"文本", 4, 23, 4, 25},
        {"<![CDATA[乚]>x]]>", 4, 25, 4, 41},
    };
    const struct {
        const char* name;  // as declared
        const char* iconv; // as iconv names it
        std::string mark;
    } encodings[] = {
        {"UTF-8", "UTF-8", ""},          {"UTF-8", "UTF-8", "\xEF\xBB\xBF"}, {"GBK", "GBK", ""},
        {"GB18030", "GB18030", ""},      {"UTF-16", "UTF-16LE", "\xFF\xFE"}, {"UTF-16", "UTF-16BE", "\xFE\xFF"},
    };
    for (const auto& e : encodings) {
        std::string utf8 = doc;
        utf8.replace(utf8.find("{enc}"), 5, e.name);
        const std::string bytes = e.mark + kvtest::Iconv(utf8, "UTF-8", e.iconv);
        CXMLDocument d;
        d.SetRecordPositions(true);
        ASSERT_TRUE(kvtest::LoadText(d, bytes)) << d.GetErrorText();
        const auto expect = [&](const XmlRange& r, const Expected& x, const std::string& what) {
            const std::string got = kvtest::Iconv(bytes.substr(r.start.offset, r.end.offset - r.start.offset), e.iconv,
                                                  "UTF-8");
            EXPECT_EQ(got, x.text) << e.iconv << " " << what;
            EXPECT_EQ(std::vector<int>({r.start.line, r.start.column, r.end.line, r.end.column}),
                      std::vector<int>({x.line, x.column, x.endLine, x.endColumn}))
                << e.iconv << " " << what;
        };
        const XmlMarkup* root = d.GetMarkup(d.GetRoot());
        ASSERT_TRUE(root);
        expect(root->range, start, "start tag");
        expect(root->nameRange, {"a", 2, 2, 2, 3}, "element name");
        ASSERT_EQ(root->attributes.size(), 4u);
        for (size_t i = 0; i < 4; ++i) {
            EXPECT_EQ(kvtest::Str(root->attributes[i].name), attributes[i][0].text);
            expect(root->attributes[i].nameRange, attributes[i][0], "name " + attributes[i][0].text);
            expect(root->attributes[i].valueRange, attributes[i][1], "value of " + attributes[i][0].text);
        }
        for (int i = 0; i < 4; ++i) {
            const XmlMarkup* text = d.GetMarkup(Child(d.GetRoot(), i));
            ASSERT_TRUE(text) << i;
            expect(text->range, texts[i], texts[i].text);
        }
    }
}

} // namespace
