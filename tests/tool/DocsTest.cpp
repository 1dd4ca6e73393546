// The references name every class the format has and every rule the tool checks.
#include "Lint.h"

#include <KvNodeDefine/KvNodeDefine.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string ReadDoc(const char* name)
{
    std::ifstream in(std::string(KV_DOCS) + "/" + name);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(Docs, FormatNamesEveryRegisteredClass)
{
    const std::string format = ReadDoc("format.md");
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

TEST(Docs, ToolReferenceNamesEveryRule)
{
    const std::string tool = ReadDoc("kvnode.md");
    ASSERT_FALSE(tool.empty());
    for (const kvnode::Rule& rule : kvnode::Rules())
        EXPECT_NE(tool.find("`" + std::string(rule.id) + "`"), std::string::npos) << rule.id;
}

} // namespace
