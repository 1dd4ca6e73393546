#include <appframe/CObject.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <vector>

CRuntimeClass CObject::classCObject = {"CObject", sizeof(CObject), 0xFFFF, nullptr, nullptr};

CRuntimeClass* CObject::GetRuntimeClass() const { return &classCObject; }
CObject::~CObject() = default;

bool CObject::IsKindOf(const CRuntimeClass* pClass) const noexcept
{
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

CObject* CRuntimeClass::CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const noexcept
{
    for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass)
        if (c == pBaseClass)
            return true;
    return false;
}

namespace {
// Built on first use so that no module's static set-up can run before it
// exists, and never destroyed so that no module's unload can run after it.
std::vector<const AFX_EXTENSION_MODULE*>& Modules()
{
    static auto* modules = new std::vector<const AFX_EXTENSION_MODULE*>;
    return *modules;
}

CRuntimeClass* const g_hostClasses[] = {&CObject::classCObject, nullptr};
const AFX_EXTENSION_MODULE g_hostModule = {"appframe", g_hostClasses};
CDynLinkLibrary g_hostLibrary(g_hostModule);
} // namespace

CRuntimeClass* CRuntimeClass::FromName(const char* lpszClassName) noexcept
{
    if (!lpszClassName)
        return nullptr;
    for (const AFX_EXTENSION_MODULE* m : Modules())
        for (CRuntimeClass* const* c = m->m_pClasses; *c; ++c)
            if (std::strcmp((*c)->m_lpszClassName, lpszClassName) == 0)
                return *c;
    return nullptr;
}

CDynLinkLibrary::CDynLinkLibrary(const AFX_EXTENSION_MODULE& module) : m_module(module)
{
    Modules().push_back(&module);
}

CDynLinkLibrary::~CDynLinkLibrary()
{
    // a module may be attached more than once: each detach undoes one attach
    auto& modules = Modules();
    auto it = std::find(modules.rbegin(), modules.rend(), &m_module);
    if (it != modules.rend())
        modules.erase(std::next(it).base());
}
