// Variable items, variables and value lists. What each loads, saves and
// offers is in data/params, each case with its reason.
#include "support/DescTestUtil.h"

using namespace kvtest;

namespace {

TEST(Params, LoadSaveAndValueRules) { ExpectDescribed("params/rules"); }

// Every list is appended after what the caller's array holds; an item lists
// its variables, not the other descriptors it holds.
TEST(Params, ListsAppendAfterWhatTheArraysHold)
{
    CXMLDocument doc;
    ASSERT_TRUE(doc.LoadFile(KV_TEST_DATA "/params/rules.xml")) << doc.GetErrorText();
    auto* node = As<CNodeTypeDesc>(Child(doc.GetRoot(), 1));
    ASSERT_TRUE(node);
    AcArray<CVarItemDesc*> items;
    ASSERT_TRUE(node->GetVarItemDescArray(items));
    EXPECT_EQ(Names(items), (Texts{"EP1", "Sys"}));

    CVarDesc heldVar;
    heldVar.SetName("held");
    AcArray<CVarDesc*> vars;
    vars.append(&heldVar);
    ASSERT_TRUE(items[0]->GetVarDescArray(vars));
    EXPECT_EQ(Names(vars), (Texts{"held", "EP1_Thick", "EP1_Mat", "EP1_BoltDiam", "EP1_Gap", "EP1_Note"}));

    CStringArray values;
    values.Add("held");
    EXPECT_TRUE(vars[3]->GetValueList(values));
    EXPECT_EQ(Text(values), R"("held","M20","M22","","M24")");
}

// "classtype", "nodename" and "nodeindex" are bookkeeping wherever the host put them.
TEST(ValueList, SkipsBookkeepingWhereverItStands)
{
    CValueListDesc list;
    list.SetAttText("classtype", "8_11");
    list.SetAttText("d0", "M20");
    list.SetNodeName("BoltDiam");
    list.SetAttText("d1", "M22");
    list.SetNodeIndex("3");
    CStringArray values;
    EXPECT_TRUE(list.GetValueList(values));
    EXPECT_TRUE(list.GetValueList(values));
    EXPECT_EQ(Text(values), R"("M20","M22","M20","M22")");
}

} // namespace
