// The order in which a save reaches the disk: the whole text is flushed
// before the rename makes it the target, and the folder is flushed after,
// so that a crash at any time leaves the old file or the whole new one.
// This test program takes the library's fsync and rename calls on their way
// to the C library, and writes down what each saw.
#include "ScratchFolder.h"

#include <KvNodeDefine/KvNodeDefine.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <dlfcn.h>

using namespace kvtest;

namespace {

struct Step {
    std::string what;
    ino_t inode; // of the file flushed or renamed
    off_t size;  // of the file flushed or renamed
    std::string to;
    bool operator==(const Step& o) const { return what == o.what && inode == o.inode && size == o.size && to == o.to; }
};

std::ostream& operator<<(std::ostream& out, const Step& s)
{
    return out << s.what << " inode " << s.inode << " size " << s.size << (s.to.empty() ? "" : " to " + s.to);
}

std::vector<Step>* g_steps = nullptr;

template <class Function>
Function* Next(const char* name)
{
    return reinterpret_cast<Function*>(dlsym(RTLD_NEXT, name));
}

} // namespace

// seen by the libraries only when exported, and the build hides what it does not name
#define KV_INTERPOSED extern "C" __attribute__((visibility("default")))

KV_INTERPOSED int fsync(int fd)
{
    static const auto real = Next<int(int)>("fsync");
    struct stat st;
    if (g_steps && fstat(fd, &st) == 0)
        g_steps->push_back({S_ISDIR(st.st_mode) ? "flush folder" : "flush file", st.st_ino,
                            S_ISDIR(st.st_mode) ? 0 : st.st_size, ""});
    return real(fd);
}

KV_INTERPOSED int rename(const char* from, const char* to) noexcept
{
    static const auto real = Next<int(const char*, const char*)>("rename");
    struct stat st;
    if (g_steps && lstat(from, &st) == 0)
        g_steps->push_back({"rename", st.st_ino, st.st_size, to});
    return real(from, to);
}

namespace {

TEST(SaveOrder, WriteFlushRenameFlushTheFolder)
{
    CXMLDocument doc;
    doc.SetRoot(new CNodeAttDef());
    std::string text;
    ASSERT_TRUE(doc.SaveXml(text));
    Folder folder;
    struct stat dir;
    ASSERT_EQ(stat(folder.path.c_str(), &dir), 0);

    std::vector<Step> steps;
    g_steps = &steps;
    const bool saved = doc.SaveFile(folder.target.c_str());
    g_steps = nullptr;
    ASSERT_TRUE(saved) << doc.GetErrorText();
    struct stat now;
    ASSERT_EQ(stat(folder.target.c_str(), &now), 0);
    const auto size = static_cast<off_t>(text.size());
    const std::vector<Step> expected = {
        {"flush file", now.st_ino, size, ""},
        {"rename", now.st_ino, size, folder.target},
        {"flush folder", dir.st_ino, 0, ""},
    };
    EXPECT_EQ(steps, expected);
}

} // namespace
