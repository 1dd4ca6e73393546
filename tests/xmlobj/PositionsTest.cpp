#include <KvNodeDefine/KvNodeDefine.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// GBK text in a UTF-8 document: a column counts characters, not bytes.
const std::string kDoc = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                         "<CNodeAttDef classtype=\"8_0\" Version=\"1\">\n"
                         "  <CNodeTypeDesc classtype=\"8_6\" name=\"\xE8\x8A\x82\xE7\x82\xB9\"><CPlateDesc classtype=\"8_3\"/>\n"
                         "    <Mystery classtype=\"8_99\"><CCutDesc classtype=\"8_2\"/></Mystery>\n"
                         "  </CNodeTypeDesc>\n"
                         "</CNodeAttDef>\n";

CXMLBase* Child(const CXMLBase* parent, int index)
{
    return static_cast<const CXMLComposite*>(parent)->GetChild(index);
}

TEST(Positions, RecordedOnlyWhenAskedFor)
{
    CXMLDocument doc;
    ASSERT_TRUE(doc.LoadXml(kDoc.data(), kDoc.size()));
    EXPECT_EQ(doc.GetPosition(doc.GetRoot()).line, 0);

    doc.SetRecordPositions(true);
    ASSERT_TRUE(doc.LoadXml(kDoc.data(), kDoc.size()));
    const CXMLBase* root = doc.GetRoot();
    const CXMLBase* node = Child(root, 0);
    ASSERT_TRUE(node && node->IsKindOf(RUNTIME_CLASS(CNodeTypeDesc)));
    const CXMLBase* plate = Child(node, 0);
    const CXMLBase* mystery = Child(node, 1);
    ASSERT_TRUE(mystery && mystery->IsKindOf(RUNTIME_CLASS(CXMLUnknown)));
    const CXMLBase* cut = Child(mystery, 0);

    const struct {
        const CXMLBase* object;
        int line, column;
    } expected[] = {{root, 2, 1}, {node, 3, 3}, {plate, 3, 44}, {mystery, 4, 5}, {cut, 4, 31}};
    for (const auto& e : expected) {
        const XmlPosition p = doc.GetPosition(e.object);
        EXPECT_EQ(p.line, e.line) << e.object->GetElementName();
        EXPECT_EQ(p.column, e.column) << e.object->GetElementName();
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
