// The kvnode binary as a user runs it: exit statuses, output forms, files.
#include "support/DescTestUtil.h"
#include "support/RunKvnode.h"

#include <cstdio>
#include <fstream>

namespace {

const std::string kData = std::string(KV_TEST_DATA) + "/tool/";
const std::string kEndPlate = std::string(KV_EXAMPLES) + "/beam-column-endplate.xml";
const std::string kColumnBase = std::string(KV_EXAMPLES) + "/column-base.xml";

using kvtest::Kvnode;
using kvtest::ReadFile;

// Every case of data/tool/cli.txt: the exit status and what the output holds.
TEST(Cli, ExitStatusAndOutput)
{
    std::ifstream table(kData + "cli.txt");
    ASSERT_TRUE(table) << "no cli.txt";
    struct Case {
        std::string args;
        int status = -1;
        std::vector<std::string> present, absent;
        std::string whole; // a file that holds the whole output
    };
    std::vector<Case> cases;
    std::string line;
    while (std::getline(table, line)) {
        if (line.size() < 2 || line[0] == '#')
            continue;
        std::string text = kvtest::Unescape(line.substr(2));
        if (line[0] == '$') {
            for (const auto& [from, to] : {std::pair<std::string, std::string>{"{data}", kData}, {"{examples}", KV_EXAMPLES}})
                for (size_t at; (at = text.find(from)) != std::string::npos;)
                    text.replace(at, from.size(), to);
            cases.emplace_back();
            cases.back().args = text;
        } else if (!cases.empty()) {
            Case& c = cases.back();
            if (line[0] == '?')
                c.status = std::stoi(text);
            else if (line[0] == '=')
                c.whole = kData + text;
            else
                (line[0] == '>' ? c.present : c.absent).push_back(text);
        }
    }
    EXPECT_GT(cases.size(), 30u);
    for (const Case& c : cases) {
        std::string out;
        EXPECT_EQ(Kvnode(c.args, out), c.status) << c.args << "\n" << out;
        if (!c.whole.empty()) {
            EXPECT_EQ(out, ReadFile(c.whole)) << c.args;
        } else if (c.present.empty()) {
            EXPECT_EQ(out, "") << c.args;
        }
        for (const std::string& part : c.present)
            EXPECT_NE(out.find(part), std::string::npos) << c.args << "\n" << part << "\n" << out;
        for (const std::string& part : c.absent)
            EXPECT_EQ(out.find(part), std::string::npos) << c.args << "\n" << part << "\n" << out;
    }
}

TEST(Cli, FmtWritesWhatTheDescriptorsHold)
{
    // the examples are normalised already: a copy is the same bytes, GBK stays GBK
    const std::string copy = testing::TempDir() + "kvnode-fmt.xml";
    for (const std::string& example : {kEndPlate, kColumnBase}) {
        std::string out;
        ASSERT_EQ(Kvnode("fmt -o " + copy + " " + example, out), 0) << out;
        EXPECT_EQ(out, "");
        EXPECT_EQ(ReadFile(copy), ReadFile(example)) << example;
    }

    std::string gbk;
    ASSERT_EQ(Kvnode("fmt --encoding gbk " + kEndPlate, gbk), 0) << gbk;
    EXPECT_EQ(gbk.rfind("<?xml version=\"1.0\" encoding=\"GBK\"?>", 0), 0u);
    CXMLDocument doc;
    ASSERT_TRUE(doc.LoadXml(gbk.data(), gbk.size())) << doc.GetErrorText();
    std::string utf8;
    doc.SetEncoding(XmlEncoding::Utf8);
    ASSERT_TRUE(doc.SaveXml(utf8));
    EXPECT_EQ(utf8, ReadFile(kEndPlate));
    std::remove(copy.c_str());
}

} // namespace
