#include <appframe/CObject.h>
#include <xmlobj/ClassType.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// CObject <- TestShape (not creatable) <- TestCircle (creatable), in a module of their own
struct TestShape : CObject {
    static CRuntimeClass classTestShape;
    CRuntimeClass* GetRuntimeClass() const override { return &classTestShape; }
};
struct TestCircle : TestShape {
    static CRuntimeClass classTestCircle;
    static CObject* CreateObject() { return new TestCircle; }
    CRuntimeClass* GetRuntimeClass() const override { return &classTestCircle; }
};
CRuntimeClass TestShape::classTestShape = {"TestShape", sizeof(TestShape), 1, nullptr, RUNTIME_CLASS(CObject)};
CRuntimeClass TestCircle::classTestCircle = {"TestCircle", sizeof(TestCircle), 1, &TestCircle::CreateObject,
                                             RUNTIME_CLASS(TestShape)};
CRuntimeClass* const g_testClasses[] = {RUNTIME_CLASS(TestShape), RUNTIME_CLASS(TestCircle), nullptr};
const AFX_EXTENSION_MODULE g_testModule = {"test", g_testClasses};

TEST(RuntimeClass, KindAndCreation)
{
    const TestCircle circle;
    for (CRuntimeClass* c : {RUNTIME_CLASS(TestCircle), RUNTIME_CLASS(TestShape), RUNTIME_CLASS(CObject)})
        EXPECT_TRUE(circle.IsKindOf(c)) << c->m_lpszClassName;
    EXPECT_FALSE(circle.IsKindOf(nullptr));
    EXPECT_FALSE(TestShape().IsKindOf(RUNTIME_CLASS(TestCircle)));

    EXPECT_EQ(RUNTIME_CLASS(TestShape)->CreateObject(), nullptr);
    std::unique_ptr<CObject> made(RUNTIME_CLASS(TestCircle)->CreateObject());
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->GetRuntimeClass(), RUNTIME_CLASS(TestCircle));
}

TEST(RuntimeClass, FromNameSearchesTheRegisteredModules)
{
    EXPECT_EQ(CRuntimeClass::FromName("TestCircle"), nullptr);
    {
        CDynLinkLibrary library(g_testModule);
        EXPECT_EQ(CRuntimeClass::FromName("TestShape"), RUNTIME_CLASS(TestShape));
        {
            CDynLinkLibrary again(g_testModule); // each detach undoes one attach
        }
        EXPECT_EQ(CRuntimeClass::FromName("TestCircle"), RUNTIME_CLASS(TestCircle));
    }
    EXPECT_EQ(CRuntimeClass::FromName("TestCircle"), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName("CObject"), RUNTIME_CLASS(CObject));
    EXPECT_EQ(CRuntimeClass::FromName(nullptr), nullptr);
}

// an index of this test's own, none the library registers
ClassType g_shape = {"test_1", RUNTIME_CLASS(TestShape), 0};
ClassType g_shapeAgain = {"test_1", RUNTIME_CLASS(TestShape), 0};
ClassType g_circleClaimingShape = {"test_1", RUNTIME_CLASS(TestCircle), 0};

// Registering the same class again is harmless, and the index lives while
// one registration does; another class for a taken index is refused and reported.
TEST(ClassType, RegistrationOfAnIndex)
{
    const size_t conflicts = ClassTypeInit::GetConflicts().size();
    {
        auto first = std::make_unique<ClassTypeInit>(&g_shape);
        EXPECT_EQ(ClassType::Lookup("test_12", 6), &g_shape);
        EXPECT_EQ(ClassType::Lookup("test_12"), nullptr);
        {
            ClassTypeInit again(&g_shapeAgain), sameRecord(&g_shape);
            EXPECT_TRUE(again.IsRegistered());
        }
        EXPECT_EQ(ClassType::Lookup("test_1"), &g_shape);
        EXPECT_EQ(ClassTypeInit::GetConflicts().size(), conflicts);

        EXPECT_FALSE(ClassTypeInit(&g_circleClaimingShape).IsRegistered());
        ASSERT_EQ(ClassTypeInit::GetConflicts().size(), conflicts + 1);
        for (const char* word : {"test_1", "TestCircle", "TestShape"})
            EXPECT_NE(ClassTypeInit::GetConflicts().back().find(word), std::string::npos) << word;

        ClassTypeInit again(&g_shapeAgain);
        first.reset(); // the one still alive keeps the index
        EXPECT_EQ(ClassType::Lookup("test_1"), &g_shapeAgain);
    }
    EXPECT_EQ(ClassType::Lookup("test_1"), nullptr);
}

} // namespace
