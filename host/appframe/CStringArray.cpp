#include <appframe/CStringArray.h>

void CStringArray::SetSize(INT_PTR nNewSize) { m_items.resize(nNewSize < 0 ? 0 : static_cast<size_t>(nNewSize)); }

INT_PTR CStringArray::Add(const CString& value)
{
    m_items.push_back(value);
    return GetUpperBound();
}

INT_PTR CStringArray::Add(CString&& value)
{
    m_items.push_back(static_cast<CString&&>(value));
    return GetUpperBound();
}

INT_PTR CStringArray::Append(const CStringArray& src)
{
    const INT_PTR first = GetSize();
    if (&src == this) {
        std::vector<CString> copy(m_items);
        m_items.insert(m_items.end(), copy.begin(), copy.end());
    } else {
        m_items.insert(m_items.end(), src.m_items.begin(), src.m_items.end());
    }
    return first;
}

void CStringArray::InsertAt(INT_PTR nIndex, const CString& value, INT_PTR nCount)
{
    if (nCount <= 0 || nIndex < 0)
        return;
    const CString copy(value); // value may live in this array, which may move when it grows
    if (nIndex >= GetSize())
        m_items.resize(static_cast<size_t>(nIndex));
    m_items.insert(m_items.begin() + nIndex, static_cast<size_t>(nCount), copy);
}

void CStringArray::RemoveAt(INT_PTR nIndex, INT_PTR nCount)
{
    if (nIndex < 0 || nCount <= 0 || nIndex >= GetSize())
        return;
    const INT_PTR last = nCount < GetSize() - nIndex ? nIndex + nCount : GetSize(); // no overflow for huge counts
    m_items.erase(m_items.begin() + nIndex, m_items.begin() + last);
}
