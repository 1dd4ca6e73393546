// The class records of every persistent class, and their registration when
// the library loads: one line per class, in registry order, with the noun
// that names one of its objects in messages.
#include <KvNodeDefine/ClassRegistry.h>
#include <KvNodeDefine/KvNodeDefine.h>

#define KV_CLASSES(X)                                                                                                  \
    X(CBaseDesc, CXMLComposite, "8_8", "descriptor")                                                                   \
    X(CBoltDesc, CBaseDesc, "8_17", "bolt")                                                                            \
    X(CBoltGroupDesc, CBaseDesc, "8_5", "bolt group")                                                                  \
    X(CBoltPlaneDesc, CBaseDesc, "8_16", "bolt plane")                                                                 \
    X(CCutDesc, CBaseDesc, "8_2", "cut")                                                                               \
    X(CDistDesc, CBaseDesc, "8_15", "distance")                                                                        \
    X(CLineDesc, CBaseDesc, "8_13", "line")                                                                            \
    X(CLinkBarDesc, CBaseDesc, "8_7", "link bar")                                                                      \
    X(CNodeAttDef, CXMLComposite, "8_0", "document root")                                                              \
    X(CNodeMemberDesc, CBaseDesc, "8_4", "member")                                                                     \
    X(CNodeTypeDesc, CBaseDesc, "8_6", "node type")                                                                    \
    X(CPlaneDesc, CBaseDesc, "8_1", "plane")                                                                           \
    X(CPlateDesc, CBaseDesc, "8_3", "plate")                                                                           \
    X(CPointDesc, CBaseDesc, "8_12", "point")                                                                          \
    X(CValueListDesc, CXMLBase, "8_11", "value list")                                                                  \
    X(CVarDesc, CBaseDesc, "8_10", "variable")                                                                         \
    X(CVarItemDesc, CBaseDesc, "8_9", "variable item")                                                                 \
    X(CVecDesc, CBaseDesc, "8_14", "vector")

#define KV_IMPLEMENT_CLASS(C, Base, index, noun)                                                                             \
    CRuntimeClass C::class##C = {#C, static_cast<int>(sizeof(C)), 1, &C::CreateObject, RUNTIME_CLASS(Base)};           \
    static ClassType s_type##C = {index, RUNTIME_CLASS(C), 0};                                                         \
    ClassType* C::m_pClassType = &s_type##C;                                                                           \
    int C::m_FoldType = -1;                                                                                            \
    CObject* C::CreateObject() { return new C; }                                                                       \
    CRuntimeClass* C::GetRuntimeClass() const { return &class##C; }                                                    \
    CString C::GetClassIndex() const                                                                                   \
    {                                                                                                                  \
        /* never destroyed, or its immortal buffer would be lost at exit */                                            \
        static const CString& text = *new CString(CString::Immortal(index, static_cast<int>(sizeof(index) - 1)));      \
        return text;                                                                                                   \
    }                                                                                                                  \
    int C::GetFoldType() const { return m_FoldType; }                                                                  \
    CObject* C::CreateNew() const { return CreateObject(); }                                                           \
    static ClassTypeInit s_init##C(C::m_pClassType);

#define KV_RUNTIME_CLASS(C, Base, index, noun) RUNTIME_CLASS(C),

KV_CLASSES(KV_IMPLEMENT_CLASS)

namespace {
CRuntimeClass* const g_classes[] = {KV_CLASSES(KV_RUNTIME_CLASS) nullptr};
const AFX_EXTENSION_MODULE g_module = {"KvNodeDefine", g_classes};
// registers the classes with the framework while the library is loaded
CDynLinkLibrary g_library(g_module);
} // namespace

namespace {

// a construction's table of types, for the classes that have one
template <class C>
auto TypesOf(int) -> decltype(&C::Types())
{
    return &C::Types();
}
template <class C>
const SteelSystem::EnumTable* TypesOf(long)
{
    return nullptr;
}

#define KV_REGISTERED_CLASS(C, Base, index, noun) {RUNTIME_CLASS(C), index, noun, {}, TypesOf<C>(0)},
#define KV_CHILD_LIST(Parent, Child) {RUNTIME_CLASS(Parent), RUNTIME_CLASS(Child)},

std::vector<kvnodedefine::RegisteredClass> MakeRegisteredClasses()
{
    std::vector<kvnodedefine::RegisteredClass> classes = {KV_CLASSES(KV_REGISTERED_CLASS)};
    const std::pair<CRuntimeClass*, CRuntimeClass*> lists[] = {
        {RUNTIME_CLASS(CNodeAttDef), RUNTIME_CLASS(CNodeTypeDesc)}, KV_CHILD_LISTS(KV_CHILD_LIST)};
    for (const auto& list : lists)
        for (kvnodedefine::RegisteredClass& c : classes)
            if (c.cls == list.first)
                c.children.push_back(list.second);
    return classes;
}

} // namespace

const std::vector<kvnodedefine::RegisteredClass>& kvnodedefine::RegisteredClasses()
{
    static const std::vector<RegisteredClass> classes = MakeRegisteredClasses();
    return classes;
}

const kvnodedefine::RegisteredClass* kvnodedefine::FindRegisteredClass(const CRuntimeClass* cls)
{
    for (const RegisteredClass& c : RegisteredClasses())
        if (c.cls == cls)
            return &c;
    return nullptr;
}
