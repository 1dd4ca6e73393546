// A save that dies, runs out of space or may not write leaves the old file
// as it was (or, having finished, the new one whole), never a part of one.
#include "Scale.h"

#include <KvNodeDefine/KvNodeDefine.h>
#include <NodeLibraryGenerator.h>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

const char kOld[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<CNodeAttDef classtype=\"8_0\" Version=\"1\" />\n";
const char kTargetName[] = "library.xml";

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::vector<std::string> ListDir(const std::string& dir)
{
    std::vector<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d))
            if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
                names.push_back(e->d_name);
        closedir(d);
    }
    return names;
}

// A folder holding the old document, removed with whatever is left in it.
struct Folder {
    std::string path;
    std::string target;
    Folder()
    {
        char dir[] = "/tmp/kv_save_XXXXXX";
        path = mkdtemp(dir) ? dir : "";
        target = path + "/" + kTargetName;
        WriteFile(target, kOld);
    }
    ~Folder()
    {
        chmod(path.c_str(), 0700);
        for (const std::string& name : ListDir(path))
            unlink((path + "/" + name).c_str());
        rmdir(path.c_str());
    }
    // the library's temporary files are named "<target>.XXXXXX"; nothing else may appear
    void ExpectOnlyTargetAndTemporaries(bool removeTemporaries)
    {
        for (const std::string& name : ListDir(path)) {
            if (name == kTargetName)
                continue;
            const std::string prefix = std::string(kTargetName) + ".";
            EXPECT_TRUE(name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0)
                << "unexpected file " << name;
            if (removeTemporaries)
                unlink((path + "/" + name).c_str());
        }
    }
};

CXMLDocument& Library(std::size_t elements)
{
    static CXMLDocument doc;
    static std::size_t loaded = 0;
    if (loaded != elements) {
        kvgen::LibraryShape shape;
        shape.elements = elements;
        const std::string xml = kvgen::GenerateNodeLibrary(shape).xml;
        EXPECT_TRUE(doc.LoadXml(xml.data(), xml.size())) << doc.GetErrorText();
        loaded = elements;
    }
    return doc;
}

// Runs check in a child process and returns its exit status (-1 when it died).
template <class Check>
int InChild(Check check)
{
    const pid_t pid = fork();
    if (pid == 0)
        _exit(check());
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int SaveFailsSayingCannotWrite(const CXMLDocument& doc, const std::string& target)
{
    return !doc.SaveFile(target.c_str()) && doc.GetErrorText().find("cannot write") != std::string::npos ? 0 : 1;
}

TEST(SaveFault, KilledPartWayLeavesTheOldFileOrTheWholeNewOne)
{
    const CXMLDocument& doc = Library(100000 / kvtest::kScaleDown);
    std::string whole;
    ASSERT_TRUE(doc.SaveXml(whole));
    Folder folder;
    // kills spread over the time a whole save takes: before, during and after the writing
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(doc.SaveFile((folder.path + "/scratch").c_str()));
    const double saveUs = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
    unlink((folder.path + "/scratch").c_str());
    int oldKept = 0, newWritten = 0;
    for (double share : {0.0, 0.05, 0.15, 0.3, 0.5, 0.7, 0.9, 1.2, 2.0}) {
        const auto delayUs = static_cast<useconds_t>(share * saveUs);
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        const pid_t pid = fork();
        if (pid == 0) {
            close(ready[0]);
            const char go = 1;
            if (write(ready[1], &go, 1) == 1)
                doc.SaveFile(folder.target.c_str());
            _exit(0);
        }
        close(ready[1]);
        char go = 0;
        ASSERT_EQ(read(ready[0], &go, 1), 1);
        close(ready[0]);
        usleep(delayUs);
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);

        const std::string now = ReadFile(folder.target);
        EXPECT_TRUE(now == kOld || now == whole) << "a partial file of " << now.size() << " bytes after " << delayUs
                                                 << " us";
        now == kOld ? ++oldKept : ++newWritten;
        folder.ExpectOnlyTargetAndTemporaries(true);
        WriteFile(folder.target, kOld);
    }
    RecordProperty("old_kept", oldKept);
    RecordProperty("new_written", newWritten);
}

TEST(SaveFault, RunningOutOfSpaceFailsAndKeepsTheOldFile)
{
    const CXMLDocument& doc = Library(2000);
    Folder folder;
    const int status = InChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit = {4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        return SaveFailsSayingCannotWrite(doc, folder.target);
    });
    EXPECT_EQ(status, 0) << "the save did not fail, or said nothing of writing";
    EXPECT_EQ(ReadFile(folder.target), kOld);
    folder.ExpectOnlyTargetAndTemporaries(false);
    EXPECT_EQ(ListDir(folder.path).size(), 1u) << "the temporary file was left behind";
}

TEST(SaveFault, ReadOnlyFolderFailsAndKeepsTheOldFile)
{
    const CXMLDocument& doc = Library(2000);
    Folder folder;
    ASSERT_EQ(chmod(folder.path.c_str(), 0555), 0);
    constexpr int kStillWritable = 77;
    const int status = InChild([&] {
        // root writes anywhere: try as nobody instead
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            return kStillWritable;
        if (access(folder.path.c_str(), W_OK) == 0)
            return kStillWritable;
        return SaveFailsSayingCannotWrite(doc, folder.target);
    });
    if (status == kStillWritable)
        GTEST_SKIP() << "the folder stays writable for this user";
    EXPECT_EQ(status, 0) << "the save did not fail, or said nothing of writing";
    EXPECT_EQ(ReadFile(folder.target), kOld);
    EXPECT_EQ(ListDir(folder.path).size(), 1u);
}

} // namespace
