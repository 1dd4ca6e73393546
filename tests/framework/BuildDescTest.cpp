// Building descriptors in code: BuildDesc against what a load gives, and the
// two traps it is there to avoid.
#include "support/DescTestUtil.h"

#include <functional>

namespace {

using namespace kvtest;
using kvnodedefine::BuildDesc;

// A root holding one built descriptor, saved: the element it gives, in the
// class's attribute order whatever the order given, and the same tree as a
// load of that text gives.
TEST(BuildDesc, MakesWhatALoadOfTheSameTextsMakes)
{
    const struct {
        std::function<CXMLBase*()> build;
        const char* element;
    } cases[] = {
        {[] { return BuildDesc<CPlateDesc>({{"planes", "A,B,C"}, {"name", "P"}, {"material", "3"}}).release(); },
         R"(<CPlateDesc classtype="8_3" name="P" showname="" material="3" lenexp="" widthexp="" thickexp="" )"
         R"(planes="A,B,C" varitem="" />)"},
        {[] { return BuildDesc<CCutDesc>({{"planes", "A"}, {"showname", "\xC7\xD0"}}).release(); },
         R"(<CCutDesc classtype="8_2" name="" showname="切" planes="A" />)"},
        {[] { return BuildDesc<CBoltPlaneDesc>({{"father", "G"}, {"plane", "A"}, {"name", "B"}}).release(); },
         R"(<CBoltPlaneDesc classtype="8_16" name="B" showname="" plane="A" father="G" />)"},
        // a construction writes what its type uses; an optional attribute
        // given goes where the class writes it
        {[] { return BuildDesc<CPlaneDesc>({{"refmem", "M"}, {"type", "1"}, {"memname", "C"}}).release(); },
         R"(<CPlaneDesc classtype="8_1" name="" showname="" type="1" memname="C" strdesc="" refmem="M" />)"},
        {[] { return BuildDesc<CVecDesc>({{"type", "4"}, {"parellelplane", "P"}}).release(); },
         R"(<CVecDesc classtype="8_14" name="" showname="" type="4" parellelplane="P" memname="" />)"},
        {[] { return BuildDesc<CNodeMemberDesc>({{"directused", "0"}, {"kind", "2,1"}}).release(); },
         R"(<CNodeMemberDesc classtype="8_4" name="" showname="" kind="2,1" sectype="" linkplanes="" )"
         R"(rotangles="" linkto="" directused="0" />)"},
        {[] { return BuildDesc<CVarDesc>({{"showvalue", "20"}, {"formattype", "d"}}).release(); },
         R"(<CVarDesc classtype="8_10" name="" showname="" showvalue="20" value="20" formattype="d" />)"},
        // a value list's attribute names are free: they stand as given
        {[] { return BuildDesc<CValueListDesc>({{"v2", "16"}, {"v1", "12"}}).release(); },
         R"(<CValueListDesc classtype="8_11" v2="16" v1="12" />)"},
    };
    for (const auto& c : cases) {
        const std::string element = c.element;
        SCOPED_TRACE(element);
        CXMLDocument built, loaded;
        auto* root = new CNodeAttDef;
        built.SetRoot(root);
        ASSERT_TRUE(root->Add(c.build()));
        const std::string text = Save(built);
        EXPECT_NE(text.find("\n  " + element + "\n"), std::string::npos) << text;
        ASSERT_TRUE(LoadText(loaded, text)) << loaded.GetErrorText();
        EXPECT_EQ(DescribeReads(*loaded.GetRoot()), DescribeReads(*built.GetRoot()));
    }
}

// By its run-time class: what is neither a descriptor nor a value list
// (the root converts its version only in Serialize) is refused.
TEST(BuildDesc, TakesDescriptorsAndValueListsOnly)
{
    const std::unique_ptr<CXMLBase> plate = BuildDesc(RUNTIME_CLASS(CPlateDesc), {{"name", "P"}});
    ASSERT_TRUE(plate && plate->IsKindOf(RUNTIME_CLASS(CPlateDesc)));
    EXPECT_EQ(Str(static_cast<CPlateDesc&>(*plate).GetName()), "P");
    EXPECT_TRUE(BuildDesc(RUNTIME_CLASS(CValueListDesc), {{"v1", "1"}}));
    for (CRuntimeClass* refused : {RUNTIME_CLASS(CNodeAttDef), RUNTIME_CLASS(CXMLComposite), RUNTIME_CLASS(CObject),
                                   static_cast<CRuntimeClass*>(nullptr)})
        EXPECT_FALSE(BuildDesc(refused, {{"Version", "3"}})) << (refused ? refused->m_lpszClassName : "null");
}

// What building without it goes wrong by: a field set before the refresh
// that reads the texts is undone by it, and a text set without that refresh
// is overwritten from the fields by the next save.
TEST(BuildDesc, AvoidsTheTrapsOfSettingTextsAndFieldsByHand)
{
    CBoltGroupDesc group;
    group.SetName("G");
    group.SetFatherName("Plate");
    group.SetAttText("diam", "@Bolt_BoltDiam");
    group.RefreshMemberWithAttList();
    EXPECT_EQ(Str(group.GetName()), "");
    EXPECT_EQ(Str(group.GetFatherName()), "");
    EXPECT_EQ(Str(group.GetDiamExp()), "@Bolt_BoltDiam");

    CXMLDocument doc;
    auto* root = new CNodeAttDef;
    doc.SetRoot(root);
    auto* cut = new CCutDesc;
    cut->SetAttText("planes", "A,B");
    root->Add(cut);
    root->Add(BuildDesc<CCutDesc>({{"name", "Kept"}, {"planes", "A,B"}}).release());
    const std::string text = Save(doc);
    EXPECT_NE(text.find(R"(<CCutDesc classtype="8_2" planes="" name="" showname="" />)"), std::string::npos) << text;
    EXPECT_NE(text.find(R"(<CCutDesc classtype="8_2" name="Kept" showname="" planes="A,B" />)"), std::string::npos)
        << text;
}

// Texts in memory are GBK: a UTF-8 literal is converted before it is stored.
TEST(BuildDesc, TextsAreGbkAndAUtf8LiteralIsConvertedFirst)
{
    CString gbk;
    ASSERT_TRUE(kvnodedefine::Utf8ToGbk("柱子", gbk));
    EXPECT_EQ(Str(gbk), "\xD6\xF9\xD7\xD3");
    auto member = BuildDesc<CNodeMemberDesc>({{"name", "Column"}, {"showname", gbk}});
    std::string utf8;
    ASSERT_TRUE(kvnodedefine::GbkToUtf8(member->GetShowName(), utf8));
    EXPECT_EQ(utf8, "柱子");
    // what GBK cannot hold, and what is not UTF-8, is refused and leaves the text as it was
    EXPECT_FALSE(kvnodedefine::Utf8ToGbk("\xF0\x9F\x98\x80", gbk));
    EXPECT_FALSE(kvnodedefine::Utf8ToGbk("\xE6\x9F", gbk));
    EXPECT_EQ(Str(gbk), "\xD6\xF9\xD7\xD3");
    EXPECT_FALSE(kvnodedefine::GbkToUtf8(CString("\xD6"), utf8));
    EXPECT_EQ(utf8, "柱子");
}

} // namespace
