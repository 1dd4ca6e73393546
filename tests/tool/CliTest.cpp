// The kvnode binary as a user runs it: exit statuses, output forms, files.
#include "support/DescTestUtil.h"

#include <cstdio>
#include <sys/wait.h>

namespace {

const std::string kData = std::string(KV_TEST_DATA) + "/tool/";
const std::string kEndPlate = std::string(KV_EXAMPLES) + "/beam-column-endplate.xml";
const std::string kColumnBase = std::string(KV_EXAMPLES) + "/column-base.xml";
const std::string kGusset = std::string(KV_EXAMPLES) + "/brace-gusset.xml";

// runs kvnode with args (already quoted where needed); stdout and stderr together
int Kvnode(const std::string& args, std::string& output)
{
    const std::string command = std::string(KVNODE_EXE) + " " + args + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return -1;
    output.clear();
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, pipe)) > 0)
        output.append(buf, n);
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

using kvtest::ReadFile;

// Each case: the arguments, the exit status and what the output holds ("!"
// before a part: does not hold); no parts: prints nothing at all.
TEST(Cli, ExitStatusAndOutput)
{
    const struct {
        std::string args;
        int status;
        std::vector<const char*> output;
    } cases[] = {
        {"check " + kEndPlate + " " + kColumnBase + " " + kGusset, 0, {}},
        {"check " + kData + "plate-planes.xml", 1, {"plate-planes.xml:29:5: error: plate \"EndPlate\""}},
        {"check " + kData + "unused-varitem.xml", 0, {"warning: variable item \"Weld\""}},
        {"check --strict " + kData + "unused-varitem.xml", 1, {"[unused-varitem]"}},
        {"check " + kData + "xml-error.xml " + kEndPlate, 2, {"[xml-error]"}},
        {"check " + kData + "no-such-file.xml", 2, {"no-such-file.xml: error: cannot read"}},
        {"check --json " + kData + "plate-planes.xml", 1, {"\"severity\": \"error\", \"rule\": \"plate-planes\""}},
        {"check --json " + kEndPlate, 0, {"[]"}},
        {"show --node Nothing " + kEndPlate, 2, {"no node type named \"Nothing\" (there are: \"BeamColumnEndPlate\")"}},
        {"show " + kData + "xml-error.xml", 2, {"xml-error.xml:64:5: error: end tag </CNodeTypeDesc> does not match <CLineDesc> opened at line 11, column 5"}},
        // the file is GBK; the terminal gets UTF-8
        {"show " + kColumnBase, 0,
         {"  CNodeTypeDesc \"ColumnBase\" (外露式柱脚) nodetype=20101\n", "    CBoltDesc \"AnchorBoltNear\"",
          "boltgrade=1(4.6级)", "varitem*=Anchor",
          "CVecDesc \"AnchorDirFar\" (锚栓方向二) type=3 (VecByRotate) oldvec=AnchorDirNear norm=ColumnDir rotangle=180\n"}},
        {"graph --node=BraceGusset " + kGusset, 0,
         {"digraph kvnode {\n", "subgraph cluster_1 {", "[label=\"relplane\"]", "[label=\"cut\", style=dashed]", "!no such"}},
        {"graph " + kData + "unresolved-name.xml", 0,
         {"[label=\"BeamWebPlan?\\nno such plane\", style=dashed, color=red"}},
        {"fmt --encoding latin1 " + kEndPlate, 2, {"unknown encoding"}},
        {"check", 2, {"check needs a file"}},
        {"show " + kEndPlate + " " + kGusset, 2, {"show takes one file"}},
        {"check --node x " + kEndPlate, 2, {"unknown option --node for check"}},
        {"show --node", 2, {"--node needs a value"}},
        {"frobnicate", 2, {"unknown command frobnicate"}},
        {"--version", 0, {"kvnode 1."}},
        {"--help", 0, {"kvnode fmt [-o OUT] [--encoding utf-8|gbk] FILE"}},
        {"check --help", 0, {"construction-cycle"}},
        {"show --help", 0, {"Usage: kvnode show"}},
        {"graph -h", 0, {"dot -Tsvg"}},
        {"fmt --help", 0, {"--encoding"}},
    };
    for (const auto& c : cases) {
        std::string out;
        EXPECT_EQ(Kvnode(c.args, out), c.status) << c.args << "\n" << out;
        if (c.output.empty()) {
            EXPECT_EQ(out, "") << c.args;
        }
        for (const char* part : c.output) {
            const bool absent = *part == '!';
            EXPECT_EQ(out.find(part + absent) == std::string::npos, absent) << c.args << "\n" << part << "\n" << out;
        }
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
