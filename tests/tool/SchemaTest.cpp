// The schema `kvnode schema` prints, as xmllint applies it: the examples
// pass, and each file broken in a way the schema can see fails at its line.
#include "commands/Schema.h"
#include "support/RunKvnode.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <unistd.h>

namespace {

const std::string kData = std::string(KV_TEST_DATA) + "/tool/";

class Schema : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (std::system("command -v xmllint >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "xmllint is not installed (Debian: libxml2-utils)";
        m_schema = ::testing::TempDir() + "kvnode-" + std::to_string(getpid()) + ".xsd";
        std::ofstream(m_schema) << kvnode::SchemaText();
    }
    void TearDown() override
    {
        if (!m_schema.empty())
            std::remove(m_schema.c_str());
    }

    // xmllint's exit status over file; its messages in output
    int Validate(const std::string& file, std::string& output) const
    {
        return kvtest::Run("xmllint --noout --schema '" + m_schema + "' '" + file + "' 2>&1", output);
    }

    std::string m_schema;
};

TEST_F(Schema, IsValidAndEveryExamplePasses)
{
    std::string output;
    for (const char* example : {"beam-column-endplate.xml", "brace-gusset.xml", "column-base.xml"}) {
        EXPECT_EQ(Validate(std::string(KV_EXAMPLES) + "/" + example, output), 0) << output;
        EXPECT_NE(output.find("validates"), std::string::npos) << output;
    }
    // files whose only findings are check's own (names, counts) are valid too
    for (const char* file : {"cycles.xml", "empty-size.xml", "unresolved-name.xml", "duplicate-name.xml", "schema-location.xml",
                             "passes.xml", "duplicates.xml"})
        EXPECT_EQ(Validate(kData + file, output), 0) << output;
}

TEST_F(Schema, RejectsWhatTheSchemaKindRulesReport)
{
    const struct {
        const char* file;
        int line;
        const char* says;
    } cases[] = {
        {"bad-number.xml", 37, "'8.8' is not a valid value"},
        {"numbers.xml", 4, "'1O201' is not a valid value"},
        {"numbers.xml", 5, "'1,,2' is not accepted by the pattern"},
        {"numbers.xml", 25, "The attribute 'type' is required"},
        {"value-out-of-table.xml", 37, "'12' is not an element of the set"},
        {"misspelt-attribute.xml", 29, "The attribute 'lenexpr' is not allowed"},
        {"unknown-attribute.xml", 29, "The attribute 'colour' is not allowed"},
        {"misplaced-element.xml", 8, "Element 'CPlateDesc': This element is not expected"},
        {"nodetype-root.xml", 2, "No matching global declaration available for the validation root"},
        {"not-a-node-document.xml", 2, "No matching global declaration"},
        {"class-mismatch.xml", 30, "does not match the fixed value constraint '8_3'"},
        {"tree.xml", 22, "does not match the fixed value constraint '8_13'"},
        {"unknown-class.xml", 30, "Element 'CWeldDesc': This element is not expected"},
        {"misspelt-element.xml", 5, "Element 'CPlatDesc': This element is not expected"},
        {"stray-text.xml", 6, "Character content other than whitespace is not allowed"},
        // what is compared whole, or cut short; an empty variable type is valid
        {"misread-value.xml", 5, "' 0' is not accepted by the pattern"},
        {"misread-value.xml", 14, "'User' is not an element of the set"},
        {"misread-value.xml", 16, "'%.1f' is not accepted by the pattern"},
    };
    for (const auto& c : cases) {
        std::string output;
        EXPECT_NE(Validate(kData + c.file, output), 0) << c.file;
        const std::string at = std::string(c.file) + ":" + std::to_string(c.line) + ":";
        const size_t line = output.find(at);
        ASSERT_NE(line, std::string::npos) << at << "\n" << output;
        EXPECT_NE(output.find(c.says, line), std::string::npos) << c.says << "\n" << output;
    }
}

} // namespace
