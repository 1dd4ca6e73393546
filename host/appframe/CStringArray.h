#pragma once
#include <appframe/CString.h>

#include <cassert>
#include <cstddef>
#include <new>

// The framework's signed integer as wide as a pointer: the type of indices and sizes.
typedef std::ptrdiff_t INT_PTR;

// An ordered, growable list of texts, indexed from 0. Like the framework's
// own, it keeps its texts in one block of its own: no standard container in
// its layout, so that a module built with another standard library may use it.
// It holds up to INT_MAX texts; more throws std::bad_alloc.
class KVHOST_API CStringArray {
public:
    // An empty array.
    CStringArray() noexcept = default;
    // A copy that shares the texts, as copied texts do.
    CStringArray(const CStringArray& other);
    // Takes other's texts and leaves it empty.
    CStringArray(CStringArray&& other) noexcept;
    // Takes copies of other's texts.
    CStringArray& operator=(const CStringArray& other);
    // Takes other's texts and leaves it empty.
    CStringArray& operator=(CStringArray&& other) noexcept;
    // Releases the texts.
    ~CStringArray();

    // The number of texts.
    INT_PTR GetSize() const noexcept { return m_nSize; }
    // The number of texts.
    INT_PTR GetCount() const noexcept { return m_nSize; }
    // The index of the last text, -1 when empty.
    INT_PTR GetUpperBound() const noexcept { return m_nSize - 1; }
    // Whether there are no texts.
    bool IsEmpty() const noexcept { return m_nSize == 0; }
    // Makes the array nNewSize long: new texts are empty; a negative size empties it.
    void SetSize(INT_PTR nNewSize);

    // A copy of the text at nIndex, which must lie in 0..GetUpperBound() (asserted in debug builds).
    CString GetAt(INT_PTR nIndex) const { return Element(nIndex); }
    // Replaces the text at nIndex.
    void SetAt(INT_PTR nIndex, const CString& value) { Element(nIndex) = value; }
    // The text at nIndex, to change in place.
    CString& ElementAt(INT_PTR nIndex) { return Element(nIndex); }
    // The text at nIndex.
    const CString& operator[](INT_PTR nIndex) const { return Element(nIndex); }
    // The text at nIndex, to change in place.
    CString& operator[](INT_PTR nIndex) { return Element(nIndex); }

    // Appends value (which may be an element of the array itself); returns its index.
    INT_PTR Add(const CString& value)
    {
        if (m_nSize == m_nCapacity)
            return Add(CString(value));
        new (m_pData + m_nSize) CString(value);
        return m_nSize++;
    }
    // Appends value, taking its buffer; returns its index.
    INT_PTR Add(CString&& value);
    // Appends the texts of src (which may be this array); returns the index of the first appended.
    INT_PTR Append(const CStringArray& src);
    // Replaces the texts with copies of those of src.
    void Copy(const CStringArray& src) { *this = src; }
    // Inserts nCount copies of value at nIndex, padding with empty texts up to it.
    void InsertAt(INT_PTR nIndex, const CString& value, INT_PTR nCount = 1);
    // Removes up to nCount texts from nIndex; an index outside the array removes nothing.
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1);
    // Removes every text.
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
