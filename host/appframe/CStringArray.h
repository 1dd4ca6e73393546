#pragma once
#include <appframe/CString.h>

#include <cstddef>
#include <vector>

typedef std::ptrdiff_t INT_PTR;

// An ordered, growable list of texts, indexed from 0.
class KVHOST_API CStringArray {
public:
    // size
    INT_PTR GetSize() const noexcept { return static_cast<INT_PTR>(m_items.size()); }
    INT_PTR GetCount() const noexcept { return GetSize(); }
    INT_PTR GetUpperBound() const noexcept { return GetSize() - 1; }
    bool IsEmpty() const noexcept { return m_items.empty(); }
    void SetSize(INT_PTR nNewSize);

    // elements
    CString GetAt(INT_PTR nIndex) const { return m_items[static_cast<size_t>(nIndex)]; }
    void SetAt(INT_PTR nIndex, const CString& value) { m_items[static_cast<size_t>(nIndex)] = value; }
    CString& ElementAt(INT_PTR nIndex) { return m_items[static_cast<size_t>(nIndex)]; }
    const CString& operator[](INT_PTR nIndex) const { return m_items[static_cast<size_t>(nIndex)]; }
    CString& operator[](INT_PTR nIndex) { return m_items[static_cast<size_t>(nIndex)]; }

    // changes
    INT_PTR Add(const CString& value);
    INT_PTR Add(CString&& value);
    INT_PTR Append(const CStringArray& src);
    void Copy(const CStringArray& src) { m_items = src.m_items; }
    void InsertAt(INT_PTR nIndex, const CString& value, INT_PTR nCount = 1);
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1);
    void RemoveAll() noexcept { m_items.clear(); }

private:
    std::vector<CString> m_items;
};
