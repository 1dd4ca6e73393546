// Node types, members, plates and cuts. What each loads and saves is in the
// files under data/node, each case with its reason.
#include "support/DescTestUtil.h"

using namespace kvtest;

namespace {

TEST(NodeDescriptors, LoadAndSaveRules) { ExpectDescribed("node/rules"); }

// A whole node definition as an author writes it.
TEST(NodeDescriptors, EndPlateNode) { ExpectDescribed("node/end_plate_node"); }

// The version is saved as the number read; a new root is version 1.
TEST(CNodeAttDef, VersionIsSavedAsReadOr1)
{
    CXMLDocument doc;
    CNodeAttDef* root = LoadRoot<CNodeAttDef>(doc, R"(<CNodeAttDef Version=" 2b"/>)");
    ASSERT_TRUE(root);
    EXPECT_NE(Save(doc).find(R"(<CNodeAttDef classtype="8_0" Version="2" />)"), std::string::npos);
    std::unique_ptr<CObject> fresh(root->CreateNew());
    EXPECT_EQ(static_cast<CNodeAttDef&>(*fresh).GetVersion(), 1);
    doc.SetRoot(new CNodeAttDef);
    EXPECT_NE(Save(doc).find(R"(<CNodeAttDef classtype="8_0" Version="1" />)"), std::string::npos);
}

// The root's refresh pair does nothing: a fresh root given the pair keeps
// version 1, and a loaded root keeps a version set after the load; only
// Serialize converts "Version". A host that refreshes every object of a tree
// it changed in code (as BuildDesc does) loses nothing of the root's.
TEST(CNodeAttDef, RefreshPairChangesNeitherTheAttributesNorTheVersion)
{
    const struct {
        const char* document; // null: a fresh root
        int setVersion;       // 0: none set
        const char* saved;
    } cases[] = {
        {nullptr, 0, R"(<CNodeAttDef classtype="8_0" Version="1" />)"},
        {R"(<CNodeAttDef Version="3"/>)", 0, R"(<CNodeAttDef classtype="8_0" Version="3" />)"},
        {R"(<CNodeAttDef Version="3"/>)", 5, R"(<CNodeAttDef classtype="8_0" Version="5" />)"},
        {R"(<CNodeAttDef/>)", 0, R"(<CNodeAttDef classtype="8_0" Version="0" />)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.document ? c.document : "a fresh root");
        CXMLDocument doc;
        if (c.document)
            ASSERT_TRUE(LoadRoot<CNodeAttDef>(doc, c.document));
        else
            doc.SetRoot(new CNodeAttDef);
        auto& root = static_cast<CNodeAttDef&>(*doc.GetRoot());
        if (c.setVersion)
            root.SetVersion(c.setVersion);
        const int version = root.GetVersion();
        const std::string attributes = Atts(root);
        EXPECT_TRUE(root.RefreshMemberWithAttList());
        EXPECT_TRUE(root.RefreshAttListWithMember());
        EXPECT_TRUE(root.RefreshMemberWithAttList());
        EXPECT_EQ(root.GetVersion(), version);
        EXPECT_EQ(Atts(root), attributes);
        EXPECT_NE(Save(doc).find(c.saved), std::string::npos);
    }
}

// Sides are handed out only for a side connection, angles only for an end
// connection ("0" exactly); either list is appended after what the caller holds.
TEST(CNodeMemberDesc, ConnectionModeDecidesWhichListIsHandedOut)
{
    const struct {
        const char* linkPlanes;
        bool end;
        const char* sides; // after the 7 the array held
    } cases[] = {{"0", true, "7"},    {"1,3", false, "7,1,3"}, {"", false, "7"},        {" 0", false, "7,0"},
                 {"00", false, "7,0"}, {"0,", false, "7,0"},    {"4,,2", false, "7,4,0,2"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("linkplanes \"") + c.linkPlanes + "\"");
        const CNodeMemberDesc member("m", "M", c.linkPlanes, "0,90,180,270");
        EXPECT_EQ(member.IsEndConnect(), c.end);
        EXPECT_EQ(member.IsSectSideConnect(), !c.end);
        AcArray<int> sides;
        sides.append(7);
        EXPECT_EQ(member.GetAllowConnectSides(sides), !c.end);
        EXPECT_EQ(Text(sides), c.sides);
        AcArray<double> angles;
        angles.append(-1);
        EXPECT_EQ(member.GetAllowRotateAngles(angles), c.end);
        EXPECT_EQ(Text(angles), c.end ? "-1,0,90,180,270" : "-1");
    }
}

// A second load reads the lists afresh instead of appending to them.
TEST(NodeDescriptors, ReloadReplacesTheLists)
{
    CXMLDocument doc;
    CNodeMemberDesc* member = LoadRoot<CNodeMemberDesc>(doc, R"(<CNodeMemberDesc kind="1,2,3" sectype="5,6"/>)");
    ASSERT_TRUE(member);
    member->SetAttText("kind", "4,5");
    member->RefreshMemberWithAttList();
    EXPECT_EQ(Text(member->GetKindArray()), "4,5");
    EXPECT_EQ(Text(member->GetSecTypeArray()), "5,6");
}

// Copies and assignments take only what connects: the texts of a member's
// connection, the code of a node type, nothing of a cut.
TEST(NodeDescriptors, CopyAndAssignmentTakeOnlyTheConnection)
{
    CXMLDocument doc;
    LoadText(doc, R"(<CNodeTypeDesc name="node" nodetype="20101">
  <CNodeMemberDesc name="beam" showname="B" kind="1,2" sectype="3" linkplanes="1,2" rotangles="0,180" linkto="col"
                   directused="0" sectdesc="H300"><CCutDesc/></CNodeMemberDesc>
  <CCutDesc name="src" showname="S" planes="p1,p2"/>
  <CNodeMemberDesc name="t" kind="9" linkplanes="0" rotangles="45" linkto="x" directused="0" sectdesc="S"><CCutDesc/></CNodeMemberDesc>
  <CCutDesc name="dst" planes="q"/>
</CNodeTypeDesc>)");
    auto* node = As<CNodeTypeDesc>(doc.GetRoot());
    ASSERT_TRUE(node && node->GetChildCount() == 4);
    auto& member = static_cast<CNodeMemberDesc&>(*Child(node, 0));
    auto& cut = static_cast<CCutDesc&>(*Child(node, 1));

    CNodeMemberDesc memberCopy(member);
    EXPECT_EQ(SavedFields(memberCopy),
              R"(name="" showname="" kind="" sectype="" linkplanes="1,2" rotangles="0,180" linkto="")");
    EXPECT_EQ(memberCopy.GetChildCount(), 0);
    auto& memberTarget = static_cast<CNodeMemberDesc&>(*Child(node, 2));
    memberTarget = member;
    EXPECT_EQ(SavedFields(memberTarget), R"(name="t" showname="" kind="9" sectype="" linkplanes="1,2" rotangles="0,180" )"
                                         R"(linkto="x" directused="0" sectdesc="S")");
    EXPECT_EQ(memberTarget.GetChildCount(), 1);

    CNodeTypeDesc nodeCopy(*node);
    EXPECT_EQ(SavedFields(nodeCopy), R"(name="" showname="" nodetype="20101")");
    EXPECT_EQ(nodeCopy.GetChildCount(), 0);
    CNodeTypeDesc nodeTarget("target", "Target", static_cast<LinkSmallType>(40000));
    nodeTarget.Add(new CPlateDesc);
    nodeTarget = *node;
    EXPECT_EQ(SavedFields(nodeTarget), R"(name="target" showname="Target" nodetype="20101")");
    EXPECT_EQ(nodeTarget.GetChildCount(), 1);

    CPlaneDesc plane;
    plane.SetName("p1");
    CCutDesc cutCopy(cut), fromPlane(&plane);
    EXPECT_EQ(SavedFields(cutCopy), R"(name="" showname="" planes="")");
    EXPECT_EQ(SavedFields(fromPlane), R"(name="" showname="" planes="")");
    auto& cutTarget = static_cast<CCutDesc&>(*Child(node, 3));
    cutTarget = cut;
    EXPECT_EQ(SavedFields(cutTarget), R"(name="dst" showname="" planes="q")");
}

// A plate class of the host's own: the child lists must take it for a plate.
class HostPlate : public CPlateDesc {
public:
    static CRuntimeClass classHostPlate;
    CRuntimeClass* GetRuntimeClass() const override { return &classHostPlate; }
};
CRuntimeClass HostPlate::classHostPlate = {"HostPlate", sizeof(HostPlate), 1, nullptr, RUNTIME_CLASS(CPlateDesc)};

class NodeChildren : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_doc.LoadFile(KV_TEST_DATA "/node/children.xml")) << m_doc.GetErrorText();
        m_node = As<CNodeTypeDesc>(m_doc.GetRoot());
        ASSERT_TRUE(m_node);
        m_hostPlate = new HostPlate;
        m_hostPlate->SetName("host");
        m_node->Add(m_hostPlate);
    }

    CXMLDocument m_doc;
    CNodeTypeDesc* m_node = nullptr;
    HostPlate* m_hostPlate = nullptr;
};

// Lists keep what the array held and append in child order, every call.
template <class Owner, class T>
void ExpectList(const CXMLBase* owner, bool (Owner::*list)(AcArray<T*>&) const, const Texts& names)
{
    SCOPED_TRACE(T::GetThisClass()->m_lpszClassName);
    AcArray<T*> items;
    items.append(nullptr);
    ASSERT_TRUE((static_cast<const Owner*>(owner)->*list)(items));
    ASSERT_TRUE((static_cast<const Owner*>(owner)->*list)(items));
    Texts expected{"(null)"};
    expected.insert(expected.end(), names.begin(), names.end());
    expected.insert(expected.end(), names.begin(), names.end());
    EXPECT_EQ(Names(items), expected);
}

TEST_F(NodeChildren, ListsTakeDirectChildrenOfTheirClass)
{
    using N = CNodeTypeDesc;
    ExpectList(m_node, &N::GetMemberDescArray, {"col", "brace", "col"});
    ExpectList(m_node, &N::GetPlateDescArray, {"beam", "host"});
    ExpectList(m_node, &N::GetBoltGroupDescArray, {"group"});
    ExpectList(m_node, &N::GetBoltDescArray, {"bolt"});
    ExpectList(m_node, &N::GetLinkBarDescArray, {"bar"});
    ExpectList(m_node, &N::GetVarItemDescArray, {"vars"});
    ExpectList(m_node, &N::GetPointDescArray, {"pt"});
    ExpectList(m_node, &N::GetLineDescArray, {"ln"});
    ExpectList(m_node, &N::GetPlaneDescArray, {"pl"});
    ExpectList(m_node, &N::GetVecDescArray, {"vec"});
    ExpectList(m_node, &N::GetDistDescArray, {"dist"});
    ExpectList(Child(m_node, 1), &CPlateDesc::GetCutDescArray, {"c1", "c2"});
    ExpectList(Child(m_node, 3), &CNodeMemberDesc::GetCutDescArray, {"cope"});
    ExpectList(m_hostPlate, &CPlateDesc::GetCutDescArray, {});
}

TEST_F(NodeChildren, LookupsFindTheFirstExactNameOfTheirClass)
{
    const CNodeMemberDesc* col = m_node->FindMemberByName("col");
    ASSERT_NE(col, nullptr);
    EXPECT_EQ(Str(col->GetShowName()), "first");
    EXPECT_EQ(m_node->FindMemberByName("brace"), Child(m_node, 3));
    for (const char* other : {"COL", "co", "col ", "", "beam", "bar"})
        EXPECT_EQ(m_node->FindMemberByName(other), nullptr) << '"' << other << '"';
    EXPECT_EQ(m_node->FindPlateByName("beam"), Child(m_node, 1));
    EXPECT_EQ(m_node->FindPlateByName("host"), m_hostPlate);
    EXPECT_EQ(m_node->FindPlateByName("col"), nullptr);
    EXPECT_EQ(m_node->FindLinkBarByName("bar"), Child(m_node, 5));
    EXPECT_EQ(m_node->FindLinkBarByName("nested"), nullptr);
}

} // namespace
