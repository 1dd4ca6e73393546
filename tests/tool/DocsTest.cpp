// The references name every class the format has and every rule the tool checks.
#include "model/Catalogue.h"
#include "rules/Lint.h"
#include "support/DescTestUtil.h"

namespace {

using namespace kvnodedefine;

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

TEST(Docs, ToolReferenceNamesEveryRule)
{
    const std::string tool = kvtest::ReadFile(KV_DOCS "/kvnode.md");
    ASSERT_FALSE(tool.empty());
    for (const kvnode::Rule& rule : kvnode::Rules())
        EXPECT_NE(tool.find("`" + std::string(rule.id) + "`"), std::string::npos) << rule.id;
}

} // namespace
