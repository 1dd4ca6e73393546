#pragma once
#include <appframe/HostExport.h>

#include <cassert>
#include <cstddef>

class CXMLBase;
struct CRuntimeClass;

namespace kvnodedefine {

// A child of a composite with its run-time class, kept beside it so that a
// walk can test the class without touching the child (in a large tree, a
// cache miss each).
struct ObjItem {
    CXMLBase* pObject;           // the child
    const CRuntimeClass* pClass; // its run-time class
};

// The children of a composite in order, as ObjIterator walks them: one
// block of its own, no standard container in an exported layout. It holds
// the items, not the children they point to; the composite owns those.
class KVHOST_API ObjItemList {
public:
    // An empty list.
    ObjItemList() noexcept = default;
    // Frees the block (not the children).
    ~ObjItemList();
    ObjItemList(const ObjItemList&) = delete;
    ObjItemList& operator=(const ObjItemList&) = delete;

    // How many items there are.
    int GetCount() const noexcept { return m_nCount; }
    // The item at nIndex, which must lie in 0..GetCount() - 1 (asserted in debug builds).
    const ObjItem& operator[](int nIndex) const noexcept
    {
        assert(nIndex >= 0 && nIndex < m_nCount);
        return m_pItems[nIndex];
    }
    // The first item, for a range-for.
    const ObjItem* begin() const noexcept { return m_pItems; }
    // Past the last item, for a range-for.
    const ObjItem* end() const noexcept { return m_pItems + m_nCount; }
    // The index of the item of pObject, or -1.
    int Find(const CXMLBase* pObject) const noexcept;

    // Appends item; the block at least doubles when it must grow.
    void Add(const ObjItem& item);
    // Removes the item at nIndex, moving the later ones down.
    void RemoveAt(int nIndex) noexcept;
    // Makes room for nMore more items at once.
    void Reserve(size_t nMore);

private:
    void Reallocate(size_t nCapacity);

    ObjItem* m_pItems = nullptr;
    int m_nCount = 0;
    int m_nCapacity = 0;
};

} // namespace kvnodedefine
