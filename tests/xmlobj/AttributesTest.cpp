// The attribute list of CXMLBase and the children of CXMLComposite.
#include "support/DescTestUtil.h"

using namespace kvtest;

namespace {

// Counts the live objects so that ownership mistakes show as a wrong count
// (and double deletes as a sanitizer report).
class CCounted : public CXMLComposite {
public:
    static int alive;
    CCounted() { ++alive; }
    ~CCounted() override { --alive; }
};
int CCounted::alive = 0;

// A registered class whose constructor sets an attribute before the reader
// hands it the element's attributes.
class CPreset : public CXMLComposite {
public:
    static CRuntimeClass classCPreset;
    static CObject* Create() { return new CPreset; }
    CRuntimeClass* GetRuntimeClass() const override { return &classCPreset; }
    CString GetClassIndex() const override { return "t_preset"; }
    CPreset() { SetAttText("kind", "default"); }
};
CRuntimeClass CPreset::classCPreset = {"CPreset", sizeof(CPreset), 1, &CPreset::Create, RUNTIME_CLASS(CXMLComposite)};
ClassType g_presetType = {"t_preset", &CPreset::classCPreset, 0};
ClassTypeInit g_presetInit(&g_presetType);

// Set replaces in place or appends, keeping first-set order; a missing
// attribute reads as empty and false.
TEST(AttList, SetAndGet)
{
    CXMLBase o;
    EXPECT_TRUE(o.SetAttText("b", "1") && o.SetAttText("a", "2") && o.SetAttText("b", "3") && o.SetAttText("c", ""));
    EXPECT_FALSE(o.SetAttText("", "x"));
    EXPECT_FALSE(o.SetAttText(nullptr, "x"));
    EXPECT_EQ(Atts(o), R"(b="3" a="2" c="")");
    for (const char* name : {"missing", static_cast<const char*>(nullptr), "c"}) {
        CString out("stale");
        EXPECT_EQ(o.GetAttText(name, out), name && *name == 'c');
        EXPECT_TRUE(out.IsEmpty());
    }
}

TEST(AttList, LoadKeepsEveryAttributeInDocumentOrder)
{
    CXMLDocument doc;
    ASSERT_TRUE(LoadText(doc, "<CNodeAttDef classtype='8_0'><CBaseDesc ValueString='v' showname='s' classtype='8_8' "
                              "name='n' nodename='x' Version='9'/><Other classtype='9_99' b='1' a='2'/></CNodeAttDef>"))
        << doc.GetErrorText();
    // a registered class drops classtype (it is written again from the class); an unknown one keeps it in place
    EXPECT_EQ(Atts(*Child(doc.GetRoot(), 0)), R"(ValueString="v" showname="s" name="n" nodename="x" Version="9")");
    EXPECT_EQ(Atts(*Child(doc.GetRoot(), 1)), R"(classtype="9_99" b="1" a="2")");

    std::string xml = "<CBaseDesc", expected;
    for (int i = 999; i >= 0; --i) {
        const std::string att = "a" + std::to_string(i) + "=\"" + std::to_string(i * 7) + "\"";
        xml += " " + att;
        expected += (expected.empty() ? "" : " ") + att;
    }
    ASSERT_TRUE(LoadText(doc, xml + "/>")) << doc.GetErrorText();
    EXPECT_EQ(Atts(*doc.GetRoot()), expected);

    // beyond the attributes kept on the stack, a duplicate is still found
    ASSERT_FALSE(LoadText(doc, xml + " a5='again'/>"));
    EXPECT_NE(doc.GetErrorText().find("duplicate attribute \"a5\""), std::string::npos) << doc.GetErrorText();
}

TEST(AttList, AttributeSetBeforeTheLoadIsReplacedInPlace)
{
    CXMLDocument doc;
    ASSERT_TRUE(LoadText(doc, "<CPreset classtype='t_preset' first='1' kind='read'/>")) << doc.GetErrorText();
    EXPECT_EQ(Atts(*doc.GetRoot()), R"(kind="read" first="1")");
    EXPECT_NE(Save(doc).find(R"(<CPreset classtype="t_preset" kind="read" first="1" />)"), std::string::npos);
}

TEST(Composite, OwnsItsChildren)
{
    ASSERT_EQ(CCounted::alive, 0);
    {
        CCounted parent;
        auto* a = new CCounted;
        auto* b = new CCounted;
        auto* grandchild = new CCounted;
        EXPECT_TRUE(parent.Add(a) && parent.Add(b) && b->Add(grandchild));
        EXPECT_EQ(a->GetParent(), &parent);
        EXPECT_EQ(Children(parent), (std::vector<CXMLBase*>{a, b}));
        EXPECT_TRUE(parent.Remove(a)); // deletes it
        EXPECT_EQ(CCounted::alive, 3);
        EXPECT_EQ(Children(parent), (std::vector<CXMLBase*>{b}));

        CCounted stranger;
        EXPECT_FALSE(parent.Remove(&stranger)); // not a child: not deleted
        EXPECT_FALSE(parent.Remove(grandchild)); // only direct children
        EXPECT_FALSE(parent.Remove(nullptr));
        EXPECT_EQ(CCounted::alive, 4);

        // refused: what it cannot own
        EXPECT_FALSE(parent.Add(nullptr));
        EXPECT_FALSE(parent.Add(&parent));
        EXPECT_FALSE(parent.Add(b));       // twice would delete it twice
        EXPECT_FALSE(stranger.Add(grandchild)); // owned by another parent
        EXPECT_FALSE(b->Add(&parent));     // a cycle would never end
        EXPECT_FALSE(CXMLBase().Add(&stranger)); // a plain object takes no children (nor ownership)
        EXPECT_EQ(Children(parent), (std::vector<CXMLBase*>{b}));
        EXPECT_EQ(Children(*b), (std::vector<CXMLBase*>{grandchild}));
    }
    EXPECT_EQ(CCounted::alive, 0);
}

// The children keep their order and their classes through every growth of
// the list and removals anywhere in it.
TEST(Composite, KeepsChildOrderThroughGrowthAndRemovals)
{
    CXMLComposite parent;
    std::vector<CXMLBase*> model;
    for (int i = 0; i < 40; ++i) {
        CXMLBase* child = i % 3 ? static_cast<CXMLBase*>(new CXMLComposite) : new CXMLText(CXMLText::Comment, "c");
        ASSERT_TRUE(parent.Add(child));
        model.push_back(child);
        if (i == 20)
            parent.Reserve(100);
    }
    for (size_t at : {size_t(0), size_t(17), size_t(37)}) { // first, middle, then the last
        EXPECT_TRUE(parent.Remove(model[at]));
        model.erase(model.begin() + static_cast<std::ptrdiff_t>(at));
    }
    EXPECT_EQ(Children(parent), model);
    ObjIterator* it = parent.CreateIterator();
    for (it->First(); !it->IsDone(); it->Next())
        EXPECT_EQ(it->CurrentClass(), it->CurrentItem()->GetRuntimeClass());
    parent.DeleteIterator(it);
    EXPECT_EQ(parent.GetChild(parent.GetChildCount()), nullptr);
}

} // namespace
