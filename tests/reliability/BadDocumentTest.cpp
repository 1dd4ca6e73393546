// Bad documents fail to load with a message that says where, and leave the
// document as it was; nothing crashes.
#include <KvNodeDefine/KvNodeDefine.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <ostream>
#include <random>
#include <string>

namespace {

const char kGood[] = "<CNodeAttDef classtype=\"8_0\" Version=\"4\" />";

// Loads through a document that holds a good root, and checks that the
// failure names the place and leaves that root alone.
void ExpectFailure(const std::string& path, bool inMemory, const std::string& text, int line, int column,
                   const std::string& says)
{
    CXMLDocument doc;
    ASSERT_TRUE(doc.LoadXml(kGood, sizeof kGood - 1));
    const CXMLBase* root = doc.GetRoot();
    EXPECT_FALSE(inMemory ? doc.LoadXml(text.data(), text.size()) : doc.LoadFile(path.c_str()));
    EXPECT_EQ(doc.GetRoot(), root);
    const XmlDiagnostic& error = doc.GetError();
    EXPECT_EQ(error.line, line);
    EXPECT_EQ(error.column, column);
    EXPECT_NE(error.message.find(says), std::string::npos) << error.message;
    const std::string where = (inMemory ? std::string("<memory>") : path) +
                              (line ? ":" + std::to_string(line) + ":" + std::to_string(column) : std::string()) + ": ";
    EXPECT_EQ(doc.GetErrorText().rfind(where, 0), 0u) << doc.GetErrorText();
}

struct BadFile {
    const char* file;
    int line;
    int column;
    const char* says;
};

const BadFile kBadFiles[] = {
    {"truncated.xml", 4, 54, "error parsing element attribute"},
    {"mismatched_tags.xml", 5, 7, "end tag </CPlateDescc> does not match the open element"},
    {"undefined_entity.xml", 3, 57, "undefined entity &nbsp;"},
    {"duplicate_attribute.xml", 3, 61, "duplicate attribute \"name\""},
    {"two_roots.xml", 3, 1, "more than one root element"},
    {"invalid_utf8.xml", 3, 57, "not valid UTF-8"},
    {"gbk_cut_in_half.xml", 3, 56, "not valid GBK"},
    {"not_in_gbk.xml", 3, 57, "U+1F600 cannot be held in GBK"},
    {"unknown_encoding.xml", 1, 31, "encoding \"KOI8-R\" is not supported"},
    {"doctype_external.xml", 2, 11, "document type declarations are not supported"},
    {"doctype_recursive.xml", 2, 11, "document type declarations are not supported"},
    {"empty.xml", 1, 1, "no root element"},
};

// names the case in test output
void PrintTo(const BadFile& c, std::ostream* os) { *os << c.file; }

class BadFiles : public ::testing::TestWithParam<BadFile> {};

TEST_P(BadFiles, FailWithTheirPlace)
{
    const BadFile& bad = GetParam();
    const std::string path = std::string(KV_TEST_DATA) + "/bad/" + bad.file;
    ExpectFailure(path, false, "", bad.line, bad.column, bad.says);
}

INSTANTIATE_TEST_SUITE_P(Corpus, BadFiles, ::testing::ValuesIn(kBadFiles),
                         [](const ::testing::TestParamInfo<BadFile>& info) {
                             std::string name = info.param.file;
                             return name.substr(0, name.find('.'));
                         });

TEST(BadInput, NestingBeyondTheLimitFailsAtTheFirstElementTooDeep)
{
    // 100000 levels: the parser does not recurse, the reader stops at 1024
    std::string text;
    for (int i = 0; i < 100000; ++i)
        text += "<a>";
    for (int i = 0; i < 100000; ++i)
        text += "</a>";
    ExpectFailure("", true, text, 1, 3 * 1024 + 1, "nested deeper than 1024 levels");
}

TEST(BadInput, DirectoryGivenAsAFileSaysWhy)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("kv_bad_" + std::to_string(std::random_device()()));
    ASSERT_TRUE(fs::create_directory(dir));
    ExpectFailure(dir.string(), false, "", 0, 0, "is a directory");
    ExpectFailure((dir / "missing.xml").string(), false, "", 0, 0, "cannot read");
    fs::remove(dir);
}

} // namespace
