#pragma once
#include <appframe/HostExport.h>

#include <vector>

class CXMLBase;
struct CRuntimeClass;

// Walks the direct children of a composite in order:
// for (it->First(); !it->IsDone(); it->Next()) use(it->CurrentItem());
class KVHOST_API ObjIterator {
public:
    // pClasses, when given, holds each item's run-time class
    explicit ObjIterator(const std::vector<CXMLBase*>* pItems,
                         const std::vector<const CRuntimeClass*>* pClasses = nullptr) noexcept
        : m_pItems(pItems), m_pClasses(pClasses), m_nPos(0)
    {
    }
    void First() noexcept { m_nPos = 0; }
    void Next() noexcept { ++m_nPos; }
    bool IsDone() const noexcept { return !m_pItems || m_nPos >= m_pItems->size(); }
    CXMLBase* CurrentItem() const noexcept { return IsDone() ? nullptr : (*m_pItems)[m_nPos]; }
    // the current item's run-time class without touching the item, or null when not known
    const CRuntimeClass* CurrentClass() const noexcept
    {
        return IsDone() || !m_pClasses ? nullptr : (*m_pClasses)[m_nPos];
    }

private:
    const std::vector<CXMLBase*>* m_pItems;
    const std::vector<const CRuntimeClass*>* m_pClasses;
    size_t m_nPos;
};
