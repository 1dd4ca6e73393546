// What a save replaces and what it keeps: it replaces one regular file with
// one name, reached through any links the system follows, and keeps its
// owner, group, mode and extended attributes. Anything else fails and stays
// as it was.
#include "ScratchFolder.h"

#include <KvNodeDefine/KvNodeDefine.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <sys/sysmacros.h>
#include <sys/xattr.h>

using namespace kvtest;

namespace {

const std::string kOld = Folder::kOld;

CXMLDocument& NewDocument()
{
    static CXMLDocument doc;
    if (!doc.GetRoot())
        doc.SetRoot(new CNodeAttDef());
    return doc;
}

// every entry of the folder: its kind, inode, names and, for a file, its text
std::map<std::string, std::string> Snapshot(const Folder& folder)
{
    std::map<std::string, std::string> entries;
    for (const std::string& name : ListDir(folder.path)) {
        struct stat st;
        lstat(folder.Name(name).c_str(), &st);
        entries[name] = std::to_string(st.st_mode) + " " + std::to_string(st.st_ino) + " " +
                        std::to_string(st.st_nlink) + (S_ISREG(st.st_mode) ? " " + ReadWhole(folder.Name(name)) : "");
    }
    return entries;
}

// links name0 -> name1 -> ... -> name<count-1> -> to; returns name0's path
std::string Chain(const Folder& folder, int count, const std::string& to)
{
    for (int i = count - 1; i >= 0; --i)
        symlink(i == count - 1 ? to.c_str() : ("chain" + std::to_string(i + 1)).c_str(),
                folder.Name("chain" + std::to_string(i)).c_str());
    return folder.Name("chain0");
}

TEST(SaveTarget, RefusedTargetsStayAsTheyWere)
{
    const struct {
        const char* name;
        bool needsRoot; // to make a device
        const char* says;
        std::function<std::string(const Folder&)> make; // the path to save to
    } cases[] = {
        {"a file with another name", false, "the file has 1 other name(s) (hard links), which a save would separate",
         [](const Folder& f) {
             link(f.target.c_str(), f.Name("other.xml").c_str());
             return f.target;
         }},
        {"a character device (as /dev/full)", true, "is not a regular file",
         [](const Folder& f) {
             mknod(f.Name("full").c_str(), S_IFCHR | 0666, makedev(1, 7));
             return f.Name("full");
         }},
        {"a link to a character device (as /dev/null)", true, "is not a regular file",
         [](const Folder& f) {
             mknod(f.Name("null").c_str(), S_IFCHR | 0666, makedev(1, 3));
             symlink("null", f.Name("link").c_str());
             return f.Name("link");
         }},
        {"a FIFO", false, "is not a regular file",
         [](const Folder& f) {
             mkfifo(f.Name("fifo").c_str(), 0666);
             return f.Name("fifo");
         }},
        {"a loop of links", false, "Too many levels of symbolic links",
         [](const Folder& f) {
             symlink("b", f.Name("a").c_str());
             symlink("a", f.Name("b").c_str());
             return f.Name("a");
         }},
        {"a chain longer than the system follows", false, "Too many levels of symbolic links",
         [](const Folder& f) { return Chain(f, 41, Folder::kTargetName); }},
        {"a dangling chain longer than the system follows", false, "Too many levels of symbolic links",
         [](const Folder& f) { return Chain(f, 41, "new.xml"); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.needsRoot && geteuid() != 0) {
            std::cout << "skipped \"" << c.name << "\": needs root to make a device\n";
            continue;
        }
        Folder folder;
        const std::string path = c.make(folder);
        const auto before = Snapshot(folder);
        const CXMLDocument& doc = NewDocument();
        EXPECT_FALSE(doc.SaveFile(path.c_str()));
        EXPECT_EQ(doc.GetErrorText().rfind(path + ": cannot write: " + c.says, 0), 0u) << doc.GetErrorText();
        EXPECT_EQ(Snapshot(folder), before);
    }
}

TEST(SaveTarget, TheLongestChainOfLinksStaysAndTheFileIsReplaced)
{
    Folder folder;
    const std::string path = Chain(folder, 40, Folder::kTargetName);
    const CXMLDocument& doc = NewDocument();
    ASSERT_TRUE(doc.SaveFile(path.c_str())) << doc.GetErrorText();
    std::string saved;
    ASSERT_TRUE(doc.SaveXml(saved));
    EXPECT_EQ(ReadWhole(folder.target), saved);
    for (int i = 0; i < 40; ++i) {
        struct stat st;
        ASSERT_EQ(lstat(folder.Name("chain" + std::to_string(i)).c_str(), &st), 0);
        EXPECT_TRUE(S_ISLNK(st.st_mode)) << "chain" << i;
    }
}

std::string Attribute(const std::string& path, const char* name)
{
    char value[256];
    const ssize_t n = getxattr(path.c_str(), name, value, sizeof value);
    return n < 0 ? "(none)" : std::string(value, static_cast<size_t>(n));
}

// an access ACL as the kernel stores it: owner rw, nobody r, group r, mask r, others r
const std::string kAcl("\x02\0\0\0"
                       "\x01\0\x06\0\xff\xff\xff\xff"
                       "\x02\0\x04\0\xfe\xff\0\0"
                       "\x04\0\x04\0\xff\xff\xff\xff"
                       "\x10\0\x04\0\xff\xff\xff\xff"
                       "\x20\0\x04\0\xff\xff\xff\xff",
                       44);
// the same as a folder's default: what a file made in it starts with
const std::string& kDefaultAcl = kAcl;

TEST(SaveTarget, KeepsOwnerGroupModeAndExtendedAttributes)
{
    Folder folder;
    const std::string plain = folder.Name("plain.xml");
    WriteWhole(plain, kOld);
    const bool attributes =
        setxattr(folder.target.c_str(), "user.kv", "kept", 4, 0) == 0 &&
        setxattr(folder.target.c_str(), "system.posix_acl_access", kAcl.data(), kAcl.size(), 0) == 0 &&
        setxattr(folder.path.c_str(), "system.posix_acl_default", kDefaultAcl.data(), kDefaultAcl.size(), 0) == 0;
    if (!attributes)
        std::cout << "extended attributes not checked: " << strerror(errno) << "\n";
    const bool root = geteuid() == 0;
    if (root) {
        ASSERT_EQ(chown(folder.target.c_str(), kNobody, kUsers), 0);
    }
    struct stat before;
    ASSERT_EQ(stat(folder.target.c_str(), &before), 0);

    const CXMLDocument& doc = NewDocument();
    ASSERT_TRUE(doc.SaveFile(folder.target.c_str())) << doc.GetErrorText();
    ASSERT_TRUE(doc.SaveFile(plain.c_str())) << doc.GetErrorText();
    struct stat after;
    ASSERT_EQ(stat(folder.target.c_str(), &after), 0);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);
    EXPECT_EQ(after.st_mode, before.st_mode);
    if (attributes) {
        EXPECT_EQ(Attribute(folder.target, "user.kv"), "kept");
        EXPECT_EQ(Attribute(folder.target, "system.posix_acl_access"), kAcl);
        // a file without an ACL gets none from the folder's default
        EXPECT_EQ(Attribute(plain, "system.posix_acl_access"), "(none)");
    }
    if (!root)
        std::cout << "owner and group not changed: that needs root\n";
    if (!attributes && !root)
        GTEST_SKIP() << "nothing here that a save could lose";
}

TEST(SaveTarget, KeepsTheGroupInASetGroupIdFolder)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to give the folder another group";
    Folder folder;
    ASSERT_EQ(chown(folder.path.c_str(), 0, kUsers), 0);
    ASSERT_EQ(chmod(folder.path.c_str(), 02775), 0);
    const CXMLDocument& doc = NewDocument();
    ASSERT_TRUE(doc.SaveFile(folder.target.c_str())) << doc.GetErrorText();
    const std::string fresh = folder.Name("new.xml");
    ASSERT_TRUE(doc.SaveFile(fresh.c_str())) << doc.GetErrorText();
    struct stat st;
    ASSERT_EQ(stat(folder.target.c_str(), &st), 0);
    EXPECT_EQ(st.st_gid, 0u) << "the old file's group was lost";
    ASSERT_EQ(stat(fresh.c_str(), &st), 0);
    EXPECT_EQ(st.st_gid, kUsers) << "a new file takes the folder's group, as any new file there";
}

} // namespace
