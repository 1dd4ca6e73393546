// kvnode fmt: what it writes, where, and what it refuses to write.
#include "commands/Formatter.h"
#include "support/DescTestUtil.h"
#include "support/RunKvnode.h"

#include <algorithm>
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

std::string Crlf(std::string text)
{
    for (size_t at = 0; (at = text.find('\n', at)) != std::string::npos; at += 2)
        text.insert(at, 1, '\r');
    return text;
}

const std::string kHead = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<CNodeAttDef classtype=\"8_0\" Version=\"1\">\n"
                          "  <CNodeTypeDesc classtype=\"8_6\" name=\"N\">\n";
const std::string kTail = "  </CNodeTypeDesc>\n</CNodeAttDef>\n";

// What fmt writes, through the command: the layout changes, the content never.
TEST(Fmt, ChangesLayoutNeverContent)
{
    const struct {
        const char* what;
        std::string input, expected;
        std::string args = "";
        const char* encoding = "UTF-8"; // of input and expected, which are written in UTF-8
    } cases[] = {
        {"values as written, though the host reads them otherwise",
         kHead + "    <CBoltGroupDesc boltgrade=\"8,8\" classtype=\"8_5\" bolttype=\"３\" name=\"G\"/>\n"
                 "    <CVarItemDesc classtype=\"8_9\" name=\"V\" defineby=\"User\"><CVarDesc formattype=\"%.1f\"/></CVarItemDesc>\n"
                 "    <CNodeMemberDesc classtype=\"8_4\" name=\"M\" sectype=\"1;2\" material=\"Q345\"/>\n" + kTail,
         kHead + "    <CBoltGroupDesc classtype=\"8_5\" name=\"G\" boltgrade=\"8,8\" bolttype=\"３\" />\n"
                 "    <CVarItemDesc classtype=\"8_9\" name=\"V\" defineby=\"User\">\n"
                 "      <CVarDesc formattype=\"%.1f\" />\n"
                 "    </CVarItemDesc>\n"
                 "    <CNodeMemberDesc classtype=\"8_4\" name=\"M\" sectype=\"1;2\" material=\"Q345\" />\n" + kTail},
        {"references and quotes as written; a misspelt attribute is not mended",
         kHead + "    <CPlateDesc  name = 'P&amp;Q' showname=\"&#x4E2D;&#20013;中\"\n      lenexpr='say \"hi\"'  classtype=\"8_3\"/>\n" + kTail,
         kHead + "    <CPlateDesc classtype=\"8_3\" name=\"P&amp;Q\" showname=\"&#x4E2D;&#20013;中\" lenexpr='say \"hi\"' />\n" + kTail},
        {"a run of blank lines between elements is one blank line; none after a start tag",
         kHead + "\n\n    <CPlaneDesc classtype=\"8_1\" name=\"A\"/>\n  \n \t\n    <CPlaneDesc classtype=\"8_1\" name=\"B\"/>\n"
                 "    <!-- C -->\n\n    <CPlaneDesc classtype=\"8_1\" name=\"C\"/><CPlaneDesc classtype=\"8_1\" name=\"D\"/>\n" + kTail,
         kHead + "    <CPlaneDesc classtype=\"8_1\" name=\"A\" />\n\n    <CPlaneDesc classtype=\"8_1\" name=\"B\" />\n"
                 "    <!-- C -->\n\n    <CPlaneDesc classtype=\"8_1\" name=\"C\" />\n    <CPlaneDesc classtype=\"8_1\" name=\"D\" />\n" + kTail},
        {"a comment that ends an element's line stays there",
         kHead + "    <CPlateDesc classtype=\"8_3\" name=\"P\"\n       colour=\"red\"/>   <!-- kvnode: ignore unknown-attribute -->\n"
                 "    <CBoltDesc classtype=\"8_17\" name=\"B\"> <!-- two --><!-- more -->\n"
                 "    <!-- on its own line -->\n    </CBoltDesc>\n" + kTail,
         kHead + "    <CPlateDesc classtype=\"8_3\" name=\"P\" colour=\"red\" /> <!-- kvnode: ignore unknown-attribute -->\n"
                 "    <CBoltDesc classtype=\"8_17\" name=\"B\"> <!-- two --> <!-- more -->\n"
                 "      <!-- on its own line -->\n    </CBoltDesc>\n" + kTail},
        {"unknown elements, texts, CDATA, instructions and a value list's content: where they stand, as written",
         kHead + "    <CWeldDesc b=\"2\" a=\"1\">text <![CDATA[<raw>]]><?pi data?><inner   z=\"1\"\n   y=\"2\"></inner>  more</CWeldDesc>\n"
                 "    <CVarDesc classtype=\"8_10\" name=\"W\"><CValueListDesc v2=\"2\" classtype=\"8_11\" v1=\"1\"><range from=\"1\"/>x</CValueListDesc></CVarDesc>\n" + kTail,
         kHead + "    <CWeldDesc b=\"2\" a=\"1\">text <![CDATA[<raw>]]><?pi data?>\n      <inner z=\"1\" y=\"2\" />  more</CWeldDesc>\n"
                 "    <CVarDesc classtype=\"8_10\" name=\"W\">\n      <CValueListDesc classtype=\"8_11\" v2=\"2\" v1=\"1\">\n"
                 "        <range from=\"1\" />x</CValueListDesc>\n    </CVarDesc>\n" + kTail},
        {"the file's line ends", Crlf(kHead + "\n\n    <CPlaneDesc classtype=\"8_1\" name=\"A\"/>\n\n\n  <!-- x -->\n" + kTail),
         Crlf(kHead + "    <CPlaneDesc classtype=\"8_1\" name=\"A\" />\n\n    <!-- x -->\n" + kTail)},
        {"lines that end in CR alone", "<?xml version=\"1.0\"?>\r<a>\r\r<b/>\r\r<b/></a>",
         "<?xml version=\"1.0\"?>\r<a>\r  <b />\r\r  <b />\r</a>\r"},
        {"the declaration's encoding name, in the file's encoding",
         "<?xml version='1.0'   encoding='gb2312' ?>\n<CNodeAttDef classtype=\"8_0\" Version=\"1\" 名=\"节点\"/>",
         "<?xml version=\"1.0\" encoding=\"gb2312\"?>\n<CNodeAttDef classtype=\"8_0\" Version=\"1\" 名=\"节点\" />\n", "", "GBK"},
        {"UTF-16 with its mark",
         "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n<a  x=\"中\" y='hi\"'><b/>\r\n\r\n<b/></a>",
         "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n<a x=\"中\" y='hi\"'>\r\n  <b />\r\n\r\n  <b />\r\n</a>\r\n",
         "", "UTF-16LE"},
        {"a file of one line keeps its line end", "<a/>\r", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r<a />\r"},
        {"a declaration is written where there was none, one without an encoding stays so",
         "<a/>", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<a />\n"},
        {"", "<?xml version=\"1.0\" standalone=\"yes\"?><a/>", "<?xml version=\"1.0\" standalone=\"yes\"?>\n<a />\n"},
        {"a declaration over lines", "<?xml\n  version=\"1.0\"\n  encoding=\"gbk\"?>\n<a/>",
         "<?xml version=\"1.0\" encoding=\"gbk\"?>\n<a />\n", "", "GBK"},
        {"--encoding converts the characters and nothing else",
         "<?xml version=\"1.0\"?>\n<a x=\"中&#x4E2D;\"><!-- 中 --></a>",
         "<?xml version=\"1.0\" encoding=\"GBK\"?>\n<a x=\"中&#x4E2D;\"> <!-- 中 -->\n</a>\n", "--encoding gbk"},
    };
    Scratch scratch;
    const std::string file = (scratch.dir / "case.xml").string();
    for (const auto& c : cases) {
        const bool utf16 = std::string(c.encoding) == "UTF-16LE";
        // a UTF-8 mark stands for the UTF-16 one
        const auto encode = [&](const std::string& utf8) {
            const bool mark = utf8.compare(0, 3, "\xEF\xBB\xBF") == 0;
            return (mark && utf16 ? std::string("\xFF\xFE") : "") + kvtest::Iconv(utf8.substr(mark && utf16 ? 3 : 0), "UTF-8", c.encoding);
        };
        kvtest::WriteFile(file, encode(c.input));
        std::string out;
        EXPECT_EQ(Kvnode("fmt " + c.args + " " + file, out, "", false), 0) << c.what;
        const std::string expected = c.args.find("gbk") != std::string::npos ? kvtest::Iconv(c.expected, "UTF-8", "GBK")
                                                                             : encode(c.expected);
        EXPECT_EQ(out, expected) << c.what << "\n" << out;
        kvtest::WriteFile(file, out);
        EXPECT_EQ(Kvnode("fmt --check " + file, out), 0) << c.what << ": formatted once, formatted for good\n" << out;
    }
}

// The attributes of an object as written: each name and its value's bytes, in name order.
std::vector<std::pair<std::string, std::string>> Written(const CXMLDocument& doc, const std::string& bytes,
                                                         const CXMLBase& object)
{
    std::vector<std::pair<std::string, std::string>> written;
    if (const XmlMarkup* m = doc.GetMarkup(&object))
        for (const XmlAttributeMarkup& a : m->attributes)
            written.emplace_back(kvtest::Str(a.name), bytes.substr(a.valueRange.start.offset,
                                                                   a.valueRange.end.offset - a.valueRange.start.offset));
    std::sort(written.begin(), written.end());
    return written;
}

// the attributes as the host reads them, in name order
std::vector<std::pair<std::string, std::string>> Read(const CXMLBase& object)
{
    std::vector<std::pair<std::string, std::string>> read;
    const CStringArray& list = object.GetAttList();
    for (INT_PTR i = 0; i + 1 < list.GetSize(); i += 2)
        read.emplace_back(kvtest::Str(list[i]), kvtest::Str(list[i + 1]));
    std::sort(read.begin(), read.end());
    return read;
}

std::vector<CXMLBase*> WrittenChildren(CXMLBase& object)
{
    std::vector<CXMLBase*> children = kvtest::Children(object);
    if (const CXMLComposite* content = object.GetContent())
        for (int i = 0; i < content->GetChildCount(); ++i)
            children.push_back(content->GetChild(i));
    return children;
}

void ExpectSameTexts(const CXMLDocument& a, const std::string& aBytes, CXMLBase& x, const CXMLDocument& b,
                     const std::string& bBytes, CXMLBase& y, const std::string& file)
{
    EXPECT_EQ(Written(a, aBytes, x), Written(b, bBytes, y)) << file << " " << x.GetElementName();
    EXPECT_EQ(Read(x), Read(y)) << file << " " << x.GetElementName();
    const std::vector<CXMLBase*> xs = WrittenChildren(x), ys = WrittenChildren(y);
    ASSERT_EQ(xs.size(), ys.size()) << file << " " << x.GetElementName();
    for (size_t i = 0; i < xs.size(); ++i)
        ExpectSameTexts(a, aBytes, *xs[i], b, bBytes, *ys[i], file);
}

// The first line where two descriptions differ, both ways; empty when they
// do not. The lists of attributes read ("read:", "atts:") are left out:
// their order is the one thing fmt changes, and they are compared as sets.
std::string FirstDifferentLine(const std::string& a, const std::string& b)
{
    std::istringstream as(a), bs(b);
    const auto next = [](std::istream& in, std::string& line) {
        while (std::getline(in, line)) {
            const std::string text = line.substr(std::min(line.find_first_not_of(' '), line.size()));
            if (text.compare(0, 5, "read:") != 0 && text.compare(0, 5, "atts:") != 0)
                return true;
        }
        return false;
    };
    for (std::string x, y;;) {
        const bool more = next(as, x), moreB = next(bs, y);
        if (!more && !moreB)
            return std::string();
        if (x != y || more != moreB)
            return kvtest::Iconv(x, "GBK", "UTF-8") + "\n" + kvtest::Iconv(y, "GBK", "UTF-8");
    }
}

// Every example and test document that loads, and its fmt copy, read alike:
// the same description through every getter, every attribute's text the
// same bytes; and fmt of the copy changes nothing.
TEST(Fmt, EveryDocumentReadsAsBefore)
{
    Scratch scratch;
    const std::string once = (scratch.dir / "once.xml").string();
    int formatted = 0;
    for (const char* root : {KV_EXAMPLES, KV_TEST_DATA}) {
        for (const auto& entry : fs::recursive_directory_iterator(root)) {
            if (entry.path().extension() != ".xml")
                continue;
            const std::string file = entry.path().string(), bytes = ReadFile(file);
            CXMLDocument doc;
            doc.SetRecordPositions(true);
            if (!kvtest::LoadText(doc, bytes))
                continue;
            std::string out;
            ASSERT_EQ(Kvnode("fmt -o " + once + " '" + file + "'", out), 0) << file << "\n" << out;
            const std::string copyBytes = ReadFile(once);
            CXMLDocument copy;
            copy.SetRecordPositions(true);
            ASSERT_TRUE(kvtest::LoadText(copy, copyBytes)) << file << ": " << copy.GetErrorText();
            std::string described, describedCopy;
            kvtest::Describe(*doc.GetRoot(), described);
            kvtest::Describe(*copy.GetRoot(), describedCopy);
            EXPECT_EQ(FirstDifferentLine(described, describedCopy), "") << file;
            ExpectSameTexts(doc, bytes, *doc.GetRoot(), copy, copyBytes, *copy.GetRoot(), file);
            EXPECT_EQ(doc.GetBeforeRoot().GetChildCount(), copy.GetBeforeRoot().GetChildCount()) << file;
            EXPECT_EQ(doc.GetAfterRoot().GetChildCount(), copy.GetAfterRoot().GetChildCount()) << file;
            EXPECT_EQ(doc.GetWarnings().size(), copy.GetWarnings().size()) << file;
            EXPECT_EQ(Kvnode("fmt --check " + once, out), 0) << file << "\n" << out;
            ++formatted;
        }
    }
    EXPECT_GT(formatted, 40);
}

// The guard that refuses a copy that would read otherwise names what differs.
TEST(Fmt, GuardNamesWhatWouldReadOtherwise)
{
    const struct {
        std::string a, b, what;
    } cases[] = {
        {"<a x=\"1\" y=\"2\"/>", "<a y=\"2\" x=\"1\"/>", ""},
        {"<a x=\"1\"/>", "<a x=\"2\"/>", "attribute \"x\" would read otherwise"},
        {"<a x=\"1\"/>", "<a/>", "attribute \"x\" would read otherwise"},
        {"<a><b/></a>", "<a><c/></a>", "it would be read as <c>"},
        {"<a><b/></a>", "<a><b/><b/></a>", "it would hold 2 children, not 1"},
        {"<a>t</a>", "<a>u</a>", "its text would read otherwise"},
        {"<a><CValueListDesc classtype=\"8_11\"><x/></CValueListDesc></a>",
         "<a><CValueListDesc classtype=\"8_11\"><y/></CValueListDesc></a>", "it would be read as <y>"},
        {"<!--c--><a/>", "<a/>", "the comments and instructions around the root element would differ"},
    };
    for (const auto& c : cases) {
        CXMLDocument a, b;
        ASSERT_TRUE(kvtest::LoadText(a, c.a) && kvtest::LoadText(b, c.b)) << c.a << " " << c.b;
        std::string what;
        const CXMLBase* at = kvnode::FirstDifference(a, b, what);
        EXPECT_EQ(at != nullptr, !c.what.empty()) << c.a << " " << c.b;
        EXPECT_EQ(what, c.what) << c.a << " " << c.b;
    }
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
         {"--- " + kLookups + "\n+++ " + kLookups + "\n@@ -3,",
          "\n-    <CPointDesc classtype=\"8_12\" name=\"P\" type=\"3\" pointdesc=\"0,0,0\" line=\"Nowhere\"/>\n",
          "\n+    <CPointDesc classtype=\"8_12\" name=\"P\" type=\"3\" line=\"Nowhere\" pointdesc=\"0,0,0\" />\n",
          "!showname=\"\""}},
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

} // namespace
