#pragma once
#include <appframe/HostExport.h>

#include <vector>

class CXMLBase;
struct CRuntimeClass;

// A child of a composite with its run-time class, kept beside it so that a
// walk can test the class without touching the child (in a large tree, a
// cache miss each).
struct ObjItem {
    // the child and its class
    CXMLBase* pObject;
    const CRuntimeClass* pClass;
};

// Walks the direct children of a composite in order:
// for (it->First(); !it->IsDone(); it->Next()) use(it->CurrentItem());
class KVHOST_API ObjIterator {
public:
    // the walk, over a composite's list of children (null for none)
    explicit ObjIterator(const std::vector<ObjItem>* pItems) noexcept : m_pItems(pItems), m_nPos(0) {}
    void First() noexcept { m_nPos = 0; }
    void Next() noexcept { ++m_nPos; }
    bool IsDone() const noexcept { return !m_pItems || m_nPos >= m_pItems->size(); }
    CXMLBase* CurrentItem() const noexcept { return IsDone() ? nullptr : (*m_pItems)[m_nPos].pObject; }
    // the current item's run-time class, or null when done
    const CRuntimeClass* CurrentClass() const noexcept { return IsDone() ? nullptr : (*m_pItems)[m_nPos].pClass; }

private:
    const std::vector<ObjItem>* m_pItems;
    size_t m_nPos;
};
