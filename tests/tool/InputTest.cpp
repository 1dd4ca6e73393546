// Every command reads each input once, so that a FIFO, a pipe and a shell's
// <(...) work as a file does: each case runs through all three, under a
// timeout, since a second read of a FIFO whose writer is gone waits forever.
#include "support/DescTestUtil.h"
#include "support/RunKvnode.h"

#include <filesystem>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

const std::string kData = std::string(KV_TEST_DATA) + "/tool/";
const std::string kEndPlate = std::string(KV_EXAMPLES) + "/beam-column-endplate.xml";

struct Scratch {
    fs::path dir = fs::path(testing::TempDir()) / ("kvnode-input-" + std::to_string(::getpid()));
    Scratch() { fs::create_directories(dir); }
    ~Scratch() { fs::remove_all(dir); }
};

TEST(Input, EveryCommandReadsAFifoAPipeAndASubstitutionOnce)
{
    Scratch scratch;
    const std::string fifo = (scratch.dir / "fifo").string(), out = (scratch.dir / "out.xml").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const struct {
        std::string args; // {in}: where the document is read from
        std::string file;
        int status;
        std::vector<std::string> output; // "!": must not be there
    } cases[] = {
        {"check {in}", kData + "plate-planes.xml", 1, {"error: plate \"EndPlate\"", "29 | ..."}},
        // the file's own controls are read from what was read
        {"check {in}", kData + "suppressions.xml", 1, {"!empty-value-list", "[plate-planes]"}},
        {"show {in}", kEndPlate, 0, {"CNodeTypeDesc \"BeamColumnEndPlate\""}},
        {"graph {in}", kEndPlate, 0, {"digraph kvnode {"}},
        {"fmt {in}", kEndPlate, 0, {"<CNodeTypeDesc classtype=\"8_6\" name=\"BeamColumnEndPlate\""}},
        {"fmt -o " + out + " {in}", kEndPlate, 0, {}},
        {"fmt --check {in}", kEndPlate, 0, {}},
        {"fmt --check {in}", kData + "lookups.xml", 1, {"\n"}}, // its name
        {"fmt --diff {in}", kData + "lookups.xml", 1, {"@@ -3,"}},
        {"fmt --diff {in}", kEndPlate, 0, {}},
        {"fmt -i {in}", kEndPlate, 0, {}}, // in form already: nothing to replace
    };
    const struct {
        const char* kind;
        std::string command; // {cmd}: kvnode and its arguments, {file}: the document
    } sources[] = {
        {"FIFO", "cat '{file}' > " + fifo + " & {cmd}; status=$?; wait; exit $status"},
        {"pipe", "cat '{file}' | {cmd}"},
        {"substitution", "bash -c \"{cmd}\""},
    };
    for (const auto& c : cases) {
        for (const auto& s : sources) {
            const std::string in = std::string(s.kind) == "FIFO" ? fifo
                                   : std::string(s.kind) == "pipe" ? (c.args.find("-i") != std::string::npos ? "/dev/stdin" : "-")
                                                                   : "<(cat '" + c.file + "')";
            std::string args = c.args;
            args.replace(args.find("{in}"), 4, in);
            std::string command = s.command;
            const std::string kvnode = std::string("timeout 20 ") + KVNODE_EXE + " " + args + " 2>&1";
            command.replace(command.find("{cmd}"), 5, kvnode);
            if (command.find("{file}") != std::string::npos)
                command.replace(command.find("{file}"), 6, c.file);
            std::string output;
            EXPECT_EQ(kvtest::Run(command, output), c.status) << s.kind << ": " << c.args << "\n" << output;
            if (c.output.empty()) {
                EXPECT_EQ(output, "") << s.kind << ": " << c.args;
            }
            for (const std::string& part : c.output) {
                const bool absent = part[0] == '!';
                EXPECT_EQ(output.find(part.substr(absent)) == std::string::npos, absent)
                    << s.kind << ": " << c.args << "\n" << part << "\n" << output;
            }
        }
    }
    EXPECT_EQ(kvtest::ReadFile(out), kvtest::ReadFile(kEndPlate));
}

// A FIFO is waited on until its writer comes, however late, as cat waits;
// one whose writer closes it without writing has nothing to read.
TEST(Input, FifoIsWaitedOnForALateWriter)
{
    Scratch scratch;
    const std::string fifo = (scratch.dir / "fifo").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string command : {"check", "show", "graph", "fmt", "fmt --check"}) {
        std::string output;
        const std::string kvnode = std::string(" timeout 20 ") + KVNODE_EXE + " " + command + " " + fifo + " 2>&1";
        // the writer under a timeout too: a kvnode that gave up would leave it waiting for ever
        const auto later = [&](const std::string& write) { return "(sleep 1; timeout 20 sh -c \"" + write + " > " + fifo + "\") &"; };
        EXPECT_EQ(kvtest::Run(later("cat '" + kEndPlate + "'") + kvnode, output), 0) << command << "\n" << output;
        EXPECT_EQ(kvtest::Run(later(":") + kvnode, output), 2) << command;
        EXPECT_NE(output.find("nothing to read"), std::string::npos) << command << "\n" << output;
    }
}

} // namespace
