// Generated libraries survive load, save and load: every getter of every
// descriptor answers the same, and saving again gives the same bytes.
#include "DescriptorDump.h"

#include <NodeLibraryGenerator.h>

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct Case {
    const char* name;
    std::size_t elements;
    std::uint64_t seed;
    std::size_t nodeTypeChildren;
    XmlEncoding encoding;
};

// names the case in test output
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

std::string SaveOrFail(const CXMLDocument& doc)
{
    std::string out;
    EXPECT_TRUE(doc.SaveXml(out)) << doc.GetErrorText();
    return out;
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
    first.SetEncoding(c.encoding);
    const std::string saved = SaveOrFail(first);

    CXMLDocument second;
    ASSERT_TRUE(second.LoadXml(saved.data(), saved.size())) << second.GetErrorText();
    EXPECT_EQ(second.GetEncoding(), c.encoding);
    const std::string before = kvtest::DumpTree(*first.GetRoot());
    const std::string after = kvtest::DumpTree(*second.GetRoot());
    EXPECT_EQ(std::count(before.begin(), before.end(), '\n'), static_cast<long>(lib.elements));
    EXPECT_TRUE(before == after) << "the getters differ after a round trip";
    EXPECT_TRUE(SaveOrFail(second) == saved) << "the second save differs from the first";
}

// fixed seeds: small libraries of the usual mix, one node type of many
// children, and each encoding a document can be saved in
const Case kCases[] = {
    {"seed1", 1500, 1, 0, XmlEncoding::Utf8},     {"seed2", 1500, 2, 0, XmlEncoding::Utf8},
    {"seed3", 1500, 3, 0, XmlEncoding::Utf8},     {"seed4", 1500, 4, 0, XmlEncoding::Utf8},
    {"seed5", 1500, 5, 0, XmlEncoding::Utf8},     {"seed6", 1500, 6, 0, XmlEncoding::Utf8},
    {"wide", 3000, 7, 2500, XmlEncoding::Utf8},   {"gbk", 1500, 8, 0, XmlEncoding::Gbk},
    {"gb18030", 1500, 9, 0, XmlEncoding::Gb18030}, {"utf16le", 1500, 10, 0, XmlEncoding::Utf16LE},
    {"utf16be", 1500, 11, 0, XmlEncoding::Utf16BE},
};

INSTANTIATE_TEST_SUITE_P(Libraries, RoundTrip, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

} // namespace
