#pragma once
#include <xmlobj/ObjItemList.h>

// Walks the direct children of a composite in order:
// for (it->First(); !it->IsDone(); it->Next()) use(it->CurrentItem());
class KVHOST_API ObjIterator {
public:
    // the walk, over a composite's list of children (null for none)
    explicit ObjIterator(const ObjItemList* pItems) noexcept : m_pItems(pItems), m_nPos(0) {}
    void First() noexcept { m_nPos = 0; }
    void Next() noexcept { ++m_nPos; }
    bool IsDone() const noexcept { return !m_pItems || m_nPos >= m_pItems->GetCount(); }
    CXMLBase* CurrentItem() const noexcept { return IsDone() ? nullptr : (*m_pItems)[m_nPos].pObject; }
    // the current item's run-time class, or null when done
    const CRuntimeClass* CurrentClass() const noexcept { return IsDone() ? nullptr : (*m_pItems)[m_nPos].pClass; }

private:
    const ObjItemList* m_pItems;
    int m_nPos;
};
