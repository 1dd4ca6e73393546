#pragma once
#include <appframe/CObject.h>

#include <string>
#include <vector>

// The record that ties a class index (the "classtype" attribute, "8_3") to a
// run-time class, so that a reader can create the object an element stands for.
struct KVHOST_API ClassType {
    // the class index ("8_3"), the class it stands for, and a field no one reads
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
    // registers the record until destroyed
    explicit ClassTypeInit(ClassType* pType);
    ~ClassTypeInit();
    ClassTypeInit(const ClassTypeInit&) = delete;
    ClassTypeInit& operator=(const ClassTypeInit&) = delete;

    // whether this registrar's index was taken; the indices refused so far, as messages
    bool IsRegistered() const noexcept { return m_bRegistered; }
    static std::vector<std::string> GetConflicts();

private:
    ClassType* m_pType;
    bool m_bRegistered;
};
