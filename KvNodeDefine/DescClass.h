#pragma once
#include <KvNodeDefine/KvExport.h>
#include <xmlobj/ClassType.h>

// The class records every persistent class carries: its run-time class, its
// ClassType (class index), its fold type and its creation. Write
// KV_DECLARE_CLASS(C) in the class body; the definitions come from one
// KV_IMPLEMENT_CLASS line per class in framework/Registry.cpp, which also
// registers the classes, in registry order, when the library loads.
#define KV_DECLARE_CLASS(C)                                                                                            \
public:                                                                                                                \
    static CRuntimeClass class##C;                                                                                     \
    static ClassType* m_pClassType;                                                                                    \
    static int m_FoldType;                                                                                             \
    static CRuntimeClass* GetThisClass() noexcept { return &class##C; }                                                \
    static ClassType* GetClassType() noexcept { return m_pClassType; }                                                 \
    static CObject* CreateObject();                                                                                    \
    CRuntimeClass* GetRuntimeClass() const override;                                                                   \
    CString GetClassIndex() const override;                                                                            \
    int GetFoldType() const override;                                                                                  \
    CObject* CreateNew() const override;                                                                               \
                                                                                                                       \
private:
