// A save that dies, runs out of space or may not write leaves the old file
// as it was (or, having finished, the new one whole), never a part of one.
#include "Scale.h"
#include "ScratchFolder.h"

#include <KvNodeDefine/KvNodeDefine.h>
#include <NodeLibraryGenerator.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <iostream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace kvtest;

namespace {

const std::string kOld = Folder::kOld;

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

        const std::string now = ReadWhole(folder.target);
        EXPECT_TRUE(now == kOld || now == whole) << "a partial file of " << now.size() << " bytes after " << delayUs
                                                 << " us";
        now == kOld ? ++oldKept : ++newWritten;
        EXPECT_EQ(ListDir(folder.path).size(), 1 + folder.Temporaries().size()) << "a file not named as a temporary";
        WriteWhole(folder.target, kOld);
    }
    // the next save clears what the killed ones left
    ASSERT_TRUE(doc.SaveFile(folder.target.c_str())) << doc.GetErrorText();
    EXPECT_EQ(ListDir(folder.path), std::vector<std::string>{Folder::kTargetName});
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
    EXPECT_EQ(ReadWhole(folder.target), kOld);
    EXPECT_EQ(ListDir(folder.path).size(), 1u) << "the temporary file was left behind";
}

// What an ordinary user may not write, a save refuses as a plain write
// would; what it may write but cannot keep as it was, a save refuses too.
TEST(SaveFault, RefusedForAnOrdinaryUserAndKeepsTheOldFile)
{
    const struct {
        const char* name;
        mode_t folderMode, fileMode;
        bool fileOfRoot; // a file the user may write but not own
        const char* says;
    } cases[] = {
        {"read-only folder", 0555, 0644, false, "Permission denied"},
        {"read-only file in a writable folder", 0755, 0444, false, "Permission denied"},
        {"another user's file", 0755, 0666, true, "cannot keep the file's owner and group (0:0): Operation not permitted"},
    };
    const CXMLDocument& doc = Library(20);
    const bool root = geteuid() == 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.fileOfRoot && !root) {
            std::cout << "skipped \"" << c.name << "\": needs root to give the file to another user\n";
            continue;
        }
        Folder folder;
        if (root) {
            ASSERT_EQ(chown(folder.path.c_str(), kNobody, kNoGroup), 0);
            ASSERT_EQ(chown(folder.target.c_str(), c.fileOfRoot ? 0 : kNobody, c.fileOfRoot ? 0 : kNoGroup), 0);
        }
        ASSERT_EQ(chmod(folder.target.c_str(), c.fileMode), 0);
        ASSERT_EQ(chmod(folder.path.c_str(), c.folderMode), 0);
        const int status = AsOrdinaryUser([&] {
            if (doc.SaveFile(folder.target.c_str()))
                return 1;
            std::cerr << doc.GetErrorText() << "\n";
            return doc.GetErrorText() == folder.target + ": cannot write: " + c.says ? 0 : 2;
        });
        ASSERT_NE(status, kNotOrdinary) << "could not run as an ordinary user";
        EXPECT_EQ(status, 0) << (status == 1 ? "the save succeeded" : "the save said something else");
        EXPECT_EQ(ReadWhole(folder.target), kOld);
        EXPECT_EQ(ListDir(folder.path).size(), 1u);
    }
}

// Temporaries are named after their target and process; the next save to
// the target removes those whose process is gone, and nothing else.
TEST(SaveFault, NextSaveRemovesTemporariesOfSavesThatDied)
{
    Folder folder;
    const pid_t dead = fork();
    if (dead == 0)
        _exit(0);
    waitpid(dead, nullptr, 0);
    const std::string target = Folder::kTargetName, gone = std::to_string(dead);
    const std::vector<std::string> kept = {
        target,
        "." + target + ".kvsave-1-0.tmp",                  // init's: alive
        "." + target + ".kvsave-" + std::to_string(getpid()) + "-7.tmp", // this process's
        ".other.xml.kvsave-" + gone + "-0.tmp",             // another target's
        "." + target + ".kvsave-" + gone + "-0.bak",        // not a temporary
    };
    for (size_t i = 1; i < kept.size(); ++i)
        WriteWhole(folder.Name(kept[i]), "kept");
    WriteWhole(folder.Name("." + target + ".kvsave-" + gone + "-0.tmp"), "stale");
    WriteWhole(folder.Name("." + target + ".kvsave-" + gone + "-12.tmp"), "stale");

    const CXMLDocument& doc = Library(20);
    ASSERT_TRUE(doc.SaveFile(folder.target.c_str())) << doc.GetErrorText();
    std::vector<std::string> names = ListDir(folder.path), expected = kept;
    std::sort(names.begin(), names.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);
}

} // namespace

namespace {

// A name as long as the file system takes is saved: its temporary takes a
// shorter name. A save of it that dies part way leaves that temporary, and
// the next save removes it, as it does for any name.
TEST(SaveFault, NamesAsLongAsTheFileSystemTakesAreSaved)
{
    Folder folder;
    const long longest = pathconf(folder.path.c_str(), _PC_NAME_MAX);
    ASSERT_GT(longest, 40);
    const CXMLDocument& doc = Library(2000);
    std::string whole;
    ASSERT_TRUE(doc.SaveXml(whole));
    for (const size_t length : {size_t{220}, size_t{240}, static_cast<size_t>(longest)}) {
        SCOPED_TRACE(length);
        const std::string target = folder.Name(std::string(length - 4, 'n') + ".xml");
        ASSERT_TRUE(doc.SaveFile(target.c_str())) << doc.GetErrorText(); // a new file
        ASSERT_TRUE(doc.SaveFile(target.c_str())) << doc.GetErrorText(); // replaced
        EXPECT_TRUE(ReadWhole(target) == whole);
        const int died = InChild([&] {
            const rlimit limit = {4096, 4096};
            setrlimit(RLIMIT_FSIZE, &limit); // SIGXFSZ ends the save while it writes
            doc.SaveFile(target.c_str());
            return 0;
        });
        EXPECT_EQ(died, -1);
        EXPECT_EQ(ListDir(folder.path).size(), 3u) << "the dead save's temporary, beside the target and the old file";
        ASSERT_TRUE(doc.SaveFile(target.c_str())) << doc.GetErrorText();
        EXPECT_EQ(ListDir(folder.path).size(), 2u) << "the next save removed the temporary";
        unlink(target.c_str());
    }
}

} // namespace
