#include <KvNodeDefine/KvNodeDefine.h>

#include <gtest/gtest.h>

namespace {

using namespace kvnodedefine;

// "name:type" for each attribute, in the catalogue's order; "?" marks one
// that is read but never written, "!" one written but never read, "~" one
// written only when set, and "@0,1" the construction types that write it.
std::string Listing(CRuntimeClass* cls)
{
    std::string s;
    for (const AttributeInfo& a : AttributesOf(cls)) {
        static const char* const types[] = {"text", "int", "enum", "ints", "reals", "char", "word"};
        s += (s.empty() ? "" : " ") + a.name + ":" + types[static_cast<int>(a.reading.type)];
        if (!a.written)
            s += "?";
        if (!a.read)
            s += "!";
        if (a.writtenOnlyWhenSet)
            s += "~";
        for (size_t i = 0; i < a.writtenForTypes.size(); ++i)
            s += (i ? "," : "@") + std::to_string(a.writtenForTypes[i]);
    }
    return s;
}

TEST(Attributes, EachClassListsWhatItsRefreshPairWritesAndReads)
{
    const struct {
        CRuntimeClass* cls;
        const char* listing;
    } cases[] = {
        // the root converts its version in Serialize, not in its refresh pair
        {RUNTIME_CLASS(CNodeAttDef), "Version:int"},
        {RUNTIME_CLASS(CNodeTypeDesc), "name:text showname:text nodetype:int"},
        // fields written only when set are listed too, in their place
        {RUNTIME_CLASS(CNodeMemberDesc), "name:text showname:text kind:ints sectype:ints linkplanes:ints "
                                          "rotangles:reals linkto:text directused:word~ sectdesc:text~"},
        {RUNTIME_CLASS(CPlateDesc),
         "name:text showname:text material:enum lenexp:text widthexp:text thickexp:text planes:text varitem:text"},
        {RUNTIME_CLASS(CBoltGroupDesc), "name:text showname:text material:enum boltgrade:enum bolttype:enum diam:text "
                                         "len:text num:text fathername:text fatherindex:text priorflag:text"},
        {RUNTIME_CLASS(CLinkBarDesc), "name:text showname:text sectype:ints sect:text len:text attach1:text "
                                       "attach2:text attach3:text firstindex:int secondindex:int"},
        {RUNTIME_CLASS(CVarDesc), "name:text showname:text showvalue:text value:text type:int~ formattype:char"},
        {RUNTIME_CLASS(CVarItemDesc), "name:text showname:text type:text defineby:word"},
        // a construction: its type, then its whole table, each row written by some type
        {RUNTIME_CLASS(CPointDesc), "name:text showname:text type:enum memname:text@0 line:text@1 plane:text@1 "
                                     "line1:text@2 line2:text@2 pointdesc:text@3 oldpoint:text@4 vec:text@4 "
                                     "rellen:text@4"},
        {RUNTIME_CLASS(CPlaneDesc), "name:text showname:text type:enum memname:text@0,1,2 strdesc:text@0,1,2 "
                                     "refmem:text~@0,1,2 point:text@3 norm:text@3 rellen:text@4 relplane:text@4,5"},
        {RUNTIME_CLASS(CDistDesc), "name:text showname:text type:enum point1:text@0,1,2 point2:text@0,1,2 "
                                    "plane1:text@3 plane2:text@3"},
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
    EXPECT_EQ(reading(RUNTIME_CLASS(CBoltDesc), "material").table, &MaterialTable());
    EXPECT_EQ(reading(RUNTIME_CLASS(CBoltDesc), "boltgrade").table, &BoltGradeTable());
    EXPECT_EQ(reading(RUNTIME_CLASS(CBoltGroupDesc), "bolttype").table, &BoltTypeTable());
    // a construction's types have their names, as tools show them
    const EnumTable* vecTypes = reading(RUNTIME_CLASS(CVecDesc), "type").table;
    ASSERT_TRUE(vecTypes);
    EXPECT_STREQ(vecTypes->TextOf(CVecDesc::VecByMember), "VecByMember");
    EXPECT_EQ(reading(RUNTIME_CLASS(CLineDesc), "type").table->count, 4);
    // the host's codes have no table: they are plain integers
    EXPECT_EQ(reading(RUNTIME_CLASS(CNodeTypeDesc), "nodetype").table, nullptr);
}

// what a tool needs beyond the reading rule: what a name names, what the host needs, what empty reads as
TEST(Attributes, ReadingsSayWhatANameNamesAndWhatTheHostNeeds)
{
    const auto readingOf = [](CRuntimeClass* cls, const std::string& name) {
        for (const AttributeInfo& a : AttributesOf(cls))
            if (a.name == name)
                return a.reading;
        ADD_FAILURE() << cls->m_lpszClassName << " has no " << name;
        return AttSpec();
    };
    const AttSpec planes = readingOf(RUNTIME_CLASS(CPlateDesc), "planes");
    EXPECT_TRUE(planes.names == RUNTIME_CLASS(CPlaneDesc) && planes.list && planes.needed);
    const AttSpec varItem = readingOf(RUNTIME_CLASS(CPlateDesc), "varitem");
    EXPECT_TRUE(varItem.names == RUNTIME_CLASS(CVarItemDesc) && !varItem.list && !varItem.needed);
    EXPECT_EQ(readingOf(RUNTIME_CLASS(CBoltPlaneDesc), "father").names, RUNTIME_CLASS(CBaseDesc)); // any class
    EXPECT_EQ(readingOf(RUNTIME_CLASS(CLinkBarDesc), "attach2").names, RUNTIME_CLASS(CPlaneDesc));
    // a construction's names, from its table; "refmem" is written only when set, so it may be empty
    EXPECT_EQ(readingOf(RUNTIME_CLASS(CVecDesc), "parellelplane").names, RUNTIME_CLASS(CPlaneDesc));
    EXPECT_EQ(readingOf(RUNTIME_CLASS(CPointDesc), "oldpoint").names, RUNTIME_CLASS(CPointDesc));
    EXPECT_EQ(readingOf(RUNTIME_CLASS(CPointDesc), "rellen").names, nullptr);
    EXPECT_TRUE(readingOf(RUNTIME_CLASS(CLineDesc), "plane2").needed);
    EXPECT_FALSE(readingOf(RUNTIME_CLASS(CPlaneDesc), "refmem").needed);
    // sizes the host needs, and texts it does not
    EXPECT_TRUE(readingOf(RUNTIME_CLASS(CBoltDesc), "num").needed);
    EXPECT_FALSE(readingOf(RUNTIME_CLASS(CBoltDesc), "dlen").needed);
    EXPECT_STREQ(readingOf(RUNTIME_CLASS(CVarDesc), "type").ifEmpty, "-1");
    EXPECT_STREQ(readingOf(RUNTIME_CLASS(CVarDesc), "formattype").ifEmpty, "g");
    // the texts compared whole, the catch-all last
    const AttSpec defineBy = readingOf(RUNTIME_CLASS(CVarItemDesc), "defineby");
    ASSERT_TRUE(defineBy.table && defineBy.table->count == 2);
    EXPECT_STREQ(defineBy.table->rows[1].text, "sys");
    EXPECT_STREQ(readingOf(RUNTIME_CLASS(CNodeMemberDesc), "linkplanes").table->rows[0].text, "0");
}

// what a save writes, and the host reads, without touching the object
TEST(Attributes, SavedAttributesAreWhatTheFieldsHold)
{
    CXMLDocument doc;
    const std::string xml = "<CNodeAttDef classtype=\"8_0\"><CNodeTypeDesc classtype=\"8_6\" name=\"N\">"
                            "<CPointDesc classtype=\"8_12\" name=\"P\" type=\"1x\" line=\"L\" memname=\"M\"/>"
                            "<CVarItemDesc classtype=\"8_9\" name=\"I\"><CVarDesc classtype=\"8_10\" name=\"V\" "
                            "type=\"\" formattype=\"%.1f\"/></CVarItemDesc></CNodeTypeDesc></CNodeAttDef>";
    ASSERT_TRUE(doc.LoadXml(xml.data(), xml.size()));
    const auto saved = [](const CXMLBase& o) {
        std::string s;
        for (const kvnodedefine::SavedAttribute& a : kvnodedefine::SavedAttributesOf(o))
            s += (s.empty() ? "" : " ") + a.name + "=" + a.text.GetString();
        return s;
    };
    const auto child = [](const CXMLBase* o, int i) { return static_cast<const CXMLComposite*>(o)->GetChild(i); };
    const CXMLBase* node = child(doc.GetRoot(), 0);
    const CXMLBase& point = *child(node, 0);
    // the type as read, and only its attributes: the plane it lacks is written empty, memname not at all
    EXPECT_EQ(saved(point), "name=P showname= type=1 line=L plane=");
    CString type;
    ASSERT_TRUE(point.GetAttText("type", type));
    EXPECT_STREQ(type.GetString(), "1x"); // the object keeps what the file says
    EXPECT_EQ(saved(*child(child(node, 1), 0)), "name=V showname= showvalue= value= formattype=%");
    EXPECT_EQ(saved(*doc.GetRoot()), "Version=0");
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
