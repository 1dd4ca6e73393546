#include <KvNodeDefine/KvNodeDefine.h>

#include <gtest/gtest.h>

namespace {

// "name:type" for each attribute, in the catalogue's order; "?" marks one
// that is read but never written, "!" one written but never read.
std::string Listing(CRuntimeClass* cls)
{
    std::string s;
    for (const AttributeInfo& a : AttributesOf(cls)) {
        static const char* const types[] = {"text", "int", "enum", "ints", "reals"};
        s += (s.empty() ? "" : " ") + a.name + ":" + types[static_cast<int>(a.reading.type)];
        if (!a.written)
            s += "?";
        if (!a.read)
            s += "!";
    }
    return s;
}

TEST(Attributes, EachClassListsWhatItsRefreshPairWritesAndReads)
{
    const struct {
        CRuntimeClass* cls;
        const char* listing;
    } cases[] = {
        {RUNTIME_CLASS(CNodeAttDef), "Version:int"},
        {RUNTIME_CLASS(CNodeTypeDesc), "name:text showname:text nodetype:int"},
        // fields written only when set are listed too, in their place
        {RUNTIME_CLASS(CNodeMemberDesc), "name:text showname:text kind:ints sectype:ints linkplanes:text "
                                          "rotangles:reals linkto:text directused:text sectdesc:text"},
        {RUNTIME_CLASS(CPlateDesc),
         "name:text showname:text material:enum lenexp:text widthexp:text thickexp:text planes:text varitem:text"},
        {RUNTIME_CLASS(CBoltGroupDesc), "name:text showname:text material:enum boltgrade:enum bolttype:enum diam:text "
                                         "len:text num:text fathername:text fatherindex:text priorflag:text"},
        {RUNTIME_CLASS(CLinkBarDesc), "name:text showname:text sectype:ints sect:text len:text attach1:text "
                                       "attach2:text attach3:text firstindex:int secondindex:int"},
        {RUNTIME_CLASS(CVarDesc), "name:text showname:text showvalue:text value:text type:int formattype:text"},
        // a construction: its type, then its whole table, each row written by some type
        {RUNTIME_CLASS(CPointDesc), "name:text showname:text type:enum memname:text line:text plane:text "
                                     "line1:text line2:text pointdesc:text oldpoint:text vec:text rellen:text"},
        {RUNTIME_CLASS(CDistDesc), "name:text showname:text type:enum point1:text point2:text plane1:text plane2:text"},
        // the names of a value list's attributes are free
        {RUNTIME_CLASS(CValueListDesc), ""},
        {RUNTIME_CLASS(CObject), ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Listing(c.cls), c.listing) << c.cls->m_lpszClassName;
}

TEST(Attributes, EnumerationsCarryTheLibrarysTables)
{
    const auto reading = [](CRuntimeClass* cls, const std::string& name) {
        for (const AttributeInfo& a : AttributesOf(cls))
            if (a.name == name)
                return a.reading;
        return AttSpec{AttType::Text};
    };
    EXPECT_EQ(reading(RUNTIME_CLASS(CBoltDesc), "material").table, &SteelSystem::MaterialTable());
    EXPECT_EQ(reading(RUNTIME_CLASS(CBoltDesc), "boltgrade").table, &SteelSystem::BoltGradeTable());
    EXPECT_EQ(reading(RUNTIME_CLASS(CBoltGroupDesc), "bolttype").table, &SteelSystem::BoltTypeTable());
    EXPECT_EQ(reading(RUNTIME_CLASS(CPlaneDesc), "type").table, &CPlaneDesc::Types());
    EXPECT_STREQ(CVecDesc::Types().TextOf(CVecDesc::VecByMember), "VecByMember");
    EXPECT_EQ(CLineDesc::Types().count, 4);
    // the host's codes have no table: they are plain integers
    EXPECT_EQ(reading(RUNTIME_CLASS(CNodeTypeDesc), "nodetype").table, nullptr);
}

TEST(Attributes, ListingLeavesNoTraceOnLaterLoads)
{
    AttributesOf(RUNTIME_CLASS(CPlateDesc));
    CXMLDocument doc;
    const std::string xml = "<CNodeAttDef classtype=\"8_0\" Version=\"7\"><CNodeTypeDesc classtype=\"8_6\" "
                            "name=\"N\"><CNodeMemberDesc classtype=\"8_4\" name=\"M\" kind=\"3,4\"/></CNodeTypeDesc>"
                            "</CNodeAttDef>";
    ASSERT_TRUE(doc.LoadXml(xml.data(), xml.size()));
    EXPECT_EQ(static_cast<CNodeAttDef*>(doc.GetRoot())->GetVersion(), 7);
    std::string text;
    ASSERT_TRUE(doc.SaveXml(text));
    EXPECT_NE(text.find("Version=\"7\""), std::string::npos);
    EXPECT_NE(text.find("kind=\"3,4\""), std::string::npos);
}

} // namespace
