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
// each section a registered rule and a case that runs through check.
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
    for (const kvnode::Rule& rule : kvnode::Rules()) {
        EXPECT_TRUE(documented.count(std::string(rule.id))) << "no section in docs/kvnode.md: " << rule.id;
        EXPECT_TRUE(cased.count(std::string(rule.id))) << "no case in findings.txt: " << rule.id;
    }
    for (const std::string& id : documented)
        EXPECT_TRUE(cased.count(id)) << "documented, but no case in findings.txt: " << id;
}

} // namespace
