// The attribute list of CXMLBase and the children of CXMLComposite.
#include "XmlTestSupport.h"

#include <xmlobj/CXMLUnknown.h>
#include <xmlobj/ObjIterator.h>

#include <memory>

using namespace xmltest;

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

std::vector<std::string> AttList(const CXMLBase* object)
{
    std::vector<std::string> list;
    const CStringArray& a = object->GetAttList();
    for (INT_PTR i = 0; i < a.GetSize(); ++i)
        list.push_back(a[i].GetString());
    return list;
}

std::vector<CXMLBase*> Children(const CXMLBase* object)
{
    std::vector<CXMLBase*> items;
    ObjIterator* it = object->CreateIterator();
    EXPECT_NE(it, nullptr);
    for (it->First(); !it->IsDone(); it->Next())
        items.push_back(it->CurrentItem());
    object->DeleteIterator(it);
    return items;
}

} // namespace

TEST(AttList, SetReplacesInPlaceOrAppendsKeepingFirstSetOrder)
{
    CXMLBase o;
    EXPECT_TRUE(o.SetAttText("b", "1"));
    EXPECT_TRUE(o.SetAttText("a", "2"));
    EXPECT_TRUE(o.SetAttText("b", "3"));
    EXPECT_TRUE(o.SetAttText("c", ""));
    EXPECT_EQ(AttList(&o), (std::vector<std::string>{"b", "3", "a", "2", "c", ""}));
    EXPECT_FALSE(o.SetAttText("", "x"));
    EXPECT_FALSE(o.SetAttText(nullptr, "x"));
    EXPECT_EQ(o.GetAttList().GetSize(), 6);
}

TEST(AttList, GetOnMissingEmptiesTheOutputAndReturnsFalse)
{
    CXMLBase o;
    o.SetAttText("c", "");
    CString out("stale");
    EXPECT_FALSE(o.GetAttText("missing", out));
    EXPECT_TRUE(out.IsEmpty());
    out = "stale";
    EXPECT_FALSE(o.GetAttText(nullptr, out));
    EXPECT_TRUE(out.IsEmpty());
    out = "stale";
    EXPECT_TRUE(o.GetAttText("c", out));
    EXPECT_TRUE(out.IsEmpty());
}

TEST(AttList, LoadKeepsEveryAttributeInDocumentOrder)
{
    CXMLDocument doc;
    ASSERT_TRUE(LoadText(doc, "<CNodeAttDef classtype='8_0'><CBaseDesc ValueString='v' showname='s' classtype='8_8' "
                              "name='n' nodename='x' Version='9'/><Other classtype='9_99' b='1' a='2'/></CNodeAttDef>"))
        << doc.GetErrorText();
    auto* root = static_cast<CXMLComposite*>(doc.GetRoot());
    // a registered class drops classtype (it is written again from the class); an unknown one keeps it in place
    EXPECT_EQ(AttList(root->GetChild(0)),
              (std::vector<std::string>{"ValueString", "v", "showname", "s", "name", "n", "nodename", "x", "Version", "9"}));
    EXPECT_EQ(AttList(root->GetChild(1)), (std::vector<std::string>{"classtype", "9_99", "b", "1", "a", "2"}));
}

TEST(AttList, LoadKeepsAThousandAttributes)
{
    std::string xml = "<CBaseDesc classtype='8_8'";
    for (int i = 999; i >= 0; --i)
        xml += " a" + std::to_string(i) + "='" + std::to_string(i * 7) + "'";
    xml += "/>";
    CXMLDocument doc;
    ASSERT_TRUE(LoadText(doc, xml)) << doc.GetErrorText();
    const auto list = AttList(doc.GetRoot());
    ASSERT_EQ(list.size(), 2000u);
    for (int i = 0; i < 1000; ++i) {
        ASSERT_EQ(list[2 * i], "a" + std::to_string(999 - i));
        ASSERT_EQ(list[2 * i + 1], std::to_string((999 - i) * 7));
    }
}

TEST(AttList, AttributeSetBeforeTheLoadIsReplacedInPlace)
{
    CXMLDocument doc;
    ASSERT_TRUE(LoadText(doc, "<CPreset classtype='t_preset' first='1' kind='read'/>")) << doc.GetErrorText();
    EXPECT_EQ(AttList(doc.GetRoot()), (std::vector<std::string>{"kind", "read", "first", "1"}));
    const std::string saved = SaveText(doc);
    EXPECT_NE(saved.find("<CPreset classtype=\"t_preset\" kind=\"read\" first=\"1\" />"), std::string::npos) << saved;
}

TEST(Composite, OwnsItsChildren)
{
    ASSERT_EQ(CCounted::alive, 0);
    {
        CCounted parent;
        auto* a = new CCounted;
        auto* b = new CCounted;
        auto* grandchild = new CCounted;
        EXPECT_TRUE(parent.Add(a));
        EXPECT_TRUE(parent.Add(b));
        EXPECT_TRUE(b->Add(grandchild));
        EXPECT_EQ(a->GetParent(), &parent);
        EXPECT_EQ(Children(&parent), (std::vector<CXMLBase*>{a, b}));

        EXPECT_TRUE(parent.Remove(a)); // deletes it
        EXPECT_EQ(CCounted::alive, 3);
        EXPECT_EQ(Children(&parent), (std::vector<CXMLBase*>{b}));

        CCounted stranger;
        EXPECT_FALSE(parent.Remove(&stranger)); // not a child: not deleted
        EXPECT_FALSE(parent.Remove(grandchild)); // only direct children
        EXPECT_FALSE(parent.Remove(nullptr));
        EXPECT_EQ(CCounted::alive, 4);
    }
    EXPECT_EQ(CCounted::alive, 0);
}

TEST(Composite, RefusesWhatItCannotOwn)
{
    CCounted parent;
    auto* child = new CCounted;
    ASSERT_TRUE(parent.Add(child));
    EXPECT_FALSE(parent.Add(nullptr));
    EXPECT_FALSE(parent.Add(&parent));
    EXPECT_FALSE(parent.Add(child));   // twice would delete it twice
    EXPECT_FALSE(child->Add(&parent)); // a cycle would never end
    EXPECT_EQ(parent.GetChildCount(), 1);
    EXPECT_EQ(child->GetChildCount(), 0);

    CXMLBase plain;
    CCounted orphan;
    EXPECT_FALSE(plain.Add(&orphan)); // a plain object takes no children (nor ownership)
    EXPECT_FALSE(plain.Remove(&orphan));
}

TEST(Composite, IteratorOverNoChildrenIsDoneAtOnce)
{
    CXMLComposite empty;
    CXMLBase plain;
    for (const CXMLBase* o : std::vector<const CXMLBase*>{&empty, &plain}) {
        ObjIterator* it = o->CreateIterator();
        ASSERT_NE(it, nullptr);
        it->First();
        EXPECT_TRUE(it->IsDone());
        EXPECT_EQ(it->CurrentItem(), nullptr);
        o->DeleteIterator(it);
    }
}
