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
