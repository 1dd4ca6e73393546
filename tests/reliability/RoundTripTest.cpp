// Generated libraries survive load, save and load: every getter of every
// descriptor answers the same and saving again gives the same bytes. What is
// saved is checked against references of its own: libxml2 must read it, and
// iconv must turn it into what a UTF-8 save writes.
#include "support/DescTestUtil.h"

#include <NodeLibraryGenerator.h>

#include <ostream>

using namespace kvtest;

namespace {

using namespace kvnodedefine;

struct Case {
    const char* name;
    std::size_t elements;
    std::uint64_t seed;
    std::size_t nodeTypeChildren;
    XmlEncoding encoding;
    const char* iconvName; // of the encoding, as iconv reads a whole document in it
};

// names the case in test output
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

size_t CountObjects(const CXMLBase& object)
{
    size_t n = 1;
    for (const CXMLBase* child : Children(object))
        n += CountObjects(*child);
    return n;
}

class RoundTrip : public ::testing::TestWithParam<Case> {};

TEST_P(RoundTrip, GettersAgreeAndSecondSaveIsIdentical)
{
    const Case& c = GetParam();
    kvgen::LibraryShape shape;
    shape.elements = c.elements;
    shape.seed = c.seed;
    shape.nodeTypeChildren = c.nodeTypeChildren;
    const kvgen::Library lib = kvgen::GenerateNodeLibrary(shape);

    CXMLDocument first;
    ASSERT_TRUE(first.LoadXml(lib.xml.data(), lib.xml.size())) << first.GetErrorText();
    EXPECT_TRUE(first.GetWarnings().empty());
    const std::string utf8 = Save(first);
    first.SetEncoding(c.encoding);
    const std::string saved = Save(first);
    std::string converted = Iconv(saved, c.iconvName, "UTF-8");
    const std::string declared = std::string("encoding=\"") + XmlEncodingName(c.encoding) + "\"";
    if (converted.find(declared) != std::string::npos)
        converted.replace(converted.find(declared), declared.size(), "encoding=\"UTF-8\"");
    EXPECT_TRUE(converted == utf8) << "iconv reads the save otherwise than the UTF-8 save";

    CXMLDocument second;
    ASSERT_TRUE(second.LoadXml(saved.data(), saved.size())) << second.GetErrorText();
    EXPECT_EQ(second.GetEncoding(), c.encoding);
    EXPECT_TRUE(Save(second) == saved) << "the second save differs from the first";
    std::string before, after;
    Describe(*first.GetRoot(), before);
    Describe(*second.GetRoot(), after);
    EXPECT_EQ(CountObjects(*first.GetRoot()), lib.elements);
    EXPECT_TRUE(before == after) << "the getters differ after a round trip";
}

// fixed seeds: small libraries of the usual mix, one node type of many
// children, and each encoding a document can be saved in
const Case kCases[] = {
    {"seed1", 1500, 1, 0, XmlEncoding::Utf8, "UTF-8"},          {"seed2", 1500, 2, 0, XmlEncoding::Utf8, "UTF-8"},
    {"seed3", 1500, 3, 0, XmlEncoding::Utf8, "UTF-8"},          {"seed4", 1500, 4, 0, XmlEncoding::Utf8, "UTF-8"},
    {"seed5", 1500, 5, 0, XmlEncoding::Utf8, "UTF-8"},          {"seed6", 1500, 6, 0, XmlEncoding::Utf8, "UTF-8"},
    {"wide", 3000, 7, 2500, XmlEncoding::Utf8, "UTF-8"},        {"gbk", 1500, 8, 0, XmlEncoding::Gbk, "GBK"},
    {"gb18030", 1500, 9, 0, XmlEncoding::Gb18030, "GB18030"},   {"utf16le", 1500, 10, 0, XmlEncoding::Utf16LE, "UTF-16"},
    {"utf16be", 1500, 11, 0, XmlEncoding::Utf16BE, "UTF-16"},
};

INSTANTIATE_TEST_SUITE_P(Libraries, RoundTrip, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

} // namespace

namespace {

// Documents written as the library writes them come back byte for byte:
// comments and processing instructions everywhere, what nothing interprets,
// names whose GBK second bytes are '@', '[' or ']'.
TEST(RoundTripFiles, SavedBackByteForByte)
{
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(KV_TEST_DATA "/xmlobj/roundtrip")) {
        SCOPED_TRACE(entry.path().filename().string());
        const std::string xml = ReadFile(entry.path());
        CXMLDocument doc;
        ASSERT_TRUE(doc.LoadXml(xml.data(), xml.size())) << doc.GetErrorText();
        EXPECT_TRUE(Save(doc) == xml) << Save(doc);
        ++files;
    }
    EXPECT_GE(files, 4);
}

TEST(RoundTripFiles, CommentsAndInstructionsAroundTheRootAreKept)
{
    const std::string xml = ReadFile(KV_TEST_DATA "/xmlobj/roundtrip/comments-everywhere.xml");
    CXMLDocument doc;
    ASSERT_TRUE(doc.LoadXml(xml.data(), xml.size())) << doc.GetErrorText();
    EXPECT_TRUE(doc.GetWarnings().empty());
    const CXMLComposite& before = doc.GetBeforeRoot();
    ASSERT_EQ(before.GetChildCount(), 2);
    const auto* comment = static_cast<const CXMLText*>(before.GetChild(0));
    const auto* instruction = static_cast<const CXMLText*>(before.GetChild(1));
    EXPECT_EQ(comment->GetKind(), CXMLText::Comment);
    EXPECT_EQ(std::string(comment->GetText()), " node library: beam to column ");
    EXPECT_EQ(instruction->GetKind(), CXMLText::Instruction);
    EXPECT_EQ(std::string(instruction->GetText()), "editor layout=\"tree\"");
    EXPECT_EQ(doc.GetAfterRoot().GetChildCount(), 2);

    // they stay with the document when its root changes, and text may not stand there
    doc.SetRoot(new CNodeAttDef);
    std::string saved = Save(doc);
    EXPECT_EQ(saved.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- node library: beam to column -->\n"
                          "<?editor layout=\"tree\"?>\n<CNodeAttDef",
                          0),
              0u)
        << saved;
    doc.GetAfterRoot().Add(new CXMLText(CXMLText::Text, "loose"));
    EXPECT_FALSE(doc.SaveXml(saved));
    EXPECT_NE(doc.GetErrorText().find("only comments and processing instructions may stand before or after"),
              std::string::npos)
        << doc.GetErrorText();
}

// Inside an element of unknown class nothing is read as a descriptor: a
// plate there gains none of the attributes a plate writes.
TEST(RoundTripFiles, InsideAnUnknownElementNothingIsInterpreted)
{
    const std::string xml = ReadFile(KV_TEST_DATA "/xmlobj/roundtrip/unknown-holding-known.xml");
    CXMLDocument doc;
    ASSERT_TRUE(doc.LoadXml(xml.data(), xml.size())) << doc.GetErrorText();
    const auto* mystery = static_cast<const CXMLComposite*>(static_cast<CXMLComposite*>(doc.GetRoot())->GetChild(0));
    ASSERT_TRUE(mystery->IsKindOf(RUNTIME_CLASS(CXMLUnknown)));
    EXPECT_TRUE(mystery->GetChild(0)->IsKindOf(RUNTIME_CLASS(CXMLUnknown)));
    // one warning for each unknown element, none for what it holds
    ASSERT_EQ(doc.GetWarnings().size(), 2u);
    EXPECT_EQ(doc.GetWarnings()[1].line, 7);
}

} // namespace
