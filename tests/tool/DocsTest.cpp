// The references name every class the format has and every rule the tool checks.
#include "model/Catalogue.h"
#include "rules/Rule.h"
#include "support/FindingsTable.h"

#include <regex>
#include <set>

namespace {

TEST(Docs, FormatNamesEveryRegisteredClass)
{
    const std::string format = kvtest::ReadFile(KV_DOCS "/format.md");
    ASSERT_FALSE(format.empty());
    for (int i = 0; i < 18; ++i) {
        const std::string index = "8_" + std::to_string(i);
        const ClassType* type = ClassType::Lookup(index.c_str());
        ASSERT_TRUE(type && type->m_pRuntimeClass) << index;
        const std::string name = type->m_pRuntimeClass->m_lpszClassName;
        EXPECT_NE(format.find("`" + name + "`"), std::string::npos) << name;
        EXPECT_NE(format.find("`" + index + "`"), std::string::npos) << index;
    }
}

TEST(Docs, FormatNamesEveryAttributeOfEveryClass)
{
    const std::string format = kvtest::ReadFile(KV_DOCS "/format.md");
    for (const kvnode::ClassInfo& info : kvnode::Classes())
        for (const AttributeInfo& a : info.attributes)
            EXPECT_NE(format.find("`" + a.name + "`"), std::string::npos) << info.element << " " << a.name;
}

// Each rule has its section in docs/kvnode.md ("#### `id` (severity)"), and
// each section a registered rule and a case that runs through check
// (findings.txt, or adopt.txt for a rule that needs an option).
TEST(Docs, EveryRuleIsDocumentedAndHasACase)
{
    const std::string tool = kvtest::ReadFile(KV_DOCS "/kvnode.md");
    ASSERT_FALSE(tool.empty());
    std::set<std::string> documented;
    const std::regex heading(R"(\n#### `([a-z0-9-]+)` \((error|warning)\)\n)");
    for (std::sregex_iterator it(tool.begin(), tool.end(), heading), end; it != end; ++it) {
        documented.insert((*it)[1]);
        const kvnode::Rule* rule = kvnode::FindRule((*it)[1].str());
        if (!rule) {
            ADD_FAILURE() << "docs/kvnode.md documents a rule no family registers: " << (*it)[1];
            continue;
        }
        EXPECT_EQ((*it)[2], rule->severity == kvnode::Severity::Error ? "error" : "warning") << rule->id;
    }
    const kvtest::FindingsTable table = kvtest::FindingsTable::Read();
    std::set<std::string> cased;
    for (const auto& file : table.byFile)
        for (const kvtest::ExpectedFinding& e : file.second)
            cased.insert(e.rule);
    // a rule that check finds only with an option (stale-baseline: --baseline) has its case in adopt.txt
    const std::string adopt = kvtest::ReadFile(KV_TEST_DATA "/tool/adopt.txt");
    const std::regex printed(R"(\[([a-z0-9-]+)\]\n)");
    for (std::sregex_iterator it(adopt.begin(), adopt.end(), printed), end; it != end; ++it)
        cased.insert((*it)[1]);
    for (const kvnode::Rule& rule : kvnode::Rules()) {
        EXPECT_TRUE(documented.count(std::string(rule.id))) << "no section in docs/kvnode.md: " << rule.id;
        EXPECT_TRUE(cased.count(std::string(rule.id))) << "no case in findings.txt: " << rule.id;
    }
    for (const std::string& id : documented)
        EXPECT_TRUE(cased.count(id)) << "documented, but no case in findings.txt: " << id;
}

// What a rule's section says of its fix ("**Fix**, safe or unsafe: ...", or no
// such paragraph) is the fix check offers and explain prints.
TEST(Docs, EachRuleSaysWhetherItHasAFixAndOfWhichKind)
{
    const std::string tool = kvtest::ReadFile(KV_DOCS "/kvnode.md");
    const std::regex heading(R"(\n#### `([a-z0-9-]+)` )");
    std::vector<std::pair<std::string, size_t>> sections;
    for (std::sregex_iterator it(tool.begin(), tool.end(), heading), end; it != end; ++it)
        sections.emplace_back((*it)[1], static_cast<size_t>(it->position()));
    ASSERT_FALSE(sections.empty());
    const std::regex fix(R"(\n\*\*Fix\*\*, (safe or unsafe|safe|unsafe):)");
    for (size_t i = 0; i < sections.size(); ++i) {
        // a section ends at the next heading of any level
        const size_t begin = sections[i].second + 1;
        const size_t end = std::min(i + 1 < sections.size() ? sections[i + 1].second : tool.size(),
                                    tool.find("\n#", begin));
        const std::string text = tool.substr(begin, end - begin);
        std::smatch m;
        const std::string said = std::regex_search(text, m, fix) ? m[1].str() : "none";
        const kvnode::Rule* rule = kvnode::FindRule(sections[i].first);
        ASSERT_TRUE(rule) << sections[i].first;
        const char* kinds[] = {"none", "safe", "unsafe", "safe or unsafe"};
        EXPECT_EQ(said, kinds[static_cast<int>(rule->fix)]) << rule->id;
    }
}

} // namespace
