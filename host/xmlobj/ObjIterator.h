#pragma once
#include <xmlobj/ObjItemList.h>

// Walks the direct children of a composite in order:
// for (it->First(); !it->IsDone(); it->Next()) use(it->CurrentItem());
// CXMLBase::CreateIterator makes one and DeleteIterator frees it; it is valid
// while the composite's children stay as they are.
class KVHOST_API ObjIterator {
public:
    // A walk over a composite's list of children (null for none).
    explicit ObjIterator(const kvnodedefine::ObjItemList* pItems) noexcept : m_pItems(pItems), m_nPos(0) {}
    // Goes to the first child.
    void First() noexcept { m_nPos = 0; }
    // Goes to the next child.
    void Next() noexcept { ++m_nPos; }
    // True past the last child.
    bool IsDone() const noexcept { return !m_pItems || m_nPos >= m_pItems->GetCount(); }
    // The current child, or null when done.
    CXMLBase* CurrentItem() const noexcept { return IsDone() ? nullptr : (*m_pItems)[m_nPos].pObject; }
    // The current child's run-time class, or null when done.
    const CRuntimeClass* CurrentClass() const noexcept { return IsDone() ? nullptr : (*m_pItems)[m_nPos].pClass; }

private:
    const kvnodedefine::ObjItemList* m_pItems;
    int m_nPos;
};
