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
    // cut short: what is cut, and what is still open
    {"truncated.xml", 4, 53, "the file ends inside the value of attribute \"showname\" of <CPlateDesc>"},
    {"ends_inside_element.xml", 6, 1,
     "the file ends before </CPlateDesc> that closes the element opened at line 4, column 5"},
    {"mismatched_tags.xml", 5, 7, "end tag </CPlateDescc> does not match <CPlateDesc> opened at line 4, column 5"},
    {"undefined_entity.xml", 3, 57, "undefined entity &nbsp;"},
    {"duplicate_attribute.xml", 3, 61, "duplicate attribute \"name\""},
    {"two_roots.xml", 3, 1, "more than one root element"},
    {"cr_line_ends.xml", 3, 37, "undefined entity &bogus;"},
    // bytes and characters
    {"invalid_utf8.xml", 3, 57, "not valid UTF-8"},
    {"gbk_cut_in_half.xml", 3, 56, "not valid GBK"},
    {"gbk_no_character.xml", 3, 50, "not valid GBK (D7 FA is in the ranges of a pair but no character)"},
    {"gbk_user_defined_fe50.xml", 3, 50, "not valid GBK (FE 50"},
    {"gbk_unassigned_a6d9.xml", 3, 50, "not valid GBK (A6 D9"},
    {"not_in_gbk.xml", 3, 57, "U+1F600 cannot be held in GBK"},
    {"tag_character.xml", 3, 57, "U+E0041 cannot be held in GBK"},
    {"unknown_encoding.xml", 1, 31, "encoding \"KOI8-R\" is not supported"},
    // a byte-order mark or the first character and a declaration that disagree
    {"utf16_declares_gbk.xml", 1, 31, "the declaration says GBK but the document is UTF-16"},
    {"utf16_without_mark_declares_gbk.xml", 1, 31, "the declaration says GBK but the document is UTF-16"},
    {"utf8_mark_declares_gbk.xml", 1, 31, "the declaration says GBK but the document is UTF-8"},
    // the declaration: once, first, well formed
    {"blank_line_before_declaration.xml", 2, 1, "remove the blank line before <?xml ...?>"},
    {"second_declaration.xml", 2, 1, "a second XML declaration (remove it)"},
    {"declaration_after_comment.xml", 2, 1, "an XML declaration may only stand at the very start of the file"},
    {"declaration_after_root.xml", 5, 1, "an XML declaration may only stand at the very start of the file"},
    {"declaration_inside_root.xml", 3, 3, "an XML declaration may only stand at the very start of the file"},
    {"declaration_without_version.xml", 1, 1, "the XML declaration must begin with version=\"1.0\""},
    {"declaration_with_junk.xml", 1, 38, "the XML declaration may hold only version, encoding and standalone"},
    {"declaration_upper_case.xml", 1, 1, "the XML declaration is written <?xml, not <?XML"},
    // well-formedness the parser lets pass
    {"comment_dashes_before_root.xml", 2, 19, "a comment may not hold \"--\" nor end in \"-\" (put a blank between"},
    {"cdata_end_in_text.xml", 3, 11, "\"]]>\" may not stand in text (write ]]&gt;)"},
    {"name_times_sign.xml", 3, 5, "element name \"a\xA1\xC1" "b\" holds \"\xA1\xC1\", which XML names may not hold"},
    {"name_em_dash.xml", 3, 31, "attribute name \"a\xA1\xAA" "b\" holds"},
    {"deep_under_value_list.xml", 3, 3107, "elements nested deeper than 1024 levels"},
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
