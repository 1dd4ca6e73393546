// The class records of every persistent class, and their registration when
// the library loads: one line per class, in registry order.
#include <KvNodeDefine/KvNodeDefine.h>

#define KV_CLASSES(X)                                                                                                  \
    X(CBaseDesc, CXMLComposite, "8_8")                                                                                 \
    X(CBoltDesc, CBaseDesc, "8_17")                                                                                    \
    X(CBoltGroupDesc, CBaseDesc, "8_5")                                                                                \
    X(CBoltPlaneDesc, CBaseDesc, "8_16")                                                                               \
    X(CCutDesc, CBaseDesc, "8_2")                                                                                      \
    X(CDistDesc, CBaseDesc, "8_15")                                                                                    \
    X(CLineDesc, CBaseDesc, "8_13")                                                                                    \
    X(CLinkBarDesc, CBaseDesc, "8_7")                                                                                  \
    X(CNodeAttDef, CXMLComposite, "8_0")                                                                               \
    X(CNodeMemberDesc, CBaseDesc, "8_4")                                                                               \
    X(CNodeTypeDesc, CBaseDesc, "8_6")                                                                                 \
    X(CPlaneDesc, CBaseDesc, "8_1")                                                                                    \
    X(CPlateDesc, CBaseDesc, "8_3")                                                                                    \
    X(CPointDesc, CBaseDesc, "8_12")                                                                                   \
    X(CValueListDesc, CXMLBase, "8_11")                                                                                \
    X(CVarDesc, CBaseDesc, "8_10")                                                                                     \
    X(CVarItemDesc, CBaseDesc, "8_9")                                                                                  \
    X(CVecDesc, CBaseDesc, "8_14")

#define KV_IMPLEMENT_CLASS(C, Base, index)                                                                             \
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

#define KV_RUNTIME_CLASS(C, Base, index) RUNTIME_CLASS(C),

KV_CLASSES(KV_IMPLEMENT_CLASS)

namespace {
CRuntimeClass* const g_classes[] = {KV_CLASSES(KV_RUNTIME_CLASS) nullptr};
const AFX_EXTENSION_MODULE g_module = {"KvNodeDefine", g_classes};
// registers the classes with the framework while the library is loaded
CDynLinkLibrary g_library(g_module);
} // namespace
