#pragma once
#include <KvNodeDefine/KvExport.h>
#include <xmlobj/ClassType.h>

// The class records every persistent class C carries, declared by
// KV_DECLARE_CLASS(C) in its body:
// - classC: its run-time class record (name "C", schema 1, its base's record);
// - m_pClassType: its ClassType, which holds its class index ("8_3");
// - m_FoldType: -1;
// - static GetThisClass(): &classC; static GetClassType(): m_pClassType;
// - static CreateObject(): a new default C, owned by the caller;
// - GetRuntimeClass(): &classC; GetClassIndex(): a new text holding the
//   class index; GetFoldType(): m_FoldType; CreateNew(): CreateObject(), a
//   fresh object, not a copy.
// The definitions come from one line per class in framework/Registry.cpp,
// which also registers the classes, in registry order, when the library loads.
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
