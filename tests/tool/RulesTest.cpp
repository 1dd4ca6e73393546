// Every rule through the command a user runs: kvnode check on each file of
// data/tool/findings.txt gives exactly the findings the table lists.
#include "support/FindingsTable.h"
#include "support/RunKvnode.h"

namespace {

TEST(Rules, CheckGivesEachFileItsFindings)
{
    kvtest::FindingsTable table = kvtest::FindingsTable::Read();
    ASSERT_FALSE(table.byFile.empty());
    for (const auto& [file, expected] : table.byFile) {
        std::string out;
        kvtest::Kvnode("check --color=never '" + std::string(KV_TEST_DATA) + "/tool/" + file + "'", out);
        kvtest::CompareFindings(file, expected, kvtest::ParseFindings(out), table);
    }
    if (std::getenv("KV_UPDATE_EXPECTED"))
        table.Write();
}

// what passes gives no finding and exit status 0
TEST(Rules, WhatPassesGivesNoFinding)
{
    for (const std::string& file :
         {std::string(KV_EXAMPLES) + "/beam-column-endplate.xml", std::string(KV_EXAMPLES) + "/brace-gusset.xml",
          std::string(KV_EXAMPLES) + "/column-base.xml", std::string(KV_TEST_DATA) + "/tool/schema-location.xml",
          std::string(KV_TEST_DATA) + "/tool/passes.xml"}) {
        std::string out;
        EXPECT_EQ(kvtest::Kvnode("check --strict " + file, out), 0) << out;
        EXPECT_EQ(out, "") << file;
    }
}

} // namespace
