#pragma once
#include <appframe/CString.h>

#include <cassert>
#include <cstddef>
#include <new>

typedef std::ptrdiff_t INT_PTR;

// An ordered, growable list of texts, indexed from 0. Like the framework's
// own, it keeps its texts in one block of its own: no standard container in
// its layout, so that a module built with another standard library may use it.
// It holds up to INT_MAX texts; more throws std::bad_alloc.
class KVHOST_API CStringArray {
public:
    CStringArray() noexcept = default;
    // a copy shares the texts, as copied texts do; a move leaves the source empty
    CStringArray(const CStringArray& other);
    CStringArray(CStringArray&& other) noexcept;
    CStringArray& operator=(const CStringArray& other);
    CStringArray& operator=(CStringArray&& other) noexcept;
    ~CStringArray();

    // size
    INT_PTR GetSize() const noexcept { return m_nSize; }
    INT_PTR GetCount() const noexcept { return m_nSize; }
    INT_PTR GetUpperBound() const noexcept { return m_nSize - 1; }
    bool IsEmpty() const noexcept { return m_nSize == 0; }
    // new texts are empty; a negative size empties the array
    void SetSize(INT_PTR nNewSize);

    // elements: the index must lie in 0..GetUpperBound() (asserted in debug builds)
    CString GetAt(INT_PTR nIndex) const { return Element(nIndex); }
    void SetAt(INT_PTR nIndex, const CString& value) { Element(nIndex) = value; }
    CString& ElementAt(INT_PTR nIndex) { return Element(nIndex); }
    const CString& operator[](INT_PTR nIndex) const { return Element(nIndex); }
    CString& operator[](INT_PTR nIndex) { return Element(nIndex); }

    // changes; value may be an element of the array itself
    INT_PTR Add(const CString& value)
    {
        if (m_nSize == m_nCapacity)
            return Add(CString(value));
        new (m_pData + m_nSize) CString(value);
        return m_nSize++;
    }
    INT_PTR Add(CString&& value);
    INT_PTR Append(const CStringArray& src); // the index of the first appended
    void Copy(const CStringArray& src) { *this = src; }
    // inserts nCount copies at nIndex, padding with empty texts up to it
    void InsertAt(INT_PTR nIndex, const CString& value, INT_PTR nCount = 1);
    // removes up to nCount texts from nIndex; an index outside the array removes nothing
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1);
    void RemoveAll() noexcept;

private:
    CString& Element(INT_PTR nIndex) const noexcept
    {
        assert(nIndex >= 0 && nIndex < m_nSize);
        return m_pData[nIndex];
    }
    // moves the texts into a block for nCapacity of them (at least the size)
    void Reallocate(INT_PTR nCapacity);
    // room for nCount texts, the block at least doubled when it must grow
    void Grow(INT_PTR nCount);

    CString* m_pData = nullptr;
    int m_nSize = 0;
    int m_nCapacity = 0;
};
