#pragma once
#include <appframe/CObject.h>

#include <string>
#include <vector>

// The record that ties a class index (the "classtype" attribute, "8_3") to a
// run-time class, so that a reader can create the object an element stands for.
struct KVHOST_API ClassType {
    const char* m_lpszClassIndex;   // the class index, "8_3"
    CRuntimeClass* m_pRuntimeClass; // the class it stands for
    int m_nReserved;                // a word no one reads: 0

    // The record registered under a class index, or null.
    static ClassType* Lookup(const char* pszClassIndex) noexcept;
    // The record registered under the nLength bytes at pch, or null.
    static ClassType* Lookup(const char* pch, size_t nLength) noexcept;
};

// Registers a ClassType for as long as it lives; a module keeps one static
// registrar per class, so its classes come with it at load and go with it at
// unload. Registering an index again for the same class is harmless (the
// index stays registered while any of its registrars lives); for another
// class it is refused and reported by GetConflicts.
class KVHOST_API ClassTypeInit {
public:
    // Registers the record until destroyed.
    explicit ClassTypeInit(ClassType* pType);
    // Withdraws the registration.
    ~ClassTypeInit();
    ClassTypeInit(const ClassTypeInit&) = delete;
    ClassTypeInit& operator=(const ClassTypeInit&) = delete;

    // Whether this registrar's index was taken.
    bool IsRegistered() const noexcept { return m_bRegistered; }
    // The registrations refused so far, as messages.
    static std::vector<std::string> GetConflicts();

private:
    ClassType* m_pType;
    bool m_bRegistered;
};
