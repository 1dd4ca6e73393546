#include "support/NodeTestUtil.h"

using kvtest::Att;
using kvtest::Str;
using Items = std::vector<std::string>;

namespace {

CNodeTypeDesc Typed(int code) { return CNodeTypeDesc("n", "N", static_cast<LinkSmallType>(code)); }

TEST(CNodeTypeDesc, WholeTypeIsTheTenThousandsDigitFrom2To4)
{
    const struct {
        int nodeType;
        int whole;
    } cases[] = {
        {0, 1},     {10000, 1}, {19999, 1}, {20000, 2}, {29999, 2},  {30000, 3},
        {49999, 4}, {50000, 1}, {99999, 1}, {-20000, 1}, {-25000, 1}, {-40000, 1},
    };
    for (const auto& c : cases) {
        const CNodeTypeDesc node = Typed(c.nodeType);
        EXPECT_EQ(node.GetNodeType(), c.nodeType);
        EXPECT_EQ(node.GetLinkWholeType(), c.whole) << c.nodeType;
        EXPECT_EQ(node.GetLinkBigType(), 101);
    }
    EXPECT_EQ(CNodeTypeDesc().GetNodeType(), 0);
}

TEST(CNodeTypeDesc, NodeTypeIsSavedInDecimalAndLoadedByAtoi)
{
    const struct {
        const char* loaded;
        int nodeType;
        const char* saved;
    } cases[] = {
        {"20101", 20101, "20101"}, {"-25000", -25000, "-25000"}, {" 042", 42, "42"},
        {"3e4", 3, "3"},           {"abc", 0, "0"},              {"", 0, "0"},
    };
    for (const auto& c : cases) {
        CNodeTypeDesc node;
        kvtest::Reload(node, {{"nodetype", c.loaded}});
        EXPECT_EQ(node.GetNodeType(), c.nodeType) << '"' << c.loaded << '"';
        node.RefreshAttListWithMember();
        EXPECT_EQ(Att(node, "nodetype"), c.saved);
    }
    CNodeTypeDesc node = Typed(7);
    node.RefreshAttListWithMember();
    EXPECT_EQ(kvtest::AttNames(node), (Items{"name", "showname", "nodetype"}));
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
        m_node = kvtest::Load<CNodeTypeDesc>(R"(
<CNodeTypeDesc name="node" nodetype="20101">
  <CNodeMemberDesc name="col" showname="first"/>
  <CPlateDesc name="beam"/>
  <!-- comments and unknown elements are children too -->
  <CNodeMemberDesc name="brace"/>
  <CNodeMemberDesc name="col" showname="second"/>
  <CLinkBarDesc name="bar"><CPlaneDesc name="nested"/></CLinkBarDesc>
  <CBoltGroupDesc name="group"/>
  <CBoltDesc name="bolt"/>
  <CVarItemDesc name="vars"/>
  <CPointDesc name="pt"/>
  <CLineDesc name="ln"/>
  <CPlaneDesc name="pl"/>
  <CVecDesc name="vec"/>
  <CDistDesc name="dist"/>
  <CCutDesc name="cut"/>
  <HostOnly name="col"/>
</CNodeTypeDesc>)");
        ASSERT_TRUE(m_node);
        m_hostPlate = new HostPlate;
        m_hostPlate->SetName("host");
        m_node->Add(m_hostPlate);
    }

    std::unique_ptr<CNodeTypeDesc> m_node;
    HostPlate* m_hostPlate = nullptr;
};

// Lists keep what the array held and append in child order, every call.
template <class T>
void ExpectList(const CNodeTypeDesc& node, bool (CNodeTypeDesc::*list)(AcArray<T*>&) const, const Items& names)
{
    SCOPED_TRACE(T::GetThisClass()->m_lpszClassName);
    AcArray<T*> items;
    items.append(nullptr);
    ASSERT_TRUE((node.*list)(items));
    ASSERT_TRUE((node.*list)(items));
    Items expected{"(null)"};
    expected.insert(expected.end(), names.begin(), names.end());
    expected.insert(expected.end(), names.begin(), names.end());
    EXPECT_EQ(kvtest::Names(items), expected);
}

TEST_F(NodeChildren, ListsTakeDirectChildrenOfTheirClass)
{
    const CNodeTypeDesc& node = *m_node;
    ExpectList(node, &CNodeTypeDesc::GetMemberDescArray, {"col", "brace", "col"});
    ExpectList(node, &CNodeTypeDesc::GetPlateDescArray, {"beam", "host"});
    ExpectList(node, &CNodeTypeDesc::GetBoltGroupDescArray, {"group"});
    ExpectList(node, &CNodeTypeDesc::GetBoltDescArray, {"bolt"});
    ExpectList(node, &CNodeTypeDesc::GetLinkBarDescArray, {"bar"});
    ExpectList(node, &CNodeTypeDesc::GetVarItemDescArray, {"vars"});
    ExpectList(node, &CNodeTypeDesc::GetPointDescArray, {"pt"});
    ExpectList(node, &CNodeTypeDesc::GetLineDescArray, {"ln"});
    ExpectList(node, &CNodeTypeDesc::GetPlaneDescArray, {"pl"});
    ExpectList(node, &CNodeTypeDesc::GetVecDescArray, {"vec"});
    ExpectList(node, &CNodeTypeDesc::GetDistDescArray, {"dist"});
}

TEST_F(NodeChildren, LookupsFindTheFirstExactNameOfTheirClass)
{
    const CNodeMemberDesc* col = m_node->FindMemberByName("col");
    ASSERT_NE(col, nullptr);
    EXPECT_EQ(Str(col->GetShowName()), "first");
    EXPECT_EQ(m_node->FindMemberByName("brace"), m_node->GetChild(3));
    for (const char* other : {"COL", "co", "col ", "", "beam", "bar"})
        EXPECT_EQ(m_node->FindMemberByName(other), nullptr) << '"' << other << '"';

    EXPECT_EQ(m_node->FindPlateByName("beam"), m_node->GetChild(1));
    EXPECT_EQ(m_node->FindPlateByName("host"), m_hostPlate);
    EXPECT_EQ(m_node->FindPlateByName("col"), nullptr);
    EXPECT_EQ(m_node->FindLinkBarByName("bar"), m_node->GetChild(5));
    EXPECT_EQ(m_node->FindLinkBarByName("nested"), nullptr);
}

TEST_F(NodeChildren, CopyAndAssignmentTakeOnlyTheNodeTypeCode)
{
    const CNodeTypeDesc copy(*m_node);
    EXPECT_EQ(copy.GetNodeType(), 20101);
    EXPECT_EQ(Str(copy.GetName()), "");
    EXPECT_EQ(copy.GetChildCount(), 0);

    CNodeTypeDesc target("target", "Target", static_cast<LinkSmallType>(40000));
    target.Add(new CPlateDesc);
    target = *m_node;
    EXPECT_EQ(target.GetNodeType(), 20101);
    EXPECT_EQ(Str(target.GetName()), "target");
    EXPECT_EQ(Str(target.GetShowName()), "Target");
    EXPECT_EQ(target.GetChildCount(), 1);
}

} // namespace
