// How the reader finds a document's encoding, reads the predefined entities
// and refuses a repeated attribute. Expected bytes come from iconv, never
// from the library's own conversion back.
#include "support/DescTestUtil.h"

#include <pugixml.hpp>

using namespace kvtest;

namespace {

using namespace kvnodedefine;

const std::string kBody = "<CNodeAttDef classtype=\"8_0\" Version=\"1\">\n"
                          "  <CBaseDesc classtype=\"8_8\" name=\"n\" showname=\"\xE4\xB8\xAD\xE6\x96\x87\" />\n"
                          "</CNodeAttDef>\n";

std::string Declaration(const std::string& encoding)
{
    return "<?xml version=\"1.0\"" + (encoding.empty() ? "" : " encoding=\"" + encoding + "\"") + "?>\n";
}

// The byte-order mark decides, else the declaration (by any of its names), else UTF-8.
TEST(Detection, MarkThenDeclarationThenUtf8)
{
    const std::string utf8Mark = "\xEF\xBB\xBF", le = "\xFF\xFE", be = "\xFE\xFF";
    const struct {
        std::string mark;
        const char* declared; // "": no encoding named; nullptr: no declaration
        const char* iconvName;
        XmlEncoding read;
        std::string savedMark;
    } cases[] = {
        {"", nullptr, "UTF-8", XmlEncoding::Utf8, ""},
        {"", "", "UTF-8", XmlEncoding::Utf8, ""},
        {"", "utf-8", "UTF-8", XmlEncoding::Utf8, ""},
        {"", "UTF8", "UTF-8", XmlEncoding::Utf8, ""},
        {utf8Mark, "UTF-8", "UTF-8", XmlEncoding::Utf8, utf8Mark},
        {utf8Mark, nullptr, "UTF-8", XmlEncoding::Utf8, utf8Mark},
        {"", "gbk", "GBK", XmlEncoding::Gbk, ""},
        {"", "GB2312", "GBK", XmlEncoding::Gbk, ""},
        {"", "cp936", "GBK", XmlEncoding::Gbk, ""},
        {"", "MS936", "GBK", XmlEncoding::Gbk, ""},
        {"", "windows-936", "GBK", XmlEncoding::Gbk, ""},
        {"", "x-gbk", "GBK", XmlEncoding::Gbk, ""},
        {"", "gb18030", "GB18030", XmlEncoding::Gb18030, ""},
        {le, "UTF-16", "UTF-16LE", XmlEncoding::Utf16LE, le},
        {be, "UTF-16", "UTF-16BE", XmlEncoding::Utf16BE, be},
        {"", "UTF-16", "UTF-16LE", XmlEncoding::Utf16LE, le}, // no mark: told by the first '<'
        {"", "UTF-16", "UTF-16BE", XmlEncoding::Utf16BE, be},
        {"", nullptr, "UTF-16LE", XmlEncoding::Utf16LE, le},
    };
    for (const auto& c : cases) {
        const std::string declaration = c.declared ? Declaration(c.declared) : "";
        SCOPED_TRACE(std::to_string(c.mark.size()) + " mark bytes, " + declaration + " in " + c.iconvName);
        const std::string text = c.mark + Iconv(declaration + kBody, "UTF-8", c.iconvName);
        CXMLDocument doc;
        ASSERT_TRUE(LoadText(doc, text)) << doc.GetErrorText();
        EXPECT_EQ(doc.GetEncoding(), c.read);
        EXPECT_EQ(Str(static_cast<CBaseDesc*>(Child(doc.GetRoot(), 0))->GetShowName()), Gbk("\xE4\xB8\xAD\xE6\x96\x87"));
        // saved as read, declared by its canonical name
        EXPECT_EQ(Save(doc), c.savedMark + Iconv(Declaration(XmlEncodingName(c.read)) + kBody, "UTF-8", c.iconvName));
    }
}
// Each predefined entity alone, in text and in an attribute, and saved so
// that it reads back the same.
TEST(Entities, EachOfTheFiveReadsAsItsCharacter)
{
    const struct {
        const char* entity;
        const char* character;
        const char* inAttribute; // as a save writes it
        const char* inText;
    } cases[] = {
        {"&lt;", "<", "&lt;", "&lt;"},         {"&gt;", ">", ">", "&gt;"},  {"&amp;", "&", "&amp;", "&amp;"},
        {"&apos;", "'", "'", "'"},              {"&quot;", "\"", "&quot;", "\""},
        {"&#60;", "<", "&lt;", "&lt;"},         {"&#x26;", "&", "&amp;", "&amp;"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entity);
        const std::string x = std::string("x") + c.entity + "y";
        CXMLDocument doc;
        ASSERT_TRUE(LoadText(doc, "<a b=\"" + x + "\">" + x + "</a>")) << doc.GetErrorText();
        EXPECT_EQ(Atts(*doc.GetRoot()), std::string("b=\"x") + c.character + "y\"");
        const auto children = Children(*doc.GetRoot());
        ASSERT_EQ(children.size(), 1u);
        EXPECT_EQ(Str(As<CXMLText>(children[0])->GetText()), std::string("x") + c.character + "y");
        EXPECT_NE(Save(doc).find(std::string("<a b=\"x") + c.inAttribute + "y\">x" + c.inText + "y</a>"),
                  std::string::npos);
    }
    for (const char* unknown : {"&nbsp;", "&lt", "&#;", "&#x110000;", "&#0;", "&Lt;"}) {
        CXMLDocument doc;
        EXPECT_FALSE(LoadText(doc, std::string("<a>") + unknown + "</a>")) << unknown;
    }
}

// A repeated attribute fails the load wherever the two stand among many and
// however its name sorts among the others: a duplicate that loaded would be
// saved as a document no parser reads.
TEST(Attributes, ARepeatedNameFailsWhereverItStands)
{
    std::vector<std::string> names;
    for (int i = 0; i < 24; ++i)
        names.push_back(std::string(1, static_cast<char>('m' + i % 13)) + std::to_string(23 - i));
    names.push_back("A"); // sorts before every other
    names.push_back("zz"); // after
    for (size_t first = 0; first < names.size(); ++first) {
        for (size_t second = 0; second <= names.size(); ++second) {
            std::string xml = "<a";
            for (size_t i = 0; i <= names.size(); ++i) {
                if (i == second)
                    xml += " " + names[first] + "='again'";
                if (i < names.size())
                    xml += " " + names[i] + "='" + std::to_string(i) + "'";
            }
            CXMLDocument doc;
            ASSERT_FALSE(LoadText(doc, xml + "/>")) << xml;
            EXPECT_NE(doc.GetErrorText().find("duplicate attribute \"" + names[first] + "\""), std::string::npos)
                << xml << "\n" << doc.GetErrorText();
        }
    }
}

// The reader's buffers come from pugixml's allocator: when it fails, the
// load fails and the document keeps what it held.
void* NoMemory(size_t) { return nullptr; }

TEST(Reading, OutOfMemoryFailsTheLoadAndKeepsTheDocument)
{
#ifdef _WIN32
    GTEST_SKIP() << "kvhost.dll holds its own pugixml: this program's allocator hooks do not reach it";
#endif
    CXMLDocument doc;
    ASSERT_TRUE(LoadText(doc, kBody)) << doc.GetErrorText();
    const CXMLBase* root = doc.GetRoot();
    const pugi::allocation_function allocate = pugi::get_memory_allocation_function();
    const pugi::deallocation_function deallocate = pugi::get_memory_deallocation_function();
    pugi::set_memory_management_functions(NoMemory, deallocate);
    const bool loaded = LoadText(doc, "<CNodeAttDef classtype='8_0'/>");
    pugi::set_memory_management_functions(allocate, deallocate);
    EXPECT_FALSE(loaded);
    EXPECT_EQ(doc.GetError().message, "out of memory");
    EXPECT_EQ(doc.GetRoot(), root);
}

} // namespace
