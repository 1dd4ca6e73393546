// The entry point every caller lints through, over the same table as the
// command (data/tool/findings.txt), so that the Windows build checks it too.
#include "rules/Controls.h"
#include "rules/Lint.h"
#include "support/FindingsTable.h"

using namespace kvnode;

namespace {

std::vector<kvtest::ActualFinding> LintFile(const std::string& path, bool& loaded)
{
    const LintResult r = Lint(path, kvtest::ReadFile(path), Controls());
    loaded = r.loaded;
    std::vector<kvtest::ActualFinding> found;
    for (const Finding& f : r.findings) {
        EXPECT_EQ(f.object, nullptr) << "the document is gone";
        found.push_back({std::to_string(f.line) + ":" + std::to_string(f.column), std::string(f.rule), f.message});
    }
    return found;
}

TEST(Lint, EachFileGivesItsFindings)
{
    kvtest::FindingsTable table = kvtest::FindingsTable::Read();
    for (const auto& [file, expected] : table.byFile) {
        bool loaded = false;
        const auto found = LintFile(std::string(KV_TEST_DATA) + "/tool/" + file, loaded);
        EXPECT_EQ(loaded, expected.front().rule != kXmlError) << file;
        kvtest::CompareFindings(file, expected, found, table);
    }
}

TEST(Lint, WhatPassesGivesNoFinding)
{
    for (const std::string& file :
         {std::string(KV_EXAMPLES) + "/beam-column-endplate.xml", std::string(KV_EXAMPLES) + "/brace-gusset.xml",
          std::string(KV_EXAMPLES) + "/column-base.xml", std::string(KV_TEST_DATA) + "/tool/passes.xml"}) {
        bool loaded = false;
        for (const kvtest::ActualFinding& f : LintFile(file, loaded))
            ADD_FAILURE() << file << ":" << f.place << ": " << f.message << " [" << f.rule << "]";
        EXPECT_TRUE(loaded) << file;
    }
}

TEST(Lint, Output)
{
    Finding f{"a \"b\".xml", 3, 7, "unused-varitem", "tab\there"};
    EXPECT_EQ(FormatText(f), "a \"b\".xml:3:7: warning: tab\there [unused-varitem]");
    f.line = f.column = 0;
    EXPECT_EQ(FormatText(f), "a \"b\".xml: warning: tab\there [unused-varitem]");
}

} // namespace
