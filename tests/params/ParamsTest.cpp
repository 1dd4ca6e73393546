#include "support/DescTestUtil.h"

#include <KvNodeDefine/CNodeTypeDesc.h>
#include <KvNodeDefine/CValueListDesc.h>
#include <KvNodeDefine/CVarDesc.h>
#include <KvNodeDefine/CVarItemDesc.h>

using namespace kvtest;

namespace {

// An end plate node type: a user item with the plate thickness, its material
// and the bolt diameter, each offering its values, a point among them, and a
// system item after a plate.
const char* const kEndPlate = R"(<CNodeTypeDesc name="EP" showname="端板连接" nodetype="10101">
  <CVarItemDesc name="EP1" showname="端板" type="Plate" defineby="user">
    <CVarDesc name="EP1_Thick" showname="板厚" value="16" type="1" formattype="g">
      <CValueListDesc v0="8" v1="10" v2="12" v3="16" v4="20"/>
    </CVarDesc>
    <CVarDesc name="EP1_Mat" showvalue="Q345" type="0" formattype="s">
      <CValueListDesc nodename="Material" nodeindex="0" v0="Q235" v1="Q345" v2="Q390"/>
      <CValueListDesc v0="Q420"/>
    </CVarDesc>
    <CPointDesc name="EP1_Origin" type="3" pointdesc="origin"/>
    <CVarDesc name="EP1_BoltDiam" showvalue="M22" value="22">
      <CValueListDesc ValueString="M20" v1="ValueString" v2="M22" v3="" v4="M24"/>
    </CVarDesc>
    <CVarDesc name="EP1_Gap"><CValueListDesc nodename="Gap" nodeindex="3"/></CVarDesc>
    <CVarDesc name="EP1_Note"><CVarItemDesc/></CVarDesc>
  </CVarItemDesc>
  <CPlateDesc name="EP1_Plate"/>
  <CVarItemDesc name="Sys" defineby="sys"/>
</CNodeTypeDesc>)";

struct EndPlate : ::testing::Test {
    CXMLDocument doc;
    CNodeTypeDesc* node = LoadFirst<CNodeTypeDesc>(doc, kEndPlate);
    void SetUp() override { ASSERT_TRUE(node); }
};

TEST_F(EndPlate, ListsItemsAndVariablesAfterWhatTheArraysHold)
{
    CVarItemDesc heldItem;
    AcArray<CVarItemDesc*> items;
    items.append(&heldItem);
    ASSERT_TRUE(node->GetVarItemDescArray(items));
    ASSERT_EQ(items.length(), 3);
    EXPECT_EQ(Str(items[1]->GetName()), "EP1");
    EXPECT_EQ(Str(items[2]->GetName()), "Sys");

    CVarDesc heldVar;
    AcArray<CVarDesc*> vars;
    vars.append(&heldVar);
    ASSERT_TRUE(items[1]->GetVarDescArray(vars));
    Names names;
    for (int i = 1; i < vars.length(); ++i)
        names.push_back(Str(vars[i]->GetName()));
    EXPECT_EQ(vars[0], &heldVar);
    EXPECT_EQ(names, (Names{"EP1_Thick", "EP1_Mat", "EP1_BoltDiam", "EP1_Gap", "EP1_Note"})); // not the point

    vars.setLogicalLength(0);
    EXPECT_TRUE(items[2]->GetVarDescArray(vars));
    EXPECT_EQ(vars.length(), 0);
}

TEST_F(EndPlate, ValueListsOfTheVariables)
{
    AcArray<CVarItemDesc*> items;
    AcArray<CVarDesc*> vars;
    ASSERT_TRUE(node->GetVarItemDescArray(items) && items[0]->GetVarDescArray(vars));
    const struct {
        bool found;
        Names values;
    } cases[] = {
        {true, {"8", "10", "12", "16", "20"}},
        {true, {"Q235", "Q345", "Q390"}}, // no bookkeeping, and only the first list
        {true, {"M20", "M22", "", "M24"}}, // a "ValueString" text is a placeholder, the name is not
        {true, {}},
        {false, {}},
    };
    ASSERT_EQ(vars.length(), 5);
    for (int i = 0; i < 5; ++i) {
        CStringArray values;
        values.Add("held");
        EXPECT_EQ(vars[i]->GetValueList(values), cases[i].found) << i;
        Names expected{"held"};
        expected.insert(expected.end(), cases[i].values.begin(), cases[i].values.end());
        EXPECT_EQ(Strings(values), expected) << i;
    }
}

TEST_F(EndPlate, SavesAndLoadsBackTheSameDocument)
{
    const std::string first = Save(doc);
    EXPECT_NE(first.find(R"(nodename="Material" nodeindex="0" v0="Q235" v1="Q345" v2="Q390")"), std::string::npos);
    CXMLDocument again;
    ASSERT_TRUE(again.LoadXml(first.data(), first.size())) << again.GetErrorText();
    EXPECT_EQ(Save(again), first);
}

TEST(VarItem, DefineBy)
{
    const struct {
        const char* attribute; // null: absent
        bool predefined;
        const char* saved;
    } cases[] = {{"sys", true, "sys"}, {"user", false, "user"}, {"User", true, "sys"}, {"", true, "sys"},
                 {nullptr, true, "sys"}};
    for (const auto& c : cases) {
        const std::string xml =
            std::string("<CVarItemDesc") + (c.attribute ? std::string(" defineby=\"") + c.attribute + "\"" : "") + "/>";
        CXMLDocument doc;
        CVarItemDesc* item = LoadFirst<CVarItemDesc>(doc, xml);
        ASSERT_TRUE(item);
        EXPECT_EQ(item->IsPredefined(), c.predefined) << xml;
        Save(doc);
        EXPECT_EQ(Att(*item, "defineby"), c.saved) << xml;
    }
}

TEST(Var, LoadsAndSavesBack)
{
    const struct {
        const char* attributes;
        const char *show, *real;
        int type;
        char format;
        std::optional<std::string> savedType;
        const char* savedFormat;
    } cases[] = {
        // each value fills the other one
        {R"(value="200")", "200", "200", -1, 'g', std::nullopt, "g"},
        {R"(showvalue="200" value="")", "200", "200", -1, 'g', std::nullopt, "g"},
        {R"(showvalue="M20" value="20")", "M20", "20", -1, 'g', std::nullopt, "g"},
        {R"(showvalue="" value="")", "", "", -1, 'g', std::nullopt, "g"},
        // an empty type is none, and stays in the list; others go by their leading digits
        {R"(type="")", "", "", -1, 'g', "", "g"},
        {R"(type="0")", "", "", 0, 'g', "0", "g"},
        {R"(type=" -3")", "", "", -3, 'g', "-3", "g"},
        {R"(type="12mm")", "", "", 12, 'g', "12", "g"},
        {R"(type="x")", "", "", 0, 'g', "0", "g"},
        // the format is one character, 'g' when none is given
        {R"(formattype="f")", "", "", -1, 'f', std::nullopt, "f"},
        {R"(formattype="fx")", "", "", -1, 'f', std::nullopt, "f"},
        {R"(formattype="")", "", "", -1, 'g', std::nullopt, "g"},
    };
    for (const auto& c : cases) {
        const std::string xml = std::string("<CVarDesc ") + c.attributes + "/>";
        CXMLDocument doc;
        CVarDesc* var = LoadFirst<CVarDesc>(doc, xml);
        ASSERT_TRUE(var);
        EXPECT_EQ(Str(var->GetShowValue()), c.show) << xml;
        EXPECT_EQ(Str(var->GetRealValue()), c.real) << xml;
        EXPECT_EQ(var->GetType(), c.type) << xml;
        EXPECT_EQ(var->GetFormatType(), c.format) << xml;
        Save(doc);
        EXPECT_EQ(Att(*var, "type"), c.savedType) << xml;
        EXPECT_EQ(Att(*var, "formattype"), c.savedFormat) << xml;
    }
}

TEST(Var, TypeOfAnEarlierLoadIsWrittenAgainWhenCleared)
{
    CXMLDocument doc;
    CVarDesc* var = LoadFirst<CVarDesc>(doc, R"(<CVarDesc name="V" type="5"/>)");
    ASSERT_TRUE(var);
    var->SetType(-1);
    EXPECT_NE(Save(doc).find(R"(type="5")"), std::string::npos);
}

TEST(Params, SaveOrder)
{
    CVarItemDesc item;
    item.SetIsPredefined(false);
    item.RefreshAttListWithMember();
    EXPECT_EQ(Atts(item), (AttPairs{{"name", ""}, {"showname", ""}, {"type", ""}, {"defineby", "user"}}));

    CVarDesc var;
    var.RefreshAttListWithMember();
    EXPECT_EQ(AttNames(var), (Names{"name", "showname", "showvalue", "value", "formattype"}));
    EXPECT_EQ(Att(var, "formattype"), "g");

    CVarDesc typed;
    typed.SetShowValue("Q345");
    typed.SetType(2);
    typed.SetFormatType('s');
    typed.RefreshAttListWithMember();
    EXPECT_EQ(Atts(typed), (AttPairs{{"name", ""}, {"showname", ""}, {"showvalue", "Q345"}, {"value", ""},
                                     {"type", "2"}, {"formattype", "s"}}));
}

TEST(ValueList, SkipsBookkeepingWhereverItStands)
{
    CValueListDesc list;
    list.SetAttText("classtype", "8_11");
    list.SetAttText("d0", "M20");
    list.SetNodeName("BoltDiam");
    list.SetAttText("d1", "M22");
    list.SetNodeIndex("3");
    list.SetAttText("d2", "M24");
    CStringArray values;
    EXPECT_TRUE(list.GetValueList(values));
    EXPECT_TRUE(list.GetValueList(values)); // appends again
    EXPECT_EQ(Strings(values), (Names{"M20", "M22", "M24", "M20", "M22", "M24"}));
}

} // namespace
