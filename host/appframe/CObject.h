#pragma once
#include <appframe/HostExport.h>

class CObject;

// The run-time record of a class: its name, size, schema, how to create one,
// and its base class's record.
struct KVHOST_API CRuntimeClass {
    // the class name, object size, schema number, factory (null when not creatable) and base class
    const char* m_lpszClassName;
    int m_nObjectSize;
    unsigned int m_wSchema;
    CObject* (*m_pfnCreateObject)();
    CRuntimeClass* m_pBaseClass;

    // a new object of the class, or null when the class is not creatable
    CObject* CreateObject() const;
    bool IsDerivedFrom(const CRuntimeClass* pBaseClass) const noexcept;
    // searches the classes of every registered module (CDynLinkLibrary)
    static CRuntimeClass* FromName(const char* lpszClassName) noexcept;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

// The root of every class with a run-time record.
class KVHOST_API CObject {
public:
    // the class's record; GetRuntimeClass gives the record of the object's most derived class
    static CRuntimeClass classCObject;
    static CRuntimeClass* GetThisClass() noexcept { return &classCObject; }
    virtual CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject();

    // true when the object's class is pClass or derives from it
    bool IsKindOf(const CRuntimeClass* pClass) const noexcept;

protected:
    CObject() = default;

private:
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};

// The run-time classes that one module contributes, listed while it is
// registered so that CRuntimeClass::FromName finds them.
struct AFX_EXTENSION_MODULE {
    // the module's name and its classes
    const char* m_lpszModuleName;
    CRuntimeClass* const* m_pClasses; // null-terminated
};

// Registers a module's classes for as long as the object lives: a module
// makes one static instance, so its classes come with it at load and go with
// it at unload.
class KVHOST_API CDynLinkLibrary {
public:
    // registers the module's classes until destroyed; the module must outlive it
    explicit CDynLinkLibrary(const AFX_EXTENSION_MODULE& module);
    ~CDynLinkLibrary();
    CDynLinkLibrary(const CDynLinkLibrary&) = delete;
    CDynLinkLibrary& operator=(const CDynLinkLibrary&) = delete;

private:
    const AFX_EXTENSION_MODULE& m_module;
};
