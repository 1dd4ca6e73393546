// Loading and saving files: what cannot be read, and saves that must leave
// the old file intact when they fail.
#include "XmlTestSupport.h"

#include <sys/stat.h>
#include <unistd.h>

using namespace xmltest;
namespace fs = std::filesystem;

namespace {

const char kOld[] = "<?xml version=\"1.0\"?>\n<CBaseDesc classtype=\"8_8\" name=\"old\" showname=\"\" />\n";

CXMLDocument& NewDocument(CXMLDocument& doc, const char* showName = "")
{
    doc.SetRoot(new CBaseDesc("new", showName));
    return doc;
}

} // namespace

TEST(Files, UnreadablePathsFailWithTheirName)
{
    ScratchDir dir;
    const std::string missing = (dir / "missing.xml").string();
    CXMLDocument doc;
    EXPECT_FALSE(doc.LoadFile(missing.c_str()));
    EXPECT_EQ(doc.GetErrorText(), missing + ": cannot read: No such file or directory");
    EXPECT_FALSE(doc.LoadFile(dir.path().c_str()));
    EXPECT_EQ(doc.GetErrorText(), dir.path().string() + ": cannot read: is a directory, not a file");
    EXPECT_FALSE(doc.LoadFile(nullptr));
    EXPECT_EQ(doc.GetRoot(), nullptr);
}

TEST(Files, LoadErrorsNameTheFile)
{
    ScratchDir dir;
    const auto path = dir / "bad.xml";
    WriteBytes(path, "<a>\n<b x='1' x='2'/></a>");
    CXMLDocument doc;
    EXPECT_FALSE(doc.LoadFile(path.c_str()));
    EXPECT_EQ(doc.GetErrorText(), path.string() + ":2:10: duplicate attribute \"x\" (in a/b[1])");
}

TEST(Files, SaveReplacesTheFileAndKeepsItsMode)
{
    ScratchDir dir;
    const auto path = dir / "doc.xml";
    WriteBytes(path, kOld);
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    CXMLDocument doc;
    ASSERT_TRUE(NewDocument(doc).SaveFile(path.c_str())) << doc.GetErrorText();
    EXPECT_NE(ReadBytes(path).find("name=\"new\""), std::string::npos);
    struct stat st;
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"doc.xml"});
}

TEST(Files, FailedSaveLeavesTheOldFileAndNoTemporary)
{
    ScratchDir dir;
    const auto path = dir / "doc.xml";
    WriteBytes(path, kOld);

    CXMLDocument invalid;
    EXPECT_FALSE(NewDocument(invalid, "\xD6").SaveFile(path.c_str()));
    EXPECT_NE(invalid.GetErrorText().find("not a valid GBK character"), std::string::npos) << invalid.GetErrorText();

    CXMLDocument doc;
    const std::string nowhere = (dir / "no-such-dir" / "doc.xml").string();
    EXPECT_FALSE(NewDocument(doc).SaveFile(nowhere.c_str()));
    EXPECT_EQ(doc.GetErrorText(), nowhere + ": cannot write: No such file or directory");
    EXPECT_FALSE(doc.SaveFile(dir.path().c_str())); // a directory is no file to replace

    EXPECT_EQ(ReadBytes(path), kOld);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"doc.xml"});
}

TEST(Files, SaveIntoAReadOnlyFolderLeavesTheOldFile)
{
    ScratchDir dir;
    const auto path = dir / "doc.xml";
    WriteBytes(path, kOld);
    ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
    if (::access(dir.path().c_str(), W_OK) == 0)
        GTEST_SKIP() << "a read-only folder is writable here (running as root)";
    CXMLDocument doc;
    EXPECT_FALSE(NewDocument(doc).SaveFile(path.c_str()));
    EXPECT_NE(doc.GetErrorText().find("Permission denied"), std::string::npos) << doc.GetErrorText();
    EXPECT_EQ(ReadBytes(path), kOld);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"doc.xml"});
}

// Inputs the fuzzer once broke the loader with: each must fail with a
// message, or load and save into something that loads again.
TEST(Files, FuzzRegressionsLoadOrFailCleanly)
{
    const fs::path folder = fs::path(KV_TEST_DATA) / "fuzz-regressions";
    if (!fs::is_directory(folder))
        GTEST_SKIP() << "no " << folder;
    for (const auto& entry : fs::directory_iterator(folder)) {
        SCOPED_TRACE(entry.path().string());
        CXMLDocument doc;
        if (!doc.LoadFile(entry.path().c_str())) {
            EXPECT_FALSE(doc.GetErrorText().empty());
            continue;
        }
        std::string saved;
        ASSERT_TRUE(doc.SaveXml(saved)) << doc.GetErrorText();
        CXMLDocument again;
        EXPECT_TRUE(LoadText(again, saved)) << again.GetErrorText();
    }
}
