#include <xmlobj/ClassType.h>

#include <cstring>
#include <string_view>
#include <unordered_map>

namespace {
struct Registry {
    std::unordered_map<std::string_view, ClassType*> byIndex;
    std::vector<std::string> conflicts;
};

// Built on first use (no static set-up can reach it before it exists) and
// never destroyed (no unload can reach it after).
Registry& TheRegistry()
{
    static auto* registry = new Registry;
    return *registry;
}
} // namespace

ClassType* ClassType::Lookup(const char* pszClassIndex) noexcept
{
    return pszClassIndex ? Lookup(pszClassIndex, std::strlen(pszClassIndex)) : nullptr;
}

ClassType* ClassType::Lookup(const char* pch, size_t nLength) noexcept
{
    const auto& map = TheRegistry().byIndex;
    auto it = map.find(std::string_view(pch, nLength));
    return it == map.end() ? nullptr : it->second;
}

ClassTypeInit::ClassTypeInit(ClassType* pType) : m_pType(pType), m_bRegistered(false)
{
    Registry& r = TheRegistry();
    auto [it, inserted] = r.byIndex.emplace(pType->m_lpszClassIndex, pType);
    const CRuntimeClass* existing = it->second->m_pRuntimeClass;
    if (inserted || existing == pType->m_pRuntimeClass) {
        m_bRegistered = inserted;
        return;
    }
    r.conflicts.push_back(std::string("class index ") + pType->m_lpszClassIndex + " of " +
                          pType->m_pRuntimeClass->m_lpszClassName + " is already registered for " +
                          existing->m_lpszClassName);
}

ClassTypeInit::~ClassTypeInit()
{
    if (m_bRegistered)
        TheRegistry().byIndex.erase(m_pType->m_lpszClassIndex);
}

std::vector<std::string> ClassTypeInit::GetConflicts() { return TheRegistry().conflicts; }
