#include <xmlobj/ObjItemList.h>

#include <climits>
#include <cstring>
#include <new>

ObjItemList::~ObjItemList() { ::operator delete(m_pItems); }

int ObjItemList::Find(const CXMLBase* pObject) const noexcept
{
    for (int i = 0; i < m_nCount; ++i)
        if (m_pItems[i].pObject == pObject)
            return i;
    return -1;
}

void ObjItemList::Reallocate(size_t nCapacity)
{
    if (nCapacity > INT_MAX)
        throw std::bad_alloc();
    auto* items = static_cast<ObjItem*>(::operator new(nCapacity * sizeof(ObjItem)));
    if (m_nCount > 0)
        std::memcpy(items, m_pItems, static_cast<size_t>(m_nCount) * sizeof(ObjItem));
    ::operator delete(m_pItems);
    m_pItems = items;
    m_nCapacity = static_cast<int>(nCapacity);
}

void ObjItemList::Add(const ObjItem& item)
{
    const ObjItem added = item; // item may be one of the items, which move
    if (m_nCount == m_nCapacity)
        Reallocate(m_nCapacity < 2 ? 4 : m_nCapacity < INT_MAX / 2 ? 2 * static_cast<size_t>(m_nCapacity) : INT_MAX);
    m_pItems[m_nCount++] = added;
}

void ObjItemList::RemoveAt(int nIndex) noexcept
{
    assert(nIndex >= 0 && nIndex < m_nCount);
    std::memmove(m_pItems + nIndex, m_pItems + nIndex + 1, static_cast<size_t>(m_nCount - nIndex - 1) * sizeof(ObjItem));
    --m_nCount;
}

void ObjItemList::Reserve(size_t nMore)
{
    if (nMore > static_cast<size_t>(m_nCapacity - m_nCount))
        Reallocate(static_cast<size_t>(m_nCount) + nMore);
}
