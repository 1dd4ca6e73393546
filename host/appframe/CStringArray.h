#pragma once
#include <appframe/CString.h>

#include <cstddef>
#include <vector>

// The framework's signed integer as wide as a pointer: the type of indices and sizes.
typedef std::ptrdiff_t INT_PTR;

// An ordered, growable list of texts, indexed from 0. Indices outside the
// list are the caller's error, as in the framework.
class KVHOST_API CStringArray {
public:
    // The number of texts.
    INT_PTR GetSize() const noexcept { return static_cast<INT_PTR>(m_items.size()); }
    // The number of texts.
    INT_PTR GetCount() const noexcept { return GetSize(); }
    // The index of the last text, -1 when empty.
    INT_PTR GetUpperBound() const noexcept { return GetSize() - 1; }
    // Whether there are no texts.
    bool IsEmpty() const noexcept { return m_items.empty(); }
    // Makes the list nNewSize long, dropping texts or adding empty ones.
    void SetSize(INT_PTR nNewSize);

    // A copy of the text at nIndex.
    CString GetAt(INT_PTR nIndex) const { return m_items[static_cast<size_t>(nIndex)]; }
    // Replaces the text at nIndex.
    void SetAt(INT_PTR nIndex, const CString& value) { m_items[static_cast<size_t>(nIndex)] = value; }
    // The text at nIndex, to change in place.
    CString& ElementAt(INT_PTR nIndex) { return m_items[static_cast<size_t>(nIndex)]; }
    // The text at nIndex.
    const CString& operator[](INT_PTR nIndex) const { return m_items[static_cast<size_t>(nIndex)]; }
    // The text at nIndex, to change in place.
    CString& operator[](INT_PTR nIndex) { return m_items[static_cast<size_t>(nIndex)]; }

    // Appends value; returns its index.
    INT_PTR Add(const CString& value);
    // Appends value, taking its buffer; returns its index.
    INT_PTR Add(CString&& value);
    // Appends the texts of src; returns the index of the first one appended.
    INT_PTR Append(const CStringArray& src);
    // Replaces the texts with those of src.
    void Copy(const CStringArray& src) { m_items = src.m_items; }
    // Inserts nCount copies of value at nIndex (past the end: the list grows with empty texts first).
    void InsertAt(INT_PTR nIndex, const CString& value, INT_PTR nCount = 1);
    // Removes nCount texts from nIndex on.
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1);
    // Removes every text.
    void RemoveAll() noexcept { m_items.clear(); }

private:
    std::vector<CString> m_items;
};
