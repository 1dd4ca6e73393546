// Loads and saves through the Windows file API: paths in the ANSI code page,
// the save's refusals, and what it keeps of the old file.
#include "support/DescTestUtil.h"

#include <windows.h>

#include <random>

using namespace kvtest;
namespace fs = std::filesystem;

namespace {

const char kOld[] = "<?xml version=\"1.0\"?>\n<CBaseDesc classtype=\"8_8\" name=\"old\" showname=\"\" />\n";

// A fresh folder under the system's temporary folder, removed with everything in it.
struct ScratchDir {
    fs::path path;
    ScratchDir() : path(fs::temp_directory_path() / ("kvtest." + std::to_string(std::random_device()())))
    {
        EXPECT_TRUE(fs::create_directory(path));
    }
    ~ScratchDir()
    {
        for (const auto& e : fs::recursive_directory_iterator(path))
            ::SetFileAttributesW(e.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    // the path as the library takes it: text in the ANSI code page
    std::string Ansi(const std::string& name = "") const
    {
        const std::wstring wide = (name.empty() ? path : path / name).wstring();
        std::string ansi(wide.size() * 2 + 1, '\0');
        ansi.resize(static_cast<size_t>(::WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, &ansi[0],
                                                              static_cast<int>(ansi.size()), nullptr, nullptr)) - 1);
        return ansi;
    }
    Texts Names() const
    {
        Texts names;
        for (const auto& e : fs::directory_iterator(path))
            names.push_back(e.path().filename().string());
        return names;
    }
};

CXMLDocument& NewDocument(CXMLDocument& doc)
{
    doc.SetRoot(new CBaseDesc("new", ""));
    return doc;
}

TEST(WindowsFiles, SaveReplacesTheFileKeepsItsAttributesAndLeavesNoTemporary)
{
    ScratchDir dir;
    const std::string path = dir.Ansi("doc.xml");
    WriteFile(dir.path / "doc.xml", kOld);
    ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    CXMLDocument doc;
    ASSERT_TRUE(NewDocument(doc).SaveFile(path.c_str())) << doc.GetErrorText();
    EXPECT_NE(ReadFile(dir.path / "doc.xml").find("name=\"new\""), std::string::npos);
    EXPECT_TRUE(::GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(dir.Names(), Texts{"doc.xml"});

    const std::string fresh = dir.Ansi("fresh.xml");
    ASSERT_TRUE(doc.SaveFile(fresh.c_str())) << doc.GetErrorText();
    CXMLDocument again;
    ASSERT_TRUE(again.LoadFile(fresh.c_str())) << again.GetErrorText();
    EXPECT_EQ(dir.Names(), (Texts{"doc.xml", "fresh.xml"}));
}

// A name near NTFS's longest (255) is saved: its temporary takes a shorter name.
TEST(WindowsFiles, LongNamesAreSavedAndLeaveNoTemporary)
{
    ScratchDir dir;
    const std::string name = std::string(236, 'n') + ".xml";
    CXMLDocument doc;
    ASSERT_TRUE(NewDocument(doc).SaveFile(dir.Ansi(name).c_str())) << doc.GetErrorText();
    ASSERT_TRUE(doc.SaveFile(dir.Ansi(name).c_str())) << doc.GetErrorText();
    EXPECT_EQ(dir.Names(), Texts{name});
}

TEST(WindowsFiles, RefusedTargetsStayAsTheyWere)
{
    ScratchDir dir;
    WriteFile(dir.path / "doc.xml", kOld);
    const std::string readOnly = dir.Ansi("doc.xml");
    ASSERT_TRUE(::SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    CXMLDocument doc;
    EXPECT_FALSE(NewDocument(doc).SaveFile(readOnly.c_str()));
    EXPECT_EQ(doc.GetErrorText(), readOnly + ": cannot write: the file is read-only");
    EXPECT_FALSE(doc.SaveFile(dir.Ansi().c_str()));
    EXPECT_EQ(doc.GetErrorText(), dir.Ansi() + ": cannot write: is a directory");
    const std::string nowhere = dir.Ansi("no-such-dir\\doc.xml");
    EXPECT_FALSE(doc.SaveFile(nowhere.c_str()));
    EXPECT_EQ(doc.GetErrorText().rfind(nowhere + ": cannot write: ", 0), 0u) << doc.GetErrorText();
    EXPECT_EQ(ReadFile(dir.path / "doc.xml"), kOld);
    EXPECT_EQ(dir.Names(), Texts{"doc.xml"});
}

TEST(WindowsFiles, UnreadablePathsSayWhy)
{
    ScratchDir dir;
    CXMLDocument doc;
    EXPECT_FALSE(doc.LoadFile(dir.Ansi().c_str()));
    EXPECT_EQ(doc.GetErrorText(), dir.Ansi() + ": cannot read: is a directory, not a file");
    const std::string missing = dir.Ansi("missing.xml");
    EXPECT_FALSE(doc.LoadFile(missing.c_str()));
    EXPECT_EQ(doc.GetErrorText().rfind(missing + ": cannot read: ", 0), 0u) << doc.GetErrorText();
}

TEST(WindowsFiles, StaleTemporariesOfEndedProcessesAreRemoved)
{
    ScratchDir dir;
    const std::string stale = ".doc.xml.kvsave-4000000000-0.tmp"; // no process has so high an id
    const std::string live = ".doc.xml.kvsave-" + std::to_string(::GetCurrentProcessId()) + "-999.tmp";
    WriteFile(dir.path / stale, "torn");
    WriteFile(dir.path / live, "mine");
    CXMLDocument doc;
    ASSERT_TRUE(NewDocument(doc).SaveFile(dir.Ansi("doc.xml").c_str())) << doc.GetErrorText();
    EXPECT_EQ(dir.Names(), (Texts{live, "doc.xml"}));
}

// Chinese folder names, as a host in code page 936 passes them
TEST(WindowsFiles, PathsInTheAnsiCodePage)
{
    if (::GetACP() != 936)
        GTEST_SKIP() << "the ANSI code page is " << ::GetACP() << ", not 936 (under Wine, LC_ALL=zh_CN.UTF-8 with that locale installed gives 936)";
    ScratchDir dir;
    const std::string folder = dir.Ansi() + "\\\xBD\xDA\xB5\xE3"; // 节点
    ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr));
    const std::string path = folder + "\\\xC1\xBA.xml"; // 梁.xml
    CXMLDocument doc;
    ASSERT_TRUE(NewDocument(doc).SaveFile(path.c_str())) << doc.GetErrorText();
    EXPECT_TRUE(fs::exists(dir.path / L"\u8282\u70B9" / L"\u6881.xml"));
    CXMLDocument again;
    EXPECT_TRUE(again.LoadFile(path.c_str())) << again.GetErrorText();
    ASSERT_TRUE(doc.SaveFile(path.c_str())) << doc.GetErrorText();
}

} // namespace
