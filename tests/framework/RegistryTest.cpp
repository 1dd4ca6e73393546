// The class records of the 18 persistent classes and their registration.
#include "support/NodeTestUtil.h"

#include <set>

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
    ROW(CBaseDesc, "8_8", CXMLComposite),   ROW(CBoltDesc, "8_17", CBaseDesc),
    ROW(CBoltGroupDesc, "8_5", CBaseDesc),  ROW(CBoltPlaneDesc, "8_16", CBaseDesc),
    ROW(CCutDesc, "8_2", CBaseDesc),        ROW(CDistDesc, "8_15", CBaseDesc),
    ROW(CLineDesc, "8_13", CBaseDesc),      ROW(CLinkBarDesc, "8_7", CBaseDesc),
    ROW(CNodeAttDef, "8_0", CXMLComposite), ROW(CNodeMemberDesc, "8_4", CBaseDesc),
    ROW(CNodeTypeDesc, "8_6", CBaseDesc),   ROW(CPlaneDesc, "8_1", CBaseDesc),
    ROW(CPlateDesc, "8_3", CBaseDesc),      ROW(CPointDesc, "8_12", CBaseDesc),
    ROW(CValueListDesc, "8_11", CXMLBase),  ROW(CVarDesc, "8_10", CBaseDesc),
    ROW(CVarItemDesc, "8_9", CBaseDesc),    ROW(CVecDesc, "8_14", CBaseDesc),
};
#undef ROW

class RegistryTest : public ::testing::TestWithParam<ClassRow> {};

TEST_P(RegistryTest, ClassRecords)
{
    const ClassRow& row = GetParam();
    EXPECT_STREQ(row.runtimeClass->m_lpszClassName, row.name);
    EXPECT_EQ(row.runtimeClass->m_wSchema, 1u);
    EXPECT_EQ(row.runtimeClass->m_pBaseClass, row.base);
    EXPECT_TRUE(row.runtimeClass->IsDerivedFrom(RUNTIME_CLASS(CXMLBase)));
    EXPECT_STREQ(row.classType->m_lpszClassIndex, row.index);
    EXPECT_EQ(row.classType->m_pRuntimeClass, row.runtimeClass);
    EXPECT_EQ(ClassType::Lookup(row.index), row.classType);
    EXPECT_EQ(CRuntimeClass::FromName(row.name), row.runtimeClass);
}

TEST_P(RegistryTest, ObjectsMadeByIndexAndByName)
{
    const ClassRow& row = GetParam();
    std::unique_ptr<CObject> byIndex(ClassType::Lookup(row.index)->m_pRuntimeClass->CreateObject());
    std::unique_ptr<CObject> byName(CRuntimeClass::FromName(row.name)->CreateObject());
    for (CObject* object : {byIndex.get(), byName.get()}) {
        ASSERT_NE(object, nullptr);
        EXPECT_EQ(object->GetRuntimeClass(), row.runtimeClass);
        for (const CRuntimeClass* c = row.runtimeClass; c; c = c->m_pBaseClass)
            EXPECT_TRUE(object->IsKindOf(c)) << c->m_lpszClassName;
        ASSERT_TRUE(object->IsKindOf(RUNTIME_CLASS(CXMLBase)));
        auto* xml = static_cast<CXMLBase*>(object);
        EXPECT_EQ(kvtest::Str(xml->GetClassIndex()), row.index);
        EXPECT_EQ(xml->GetFoldType(), -1);
    }
}

TEST_P(RegistryTest, CreateNewGivesAFreshObjectOfTheSameClass)
{
    const ClassRow& row = GetParam();
    std::unique_ptr<CXMLBase> original(static_cast<CXMLBase*>(row.runtimeClass->CreateObject()));
    auto* desc = original->IsKindOf(RUNTIME_CLASS(CBaseDesc)) ? static_cast<CBaseDesc*>(original.get()) : nullptr;
    if (desc) {
        desc->SetName("named");
        desc->SetShowName("shown");
    }
    std::unique_ptr<CObject> fresh(original->CreateNew());
    ASSERT_NE(fresh, nullptr);
    EXPECT_NE(fresh.get(), original.get());
    EXPECT_EQ(fresh->GetRuntimeClass(), row.runtimeClass);
    if (desc) {
        EXPECT_EQ(kvtest::Str(static_cast<CBaseDesc*>(fresh.get())->GetName()), "");
        EXPECT_EQ(kvtest::Str(static_cast<CBaseDesc*>(fresh.get())->GetShowName()), "");
    }
}

INSTANTIATE_TEST_SUITE_P(AllClasses, RegistryTest, ::testing::ValuesIn(kClasses),
                         [](const ::testing::TestParamInfo<ClassRow>& info) { return std::string(info.param.name); });

TEST(Registry, IndicesFrom0To17NameEighteenClasses)
{
    std::set<const CRuntimeClass*> classes;
    for (int n = 0; n < 18; ++n) {
        const std::string index = "8_" + std::to_string(n);
        const ClassType* type = ClassType::Lookup(index.c_str());
        ASSERT_NE(type, nullptr) << index;
        EXPECT_TRUE(classes.insert(type->m_pRuntimeClass).second) << index << " names a class twice";
    }
    EXPECT_EQ(ClassType::Lookup("8_18"), nullptr);
    EXPECT_TRUE(ClassTypeInit::GetConflicts().empty());
}

} // namespace
