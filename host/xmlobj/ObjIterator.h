#pragma once
#include <appframe/HostExport.h>

#include <vector>

class CXMLBase;

// Walks the direct children of a composite in order:
// for (it->First(); !it->IsDone(); it->Next()) use(it->CurrentItem());
class KVHOST_API ObjIterator {
public:
    explicit ObjIterator(const std::vector<CXMLBase*>* pItems) noexcept : m_pItems(pItems), m_nPos(0) {}
    void First() noexcept { m_nPos = 0; }
    void Next() noexcept { ++m_nPos; }
    bool IsDone() const noexcept { return !m_pItems || m_nPos >= m_pItems->size(); }
    CXMLBase* CurrentItem() const noexcept { return IsDone() ? nullptr : (*m_pItems)[m_nPos]; }

private:
    const std::vector<CXMLBase*>* m_pItems;
    size_t m_nPos;
};
