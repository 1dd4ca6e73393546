// kvnode fmt: what it writes, where, and what it refuses to write.
#include "RunKvnode.h"
#include "support/DescTestUtil.h"

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using kvtest::Kvnode;
using kvtest::ReadFile;

const std::string kData = std::string(KV_TEST_DATA) + "/tool/";
const std::string kEndPlate = std::string(KV_EXAMPLES) + "/beam-column-endplate.xml";
const std::string kColumnBase = std::string(KV_EXAMPLES) + "/column-base.xml";
const std::string kLookups = kData + "lookups.xml"; // not in fmt's form: attributes missing, />

// a scratch folder of the test's own
struct Scratch {
    fs::path dir = fs::path(testing::TempDir()) / ("kvnode-fmt-" + std::to_string(::getpid()));
    Scratch() { fs::create_directories(dir); }
    ~Scratch() { fs::remove_all(dir); }
    std::string Copy(const std::string& from)
    {
        const fs::path to = dir / fs::path(from).filename();
        fs::copy_file(from, to, fs::copy_options::overwrite_existing);
        return to.string();
    }
};

ino_t Inode(const std::string& path)
{
    struct stat st {};
    stat(path.c_str(), &st);
    return st.st_ino;
}

TEST(Fmt, WritesWhatTheDescriptorsHold)
{
    // the examples are normalised already: a copy is the same bytes, GBK stays GBK
    Scratch scratch;
    const std::string copy = (scratch.dir / "copy.xml").string();
    for (const std::string& example : {kEndPlate, kColumnBase}) {
        std::string out;
        ASSERT_EQ(Kvnode("fmt -o " + copy + " " + example, out), 0) << out;
        EXPECT_EQ(out, "");
        EXPECT_EQ(ReadFile(copy), ReadFile(example)) << example;
        ASSERT_EQ(Kvnode("fmt - < " + example, out), 0) << out;
        EXPECT_EQ(out, ReadFile(example)) << "standard input to standard output";
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
}

TEST(Fmt, OptionsAndRefusals)
{
    Scratch scratch;
    const std::string out = (scratch.dir / "out.xml").string();
    const struct {
        std::string args;
        int status;
        std::vector<std::string> output; // parts of stdout and stderr ("!": not there)
    } cases[] = {
        // what a value list holds besides its values comes back
        {"fmt " + kData + "xml-warning.xml", 0, {"<range from=\"16\" to=\"28\" />", "<!-- layout: keep left -->"}},
        {"fmt --check " + kEndPlate + " " + kColumnBase, 0, {}},
        {"fmt --check " + kLookups + " " + kEndPlate, 1, {kLookups + "\n", "!endplate"}},
        {"fmt --check - < " + kLookups, 1, {"<stdin>\n"}},
        {"fmt --check " + kData + "xml-error.xml " + kLookups, 2, {"xml-error.xml:64:5: error", kLookups + "\n"}},
        {"fmt --diff " + kEndPlate, 0, {}},
        {"fmt --diff " + kLookups, 1,
         {"--- " + kLookups + "\n+++ " + kLookups + "\n@@ -2,",
          "\n-  <CNodeTypeDesc classtype=\"8_6\" name=\"N1\">\n",
          "\n+  <CNodeTypeDesc classtype=\"8_6\" name=\"N1\" showname=\"\" nodetype=\"0\">\n"}},
        {"fmt " + kEndPlate + " " + kColumnBase, 2, {"fmt takes one file (or --check, --diff, -i)"}},
        {"fmt --check --diff " + kEndPlate, 2, {"give one of -o, --check, --diff and -i"}},
        {"fmt -i -o " + out + " " + kEndPlate, 2, {"give one of"}},
        {"fmt -i - < " + kEndPlate, 2, {"standard input is not one"}},
        {"fmt --in-place " + kData + "no-such-file.xml", 2, {"no-such-file.xml: error: cannot read"}},
    };
    for (const auto& c : cases) {
        std::string text;
        EXPECT_EQ(Kvnode(c.args, text), c.status) << c.args << "\n" << text;
        if (c.output.empty()) {
            EXPECT_EQ(text, "") << c.args;
        }
        for (const std::string& part : c.output) {
            const bool absent = part[0] == '!';
            EXPECT_EQ(text.find(part.substr(absent)) == std::string::npos, absent) << c.args << "\n" << part << "\n" << text;
        }
    }
    EXPECT_FALSE(fs::exists(out)) << "a refused copy is not written";
}

TEST(Fmt, InPlaceReplacesTheFilesThatChange)
{
    Scratch scratch;
    const std::string lookups = scratch.Copy(kLookups), endplate = scratch.Copy(kEndPlate);
    std::string expected, out;
    ASSERT_EQ(Kvnode("fmt " + kLookups, expected, "", false), 0);
    const ino_t untouched = Inode(endplate);
    ASSERT_EQ(Kvnode("fmt -i " + lookups + " " + endplate, out), 0) << out;
    EXPECT_EQ(out, "");
    EXPECT_EQ(ReadFile(lookups), expected);
    EXPECT_EQ(ReadFile(endplate), ReadFile(kEndPlate));
    EXPECT_EQ(Inode(endplate), untouched) << "a file already in form is left alone";
    EXPECT_EQ(Kvnode("fmt --check " + lookups + " " + endplate, out), 0) << out;
}

TEST(Fmt, DiffAppliesWithPatch)
{
    if (std::system("command -v patch > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "patch is not installed";
    Scratch scratch;
    for (const std::string& file : {kLookups, kData + "suppressions.xml"}) {
        const std::string copy = scratch.Copy(file);
        std::string diff, out;
        ASSERT_EQ(Kvnode("fmt --diff " + copy + " > " + copy + ".diff", diff), 1) << diff;
        ASSERT_EQ(std::system(("patch -s -p0 -d / < " + copy + ".diff").c_str()), 0) << file;
        ASSERT_EQ(Kvnode("fmt " + file, out, "", false), 0);
        EXPECT_EQ(ReadFile(copy), out) << file;
    }
}

// Formatting is done once: fmt of its own output changes nothing, for every
// example and test document that loads.
TEST(Fmt, OfItsOwnOutputChangesNothing)
{
    Scratch scratch;
    const std::string once = (scratch.dir / "once.xml").string();
    int formatted = 0;
    for (const char* root : {KV_EXAMPLES, KV_TEST_DATA}) {
        for (const auto& entry : fs::recursive_directory_iterator(root)) {
            if (entry.path().extension() != ".xml")
                continue;
            CXMLDocument doc;
            std::string saved;
            if (!doc.LoadFile(entry.path().c_str()) || !doc.SaveXml(saved))
                continue;
            std::string out;
            ASSERT_EQ(Kvnode("fmt -o " + once + " '" + entry.path().string() + "'", out), 0)
                << entry.path() << "\n" << out;
            EXPECT_EQ(Kvnode("fmt --check " + once, out), 0) << entry.path() << "\n" << out;
            ++formatted;
        }
    }
    EXPECT_GT(formatted, 30);
}

} // namespace
