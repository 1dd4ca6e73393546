// The kvnode binary as a user runs it: exit statuses, output forms, files.
#include "rules/Rule.h"
#include "support/DescTestUtil.h"
#include "support/RunKvnode.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <unistd.h>

namespace {

using kvtest::Kvnode;
using kvtest::ReadFile;

const std::string kData = std::string(KV_TEST_DATA) + "/tool/";
const std::string kEndPlate = std::string(KV_EXAMPLES) + "/beam-column-endplate.xml";
const std::string kColumnBase = std::string(KV_EXAMPLES) + "/column-base.xml";
const std::string kGusset = std::string(KV_EXAMPLES) + "/brace-gusset.xml";

struct Case {
    std::string args;
    int status;
    std::vector<std::string> output; // parts the output holds ("!" first: does not hold); none: no output at all
    std::string env = "";
    std::string whole = ""; // a file that holds the whole output
};

void RunCases(const std::vector<Case>& cases)
{
    for (const Case& c : cases) {
        std::string out;
        EXPECT_EQ(Kvnode(c.args, out, c.env), c.status) << c.args << "\n" << out;
        if (!c.whole.empty()) {
            EXPECT_EQ(out, ReadFile(c.whole)) << c.args;
        } else if (c.output.empty()) {
            EXPECT_EQ(out, "") << c.args;
        }
        for (const std::string& part : c.output) {
            const bool absent = part[0] == '!';
            EXPECT_EQ(out.find(part.substr(absent)) == std::string::npos, absent)
                << c.args << "\n" << part << "\n" << out;
        }
    }
}

// Every case of data/tool/cli.txt: the exit status and what the output holds.
TEST(Cli, ExitStatusAndOutput)
{
    std::ifstream table(kData + "cli.txt");
    ASSERT_TRUE(table) << "no cli.txt";
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
            cases.push_back({text, -1, {}});
        } else if (!cases.empty()) {
            Case& c = cases.back();
            if (line[0] == '?')
                c.status = std::stoi(text);
            else if (line[0] == '=')
                c.whole = kData + text;
            else
                c.output.push_back(line[0] == '!' ? "!" + text : text);
        }
    }
    EXPECT_GT(cases.size(), 40u);
    RunCases(cases);
}

// --select, --ignore, --error, --warning, --strict, -q and the summary line
TEST(Cli, CheckControls)
{
    const std::string plate = kData + "plate-planes.xml", weld = kData + "unused-varitem.xml";
    RunCases({
        {"check --select plate-planes " + plate + " " + weld, 1, {"[plate-planes]", "!unused-varitem", "1 error in 2 files\n"}},
        {"check --select=unused-varitem,plate-planes " + plate + " " + weld, 1, {"[plate-planes]", "[unused-varitem]"}},
        {"check --select plate-planes --select unused-varitem " + plate + " " + weld, 1, {"[plate-planes]", "[unused-varitem]"}},
        {"check --ignore plate-planes " + plate, 0, {}},
        {"check --select plate-planes --ignore plate-planes " + plate, 0, {}},
        {"check --error unused-varitem " + weld, 1, {"error: variable item \"Weld\"", "1 error in 1 file\n"}},
        {"check --warning plate-planes " + plate, 0, {"warning: plate \"EndPlate\"", "1 warning in 1 file\n"}},
        {"check --strict " + weld, 1, {"error: variable item \"Weld\""}},
        {"check --strict --warning unused-varitem " + weld, 0, {"warning: variable item \"Weld\""}},
        {"check --select nothing " + weld, 2, {"--select: no rule \"nothing\" (rules: xml-error"}},
        {"check --ignore plate-planes, " + weld, 2, {"--ignore: no rule \"\""}},
        {"check --error unused-varitem --warning unused-varitem " + weld, 2, {"given to both --error and --warning"}},
        // an unreadable file is reported whatever the controls say
        {"check --ignore xml-error --warning xml-error " + kData + "xml-error.xml", 2, {"error: end tag", "[xml-error]"}},
        {"check -q " + weld + " " + plate, 1, {"[plate-planes]", "!unused-varitem", "!in 2 files"}},
        {"check --quiet " + weld, 0, {}},
        {"check --quiet --strict " + weld, 1, {"error: variable item \"Weld\"", "!1 error"}},
        {"check " + plate + " " + weld, 1, {"1 error and 1 warning in 2 files\n"}},
        {"check " + kData + "unresolved-name.xml", 1, {"2 errors in 1 file\n"}},
        {"check " + kData + "suppressions.xml " + weld + " " + kEndPlate, 1, {"2 errors and 6 warnings in 3 files\n"}},
    });
}

// what each comment of suppressions.xml silences is in findings.txt; here, how they meet the controls
TEST(Cli, CheckSuppressionComments)
{
    const std::string file = kData + "suppressions.xml";
    RunCases({
        // a comment for a rule the run leaves out is not unused
        {"check --select unused-suppression " + file, 0, {"!:9:5", ":16:5", ":17:5", ":21:5", "3 warnings"}},
        {"check --ignore unused-suppression " + file, 1, {"!unused-suppression", "2 errors and 1 warning"}},
    });
}

// where SARIF lists a rule, and the rules completion offers: the registry's order
size_t IndexOfRule(kvnode::RuleId id)
{
    const std::vector<kvnode::Rule>& rules = kvnode::Rules();
    for (size_t i = 0; i < rules.size(); ++i)
        if (rules[i].id == id)
            return i;
    ADD_FAILURE() << "no rule " << id;
    return 0;
}

std::string RulesStartingWith(const std::string& prefix)
{
    std::string words;
    for (const kvnode::Rule& r : kvnode::Rules())
        if (r.id.substr(0, prefix.size()) == prefix)
            words += std::string(r.id) + "\n";
    return words;
}

TEST(Cli, CheckOutputFormats)
{
    const std::string plate = kData + "plate-planes.xml";
    RunCases({
        // gcc's form: the source line, a caret under the value's first character and ~~~ under the rest;
        // the line is long, so a window of it around the caret
        {"check " + plate, 1,
         {"plate-planes.xml:29:161: error: plate \"EndPlate\": \"planes\" holds 2 names; a plate needs three "
          "[plate-planes]\n   29 | ...ate_Len\" widthexp=",
          "planes=\"EPOuter,BeamWebPlane\" varitem=\"EndPlate\" />\n      | " + std::string(74, ' ') +
              "^~~~~~~~~~~~~~~~~~~~\n1 error in 1 file\n"}},
        // the source line of a GBK file in UTF-8
        {"check --error xml-warning " + kData + "xml-warning.xml", 1,
         {"45:90: error: <CValueListDesc> holds no children", "\n      | " + std::string(73, ' ') + "^\n"}},
        // an element's finding points at its name
        {"check " + kData + "unused-varitem.xml", 0,
         {"42:5: warning: variable item \"Weld\"", "\n      |     ^~~~~~~~~~~~~\n"}},
        {"check --color=always " + kData + "unused-varitem.xml", 0,
         {"\x1b[1m", "\x1b[1;35mwarning:\x1b[0m", "[\x1b[1;35munused-varitem\x1b[0m]", "\x1b[1;32m    ^~~~~~~~~~~~~\x1b[0m"}},
        {"check --color=always " + plate, 1, {"\x1b[1;31merror:\x1b[0m"}},
        // piped: plain, whatever NO_COLOR says; --color=always wins over NO_COLOR
        {"check --color=auto " + plate, 1, {"!\x1b["}},
        {"check --color=never " + plate, 1, {"!\x1b["}},
        {"check --color=always " + plate, 1, {"\x1b["}, "NO_COLOR=1"},
        {"check --color=sometimes " + plate, 2, {"--color takes auto, always or never, not \"sometimes\""}},
        {"check --format=json " + plate, 1,
         {"{\n  \"tool\": {\"name\": \"kvnode\", \"version\": \"1.", "\"formatVersion\": 1,",
          "\"findings\": [\n    {\"file\": ", "\"line\": 29, \"column\": 161, \"endLine\": 29, \"endColumn\": 181, \"severity\": \"error\"",
          "\"summary\": {\"files\": 1, \"errors\": 1, \"warnings\": 0}\n}\n"}},
        {"check --format json " + kEndPlate, 0, {"\"findings\": [],", "\"errors\": 0, \"warnings\": 0"}},
        {"check --format=json " + kData + "no-such-file.xml", 2, {"\"line\": 0, \"column\": 0", "cannot read"}},
        {"check --json --error unused-varitem " + kData + "unused-varitem.xml", 1,
         {"[\n  {\"file\": ", "\"severity\": \"error\", \"rule\": \"unused-varitem\""}},
        {"check --format=sarif " + plate, 1,
         {"\"version\": \"2.1.0\"", "\"$schema\": \"https://json.schemastore.org/sarif-2.1.0.json\"",
          "{\"id\": \"unused-suppression\", \"shortDescription\": {\"text\": ",
          "{\"id\": \"plate-planes\", \"shortDescription\": {\"text\": \"a plate whose \\\"planes\\\" does not hold "
          "three names\"}, \"fullDescription\": {\"text\": \"A plate is placed by exactly three planes",
          "\"defaultConfiguration\": {\"level\": \"error\"}", "\"columnKind\": \"unicodeCodePoints\"",
          "{\"ruleId\": \"plate-planes\", \"ruleIndex\": " + std::to_string(IndexOfRule("plate-planes")) + ", \"level\": \"error\"",
          "\"region\": {\"startLine\": 29, \"startColumn\": 161, \"endColumn\": 181}"}},
        {"check --format=sarif " + kData + "no-such-file.xml", 2, {"no-such-file.xml\"}}}]}", "!region"}},
        {"check --format=github " + plate + " " + kData + "unused-varitem.xml", 1,
         {"::error file=" + plate + ",line=29,col=161,endColumn=181,title=plate-planes::plate \"EndPlate\": \"planes\" holds 2 names",
          "::warning file=", ",line=42,col=5,endColumn=18,title=unused-varitem::variable item \"Weld\"", "!in 2 files"}},
        {"check --format=xml " + plate, 2, {"--format takes text, json, sarif or github"}},
        {"check --json --format=json " + plate, 2, {"give one of them"}},
        // standard input, named <stdin>
        {"check - < " + plate, 1, {"<stdin>:29:161: error: plate \"EndPlate\"", "   29 | ...ate_Len"}},
        {"check --format=github - < " + kData + "xml-error.xml", 2, {"::error file=<stdin>,line=64,col=5,title=xml-error"}},
        {"check - " + plate + " - < " + plate, 2, {"standard input (-) can be read only once"}},
    });
}

TEST(Cli, Graph)
{
    RunCases({
        {"graph --rankdir TB " + kData + "lookups.xml", 0, {"rankdir=TB;"}},
        {"graph --rankdir=LR " + kEndPlate, 0, {"rankdir=LR;"}},
        {"graph --rankdir=BT " + kEndPlate, 2, {"--rankdir takes TB or LR"}},
        // a long chain of descriptors reads better top to bottom, small node types stacked left to right
        {"graph " + kEndPlate, 0, {"rankdir=TB;"}},
        {"graph " + kData + "lookups.xml", 0, {"rankdir=LR;"}},
        {"graph " + kData + "construction-cycle.xml", 0,
         {"[label=\"ColumnDir (柱方向)\\nvector\", shape=ellipse, fillcolor=\"#fcbba1\", color=\"#d62728\", penwidth=2.5]",
          "[label=\"line\", color=\"#d62728\", fontcolor=\"#d62728\", style=bold, penwidth=2.5]",
          "subgraph cluster_legend {", ">construction cycle</font>"}},
        {"graph " + kEndPlate, 0, {"!penwidth", "!construction cycle", "subgraph cluster_legend {",
                                   "<td align=\"left\">bolt group (box)</td>", "!link bar (box)"}},
        {"graph --svg " + kEndPlate, 2, {"needs Graphviz's dot", "apt-get install graphviz"}, "PATH=/nonexistent"},
        {"graph - < " + kGusset, 0, {"digraph kvnode {\n"}},
        {"show - < " + kEndPlate, 0, {"CNodeTypeDesc \"BeamColumnEndPlate\""}},
    });
}

TEST(Cli, GraphSvgThroughGraphviz)
{
    if (std::system("command -v dot > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "Graphviz's dot is not installed";
    std::string out;
    ASSERT_EQ(Kvnode("graph --svg " + kEndPlate, out, "", false), 0);
    EXPECT_NE(out.find("<svg"), std::string::npos);
    EXPECT_NE(out.find("BeamColumnEndPlate"), std::string::npos);
}

// the words that shell completion is made of
TEST(Cli, CompletionLists)
{
    RunCases({
        {"--list-commands", 0, {"check\nshow\ngraph\nfmt\n"}},
        {"--list-rules", 0, {"xml-error\n", "unused-suppression\n"}},
        {"--list-options check", 0, {"--format=\n", "--select=\n", "--strict\n", "-q\n", "--help\n"}},
        {"--list-value-options fmt", 0, {"--output\n-o\n--encoding\n"}},
        {"--list-values check --select", 0, {"plate-planes\n"}},
        {"--list-values check --format", 0, {"text\njson\nsarif\ngithub\n"}},
        {"--list-values graph --rankdir", 0, {"TB\nLR\n"}},
        {"--list-values show --node", 0, {}},
        {"--list-nothing", 2, {"unknown option --list-nothing"}},
    });
}

// The installed script, in bash as it completes a line: with bash-completion
// loaded and without it (where --opt=value comes as three words).
TEST(Cli, BashCompletion)
{
    if (std::system("command -v bash > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "no bash";
    const std::string script = std::string(KV_DOCS) + "/../tools/kvnode/cli/kvnode.bash";
    const std::string harness = testing::TempDir() + "kvnode-completion-" + std::to_string(::getpid()) + ".sh";
    {
        std::FILE* f = std::fopen(harness.c_str(), "w");
        ASSERT_TRUE(f);
        std::fprintf(f,
                     "[ \"$1\" = full ] && [ -f /usr/share/bash-completion/bash_completion ] && "
                     ". /usr/share/bash-completion/bash_completion\n"
                     ". '%s'\nshift\nCOMP_WORDS=(\"$@\"); COMP_CWORD=$(($# - 1)); COMP_LINE=\"$*\"; "
                     "COMP_POINT=${#COMP_LINE}\n_kvnode; printf '%%s\\n' \"${COMPREPLY[@]}\"\n",
                     script.c_str());
        std::fclose(f);
    }
    const struct {
        std::string words; // after "kvnode"
        std::string expected;
    } cases[] = {
        {"ch", "check\n"},
        {"check --se", "--select=\n"},
        {"check --select un", RulesStartingWith("un")},
        {"check --ignore plate-planes,cut", "plate-planes,cut-planes\n"},
        {"check --format ''", "text\njson\nsarif\ngithub\n"},
        {"graph --rankdir L", "LR\n"},
        {"fmt --enc", "--encoding=\n"},
        {"fmt --encoding g", "gbk\n"},
    };
    for (const char* mode : {"plain", "full"}) {
        for (const auto& c : cases) {
            std::string out;
            const std::string command = "bash " + harness + " " + mode + " " + KVNODE_EXE + " " + c.words;
            EXPECT_EQ(kvtest::Run(command, out), 0) << command;
            EXPECT_EQ(out, c.expected) << mode << ": " << c.words;
        }
    }
    // --opt=value as bash hands it over without bash-completion
    std::string out;
    kvtest::Run("bash " + harness + " plain " + KVNODE_EXE + " check --color = al", out);
    EXPECT_EQ(out, "always\n");
    std::remove(harness.c_str());
}

} // namespace
