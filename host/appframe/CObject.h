#pragma once
#include <appframe/HostExport.h>

class CObject;

// The run-time record of a class: its name, size, schema, how to create one,
// and its base class's record.
struct KVHOST_API CRuntimeClass {
    const char* m_lpszClassName;     // the class's name, "CPlateDesc"
    int m_nObjectSize;               // sizeof the class
    unsigned int m_wSchema;          // the schema number, 1 for the library's classes
    CObject* (*m_pfnCreateObject)(); // makes a default object; null when the class is not creatable
    CRuntimeClass* m_pBaseClass;     // the base class's record, null for CObject

    // A new default object of the class, owned by the caller; null when the class is not creatable.
    CObject* CreateObject() const;
    // True when the class is pBaseClass or derives from it.
    bool IsDerivedFrom(const CRuntimeClass* pBaseClass) const noexcept;
    // The class of that name among the classes of every registered module
    // (CDynLinkLibrary), or null.
    static CRuntimeClass* FromName(const char* lpszClassName) noexcept;
};

// The run-time record of class_name: &class_name::classclass_name.
#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

// The root of every class with a run-time record.
class KVHOST_API CObject {
public:
    // The run-time record of CObject.
    static CRuntimeClass classCObject;
    // The run-time record of CObject.
    static CRuntimeClass* GetThisClass() noexcept { return &classCObject; }
    // The record of the object's most derived class.
    virtual CRuntimeClass* GetRuntimeClass() const;
    // Destroys the object through any base.
    virtual ~CObject();

    // True when the object's class is pClass or derives from it.
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
    const char* m_lpszModuleName;     // the module's name
    CRuntimeClass* const* m_pClasses; // its classes, null-terminated
};

// Registers a module's classes for as long as the object lives: a module
// makes one static instance, so its classes come with it at load and go with
// it at unload.
class KVHOST_API CDynLinkLibrary {
public:
    // Registers the module's classes until destroyed; the module must outlive it.
    explicit CDynLinkLibrary(const AFX_EXTENSION_MODULE& module);
    // Withdraws the module's classes.
    ~CDynLinkLibrary();
    CDynLinkLibrary(const CDynLinkLibrary&) = delete;
    CDynLinkLibrary& operator=(const CDynLinkLibrary&) = delete;

private:
    const AFX_EXTENSION_MODULE& m_module;
};
