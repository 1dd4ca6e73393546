#pragma once
#include <appframe/CObject.h>

#include <string>
#include <vector>

// The record that ties a class index (the "classtype" attribute, "8_3") to a
// run-time class, so that a reader can create the object an element stands for.
struct KVHOST_API ClassType {
    const char* m_lpszClassIndex;
    CRuntimeClass* m_pRuntimeClass;
    int m_nReserved;

    // the record registered under a class index, or null
    static ClassType* Lookup(const char* pszClassIndex) noexcept;
    static ClassType* Lookup(const char* pch, size_t nLength) noexcept;
};

// Registers a ClassType for as long as it lives; a module keeps one static
// registrar per class. Registering an index again for the same class is
// harmless (the index stays registered while any of its registrars lives);
// for another class it is refused and reported by GetConflicts.
class KVHOST_API ClassTypeInit {
public:
    explicit ClassTypeInit(ClassType* pType);
    ~ClassTypeInit();
    ClassTypeInit(const ClassTypeInit&) = delete;
    ClassTypeInit& operator=(const ClassTypeInit&) = delete;

    bool IsRegistered() const noexcept { return m_bRegistered; }
    static std::vector<std::string> GetConflicts();

private:
    ClassType* m_pType;
    bool m_bRegistered;
};
