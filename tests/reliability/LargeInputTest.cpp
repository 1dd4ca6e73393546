// Large but legal input is not bad input: it loads, saves and comes back
// byte for byte. The documents are written in the form a save gives, so the
// saved text must equal the loaded one.
#include "Scale.h"

#include <KvNodeDefine/KvNodeDefine.h>

#include <gtest/gtest.h>

#include <algorithm>
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

// Every element of a class no one registered warns with its path, up to
// the first kMaxWarnings; one more counts the rest and keeps the place and
// path of the first of them, counted right after 100000 siblings.
TEST(LargeInput, ManyWarnedSiblingsKeepTheirPlaces)
{
    const int count = 100000 / kvtest::kScaleDown;
    std::string xml = kHeader;
    for (int i = 0; i < count; ++i)
        xml += i % 3 ? "  <CFutureDesc classtype=\"8_99\" />\n" : "  <Note />\n";
    xml += kFooter;
    CXMLDocument doc;
    ASSERT_TRUE(doc.LoadXml(xml.data(), xml.size())) << doc.GetErrorText();
    // element i stands on line i + 3
    const auto pathOf = [](int i) {
        const int index = i % 3 ? i - i / 3 : i / 3 + 1;
        return "CNodeAttDef/" + std::string(i % 3 ? "CFutureDesc" : "Note") + "[" + std::to_string(index) + "]";
    };
    const int kept = static_cast<int>(std::min<size_t>(count, CXMLDocument::kMaxWarnings));
    ASSERT_EQ(doc.GetWarnings().size(), static_cast<size_t>(kept + (count > kept ? 1 : 0)));
    const XmlDiagnostic& last = doc.GetWarnings()[static_cast<size_t>(kept - 1)];
    EXPECT_EQ(last.path, pathOf(kept - 1));
    EXPECT_EQ(last.line, kept + 2);
    if (count > kept) {
        const XmlDiagnostic& rest = doc.GetWarnings().back();
        EXPECT_EQ(rest.path, pathOf(kept));
        EXPECT_EQ(rest.line, kept + 3);
        EXPECT_EQ(rest.message.rfind(std::to_string(count - kept) + " more warnings from here on are not kept", 0), 0u)
            << rest.message;
    }
    std::string saved;
    ASSERT_TRUE(doc.SaveXml(saved));
    EXPECT_TRUE(saved == xml);
}

} // namespace

namespace {

// 100000 siblings, each of a name of its own but one: the last of them,
// named as an early one, is the second of that name, and the load is not
// slowed by the names' number (a test of time would be flaky: bench_document
// measures it, BM_LoadSiblingsOfDistinctNames).
TEST(LargeInput, SiblingsOfDistinctNamesAreCountedByName)
{
    const int count = 100000 / kvtest::kScaleDown;
    std::string xml = kHeader;
    for (int i = 0; i < count; ++i)
        xml += "  <u" + std::to_string(i) + " />\n";
    xml += "  <u5 x=\"&bad;\" />\n" + std::string(kFooter);
    CXMLDocument doc;
    ASSERT_FALSE(doc.LoadXml(xml.data(), xml.size()));
    EXPECT_EQ(doc.GetError().path, "CNodeAttDef/u5[2]");
    EXPECT_EQ(doc.GetError().line, count + 3);
}

// Tiny elements with texts between them would make a tree of some forty
// times the text: the load stops where it would pass the bound, says so
// there, and leaves the document as it was. A million tiny elements alone
// stay within it and load.
TEST(LargeInput, TreesPastTheMemoryBoundAreRefusedWhereTheyPassIt)
{
    std::string dense = kHeader, tiny = kHeader;
    for (int i = 0; i < 200000; ++i)
        dense += "x<a/>";
    for (int i = 0; i < 1000000 / kvtest::kScaleDown; ++i)
        tiny += "<a/>";
    dense += kFooter;
    tiny += kFooter;
    CXMLDocument doc;
    ASSERT_TRUE(doc.LoadXml(tiny.data(), tiny.size())) << doc.GetErrorText();
    const CXMLBase* root = doc.GetRoot();
    EXPECT_FALSE(doc.LoadXml(dense.data(), dense.size()));
    EXPECT_NE(doc.GetErrorText().find("the document holds too many small parts for its size: reading it would take "
                                      "more than 32 times its size in memory"),
              std::string::npos)
        << doc.GetErrorText();
    // here, the list of the root's 400000 children
    EXPECT_EQ(doc.GetError().line, 2);
    EXPECT_EQ(doc.GetError().path, "CNodeAttDef");
    EXPECT_EQ(doc.GetRoot(), root);
}

} // namespace
