// The class records of the 18 persistent classes and their registration.
#include "support/DescTestUtil.h"

#include <iterator>
#include <memory>

namespace {

struct ClassRow {
    const char* name;
    const char* index;
    CRuntimeClass* runtimeClass;
    ClassType* classType;
    CRuntimeClass* base;
};

#define ROW(C, index, Base) ClassRow{#C, index, RUNTIME_CLASS(C), C::GetClassType(), RUNTIME_CLASS(Base)}
const ClassRow kClasses[] = {
    ROW(CNodeAttDef, "8_0", CXMLComposite), ROW(CPlaneDesc, "8_1", CBaseDesc),
    ROW(CCutDesc, "8_2", CBaseDesc),        ROW(CPlateDesc, "8_3", CBaseDesc),
    ROW(CNodeMemberDesc, "8_4", CBaseDesc), ROW(CBoltGroupDesc, "8_5", CBaseDesc),
    ROW(CNodeTypeDesc, "8_6", CBaseDesc),   ROW(CLinkBarDesc, "8_7", CBaseDesc),
    ROW(CBaseDesc, "8_8", CXMLComposite),   ROW(CVarItemDesc, "8_9", CBaseDesc),
    ROW(CVarDesc, "8_10", CBaseDesc),       ROW(CValueListDesc, "8_11", CXMLBase),
    ROW(CPointDesc, "8_12", CBaseDesc),     ROW(CLineDesc, "8_13", CBaseDesc),
    ROW(CVecDesc, "8_14", CBaseDesc),       ROW(CDistDesc, "8_15", CBaseDesc),
    ROW(CBoltPlaneDesc, "8_16", CBaseDesc), ROW(CBoltDesc, "8_17", CBaseDesc),
};
#undef ROW

class RegistryTest : public ::testing::TestWithParam<ClassRow> {};

// Objects made by class index, by class name and by CreateNew are fresh ones of the class.
TEST_P(RegistryTest, ClassRecordsAndCreation)
{
    const ClassRow& row = GetParam();
    EXPECT_STREQ(row.runtimeClass->m_lpszClassName, row.name);
    EXPECT_EQ(row.runtimeClass->m_wSchema, 1u);
    EXPECT_EQ(row.runtimeClass->m_pBaseClass, row.base);
    EXPECT_STREQ(row.classType->m_lpszClassIndex, row.index);
    EXPECT_EQ(row.classType->m_pRuntimeClass, row.runtimeClass);
    EXPECT_EQ(ClassType::Lookup(row.index), row.classType);
    EXPECT_EQ(CRuntimeClass::FromName(row.name), row.runtimeClass);

    std::unique_ptr<CObject> byIndex(ClassType::Lookup(row.index)->m_pRuntimeClass->CreateObject());
    std::unique_ptr<CObject> byName(CRuntimeClass::FromName(row.name)->CreateObject());
    ASSERT_TRUE(byIndex && byName);
    auto* named = kvtest::As<CBaseDesc>(static_cast<CXMLBase*>(byName.get()));
    if (named)
        named->SetName("named");
    std::unique_ptr<CObject> fresh(static_cast<CXMLBase*>(byName.get())->CreateNew());
    for (CObject* object : {byIndex.get(), byName.get(), fresh.get()}) {
        ASSERT_NE(object, nullptr);
        EXPECT_EQ(object->GetRuntimeClass(), row.runtimeClass);
        ASSERT_TRUE(object->IsKindOf(RUNTIME_CLASS(CXMLBase)));
        EXPECT_EQ(kvtest::Str(static_cast<CXMLBase*>(object)->GetClassIndex()), row.index);
        EXPECT_EQ(static_cast<CXMLBase*>(object)->GetFoldType(), -1);
        // a host may call the refreshes itself: they succeed, as a load and a save rely on
        EXPECT_TRUE(static_cast<CXMLBase*>(object)->RefreshAttListWithMember());
        EXPECT_TRUE(static_cast<CXMLBase*>(object)->RefreshMemberWithAttList());
    }
    EXPECT_NE(fresh.get(), byName.get());
    if (named) {
        EXPECT_EQ(kvtest::Str(static_cast<CBaseDesc&>(*fresh).GetName()), "");
    }
}

INSTANTIATE_TEST_SUITE_P(AllClasses, RegistryTest, ::testing::ValuesIn(kClasses),
                         [](const ::testing::TestParamInfo<ClassRow>& info) { return std::string(info.param.name); });

// The table above holds indices 8_0 to 8_17, each for its own class.
TEST(Registry, NoOtherIndexAndNoConflicts)
{
    EXPECT_EQ(ClassType::Lookup("8_18"), nullptr);
    EXPECT_TRUE(ClassTypeInit::GetConflicts().empty());
}

// What tools learn of each class: its index, whether it is a construction, and the lists its children are in.
TEST(Registry, RegisteredClassesTellToolsTheFormat)
{
    ASSERT_EQ(kvnodedefine::RegisteredClasses().size(), std::size(kClasses));
    for (const ClassRow& row : kClasses) {
        const kvnodedefine::RegisteredClass* c = kvnodedefine::FindRegisteredClass(row.runtimeClass);
        ASSERT_TRUE(c) << row.name;
        EXPECT_STREQ(c->index, row.index);
        EXPECT_TRUE(c->noun && *c->noun) << row.name;
        const std::unique_ptr<CObject> sample(row.runtimeClass->CreateObject());
        const bool construction = sample->IsKindOf(RUNTIME_CLASS(CPointDesc)) ||
                                  sample->IsKindOf(RUNTIME_CLASS(CLineDesc)) ||
                                  sample->IsKindOf(RUNTIME_CLASS(CPlaneDesc)) ||
                                  sample->IsKindOf(RUNTIME_CLASS(CVecDesc)) || sample->IsKindOf(RUNTIME_CLASS(CDistDesc));
        EXPECT_EQ(c->constructionTypes != nullptr, construction) << row.name;
    }
    EXPECT_EQ(kvnodedefine::FindRegisteredClass(RUNTIME_CLASS(CPlaneDesc))->constructionTypes, &CPlaneDesc::Types());
    EXPECT_EQ(kvnodedefine::FindRegisteredClass(RUNTIME_CLASS(CXMLComposite)), nullptr);
    // a child list for every getter, in getter order; a document's root holds the node types
    const auto children = [](CRuntimeClass* cls) {
        std::string s;
        for (CRuntimeClass* child : kvnodedefine::FindRegisteredClass(cls)->children)
            s += (s.empty() ? "" : " ") + std::string(child->m_lpszClassName);
        return s;
    };
    EXPECT_EQ(children(RUNTIME_CLASS(CNodeAttDef)), "CNodeTypeDesc");
    EXPECT_EQ(children(RUNTIME_CLASS(CLinkBarDesc)), "CPlaneDesc CCutDesc");
    EXPECT_EQ(children(RUNTIME_CLASS(CVarDesc)), "CValueListDesc");
    EXPECT_EQ(children(RUNTIME_CLASS(CCutDesc)), "");
}

// What a new object of each class holds and saves, in the class's attribute order.
TEST(Registry, NewObjectsOfEveryClass)
{
    CNodeAttDef root;
    for (const ClassRow& row : kClasses)
        root.Add(static_cast<CXMLBase*>(row.runtimeClass->CreateObject()));
    kvtest::ExpectDescription(root, "framework/new_objects");
}

} // namespace
