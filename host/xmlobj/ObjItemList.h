#pragma once
#include <appframe/HostExport.h>

#include <cassert>
#include <cstddef>

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

// The children of a composite in order: one block of its own, no standard
// container in an exported layout. It holds the items, not the children
// they point to; the composite owns those.
class KVHOST_API ObjItemList {
public:
    ObjItemList() noexcept = default;
    ~ObjItemList();
    ObjItemList(const ObjItemList&) = delete;
    ObjItemList& operator=(const ObjItemList&) = delete;

    // the items; an index must lie in 0..GetCount() - 1 (asserted in debug builds)
    int GetCount() const noexcept { return m_nCount; }
    const ObjItem& operator[](int nIndex) const noexcept
    {
        assert(nIndex >= 0 && nIndex < m_nCount);
        return m_pItems[nIndex];
    }
    const ObjItem* begin() const noexcept { return m_pItems; }
    const ObjItem* end() const noexcept { return m_pItems + m_nCount; }
    // the index of the item of pObject, or -1
    int Find(const CXMLBase* pObject) const noexcept;

    // changes: Add appends (the block at least doubled when it must grow),
    // Reserve makes room for nMore more at once
    void Add(const ObjItem& item);
    void RemoveAt(int nIndex) noexcept;
    void Reserve(size_t nMore);

private:
    void Reallocate(size_t nCapacity);

    ObjItem* m_pItems = nullptr;
    int m_nCount = 0;
    int m_nCapacity = 0;
};
