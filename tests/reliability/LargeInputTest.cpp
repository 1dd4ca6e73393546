// Large but legal input is not bad input: it loads, saves and comes back
// byte for byte. The documents are written in the form a save gives, so the
// saved text must equal the loaded one.
#include "Scale.h"

#include <KvNodeDefine/KvNodeDefine.h>

#include <gtest/gtest.h>

#include <string>

namespace {

const char kHeader[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<CNodeAttDef classtype=\"8_0\" Version=\"1\">\n";
const char kFooter[] = "</CNodeAttDef>\n";

// nodeTypes node types of cuts children each; showName is the node types' show name
std::string Library(int nodeTypes, int cuts, const std::string& showName = "梁柱节点")
{
    std::string xml = kHeader;
    xml.reserve(static_cast<size_t>(nodeTypes) * (static_cast<size_t>(cuts) * 72 + 120) + showName.size());
    for (int t = 1; t <= nodeTypes; ++t) {
        const std::string head = "  <CNodeTypeDesc classtype=\"8_6\" name=\"NT" + std::to_string(t) + "\" showname=\"" +
                                 showName + "\" nodetype=\"" + std::to_string(20000 + t) + "\"";
        if (cuts == 0) {
            xml += head + " />\n";
            continue;
        }
        xml += head + ">\n";
        for (int c = 1; c <= cuts; ++c)
            xml += "    <CCutDesc classtype=\"8_2\" name=\"C" + std::to_string(c) + "\" showname=\"切角\" planes=\"P" +
                   std::to_string(c % 7) + ",P9\" />\n";
        xml += "  </CNodeTypeDesc>\n";
    }
    return xml + kFooter;
}

// loads xml, checks that a save gives it back, and hands over the root
std::unique_ptr<CXMLBase> LoadSaveCompare(const std::string& xml)
{
    CXMLDocument doc;
    EXPECT_TRUE(doc.LoadXml(xml.data(), xml.size())) << doc.GetErrorText();
    std::string saved;
    EXPECT_TRUE(doc.SaveXml(saved)) << doc.GetErrorText();
    EXPECT_EQ(saved.size(), xml.size());
    EXPECT_TRUE(saved == xml) << "the saved document differs from the loaded one";
    return std::unique_ptr<CXMLBase>(doc.DetachRoot());
}

const CNodeTypeDesc& NodeType(const CXMLBase& root, int index)
{
    return *static_cast<const CNodeTypeDesc*>(static_cast<const CXMLComposite&>(root).GetChild(index));
}

TEST(LargeInput, FiftyMegabyteAttribute)
{
    // Chinese, ASCII and escapes, about 50 MB of UTF-8
    const std::string piece = "连接板&amp;加劲肋 L63x5 &lt;端板> ";
    const size_t target = 50u * 1024 * 1024 / kvtest::kScaleDown;
    std::string showName;
    showName.reserve(target + piece.size());
    while (showName.size() < target)
        showName += piece;
    const auto root = LoadSaveCompare(Library(1, 0, showName));
    ASSERT_TRUE(root);
    // each piece holds 8 Chinese characters (2 GBK bytes each) and 11 others
    const CString value = NodeType(*root, 0).GetShowName();
    EXPECT_EQ(static_cast<size_t>(value.GetLength()), showName.size() / piece.size() * (8 * 2 + 11));
    EXPECT_EQ(value.Left(9), CString("\xC1\xAC\xBD\xD3\xB0\xE5&\xBC\xD3"));
}

TEST(LargeInput, MillionElements)
{
    const int nodeTypes = 1000 / kvtest::kScaleDown;
    const auto root = LoadSaveCompare(Library(nodeTypes, 999));
    ASSERT_TRUE(root);
    const auto& composite = static_cast<const CXMLComposite&>(*root);
    ASSERT_EQ(composite.GetChildCount(), nodeTypes);
    EXPECT_EQ(NodeType(*root, nodeTypes - 1).GetChildCount(), 999);
    EXPECT_EQ(static_cast<const CCutDesc*>(NodeType(*root, nodeTypes - 1).GetChild(998))->GetPlaneNames(), "P5,P9");
}

TEST(LargeInput, NodeTypeOfHundredThousandChildren)
{
    const int children = 100000 / kvtest::kScaleDown;
    const auto root = LoadSaveCompare(Library(1, children));
    ASSERT_TRUE(root);
    const CNodeTypeDesc& nodeType = NodeType(*root, 0);
    ASSERT_EQ(nodeType.GetChildCount(), children);
    const CString last = "C" + CString(std::to_string(children).c_str());
    EXPECT_EQ(static_cast<const CCutDesc*>(nodeType.GetChild(children - 1))->GetName(), last);
}

} // namespace

namespace {

// Every element of a class no one registered warns with its path; the
// last of 100000 siblings is counted right, and what they are comes back.
TEST(LargeInput, ManyWarnedSiblingsKeepTheirPlaces)
{
    const int count = 100000 / kvtest::kScaleDown;
    std::string xml = kHeader;
    for (int i = 0; i < count; ++i)
        xml += i % 3 ? "  <CFutureDesc classtype=\"8_99\" />\n" : "  <Note />\n";
    xml += kFooter;
    CXMLDocument doc;
    ASSERT_TRUE(doc.LoadXml(xml.data(), xml.size())) << doc.GetErrorText();
    ASSERT_EQ(doc.GetWarnings().size(), static_cast<size_t>(count));
    const XmlDiagnostic& last = doc.GetWarnings().back();
    const int lastIndex = (count - 1) % 3 ? count - 1 - (count - 1) / 3 : (count - 1) / 3 + 1;
    const std::string lastName = (count - 1) % 3 ? "CFutureDesc" : "Note";
    EXPECT_EQ(last.path, "CNodeAttDef/" + lastName + "[" + std::to_string(lastIndex) + "]");
    EXPECT_EQ(last.line, count + 2);
    std::string saved;
    ASSERT_TRUE(doc.SaveXml(saved));
    EXPECT_TRUE(saved == xml);
}

} // namespace
