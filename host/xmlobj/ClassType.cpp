#include <xmlobj/ClassType.h>

#include <algorithm>
#include <cstring>
#include <string_view>
#include <unordered_map>

namespace {
struct Registry {
    std::unordered_map<std::string_view, ClassType*> byIndex;
    std::vector<ClassType*> standby; // same-class registrations behind the ones in byIndex
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
        if (!inserted)
            r.standby.push_back(pType); // takes over if the registered one goes first
        m_bRegistered = true;
        return;
    }
    r.conflicts.push_back(std::string("class index ") + pType->m_lpszClassIndex + " of " +
                          pType->m_pRuntimeClass->m_lpszClassName + " is already registered for " +
                          existing->m_lpszClassName);
}

ClassTypeInit::~ClassTypeInit()
{
    if (!m_bRegistered)
        return;
    Registry& r = TheRegistry();
    auto it = r.byIndex.find(m_pType->m_lpszClassIndex);
    if (it == r.byIndex.end() || it->second != m_pType) {
        auto mine = std::find(r.standby.begin(), r.standby.end(), m_pType);
        if (mine != r.standby.end())
            r.standby.erase(mine);
        return;
    }
    r.byIndex.erase(it);
    // a registration of the same class that is still alive keeps the index
    auto same = std::find_if(r.standby.begin(), r.standby.end(), [this](const ClassType* t) {
        return std::strcmp(t->m_lpszClassIndex, m_pType->m_lpszClassIndex) == 0;
    });
    if (same != r.standby.end()) {
        r.byIndex.emplace((*same)->m_lpszClassIndex, *same);
        r.standby.erase(same);
    }
}

std::vector<std::string> ClassTypeInit::GetConflicts() { return TheRegistry().conflicts; }
