#include <appframe/CStringArray.h>

#include <climits>
#include <utility>

CStringArray::CStringArray(const CStringArray& other)
{
    if (other.m_nSize > 0)
        Reallocate(other.m_nSize);
    for (; m_nSize < other.m_nSize; ++m_nSize)
        new (m_pData + m_nSize) CString(other.m_pData[m_nSize]);
}

CStringArray::CStringArray(CStringArray&& other) noexcept
    : m_pData(other.m_pData), m_nSize(other.m_nSize), m_nCapacity(other.m_nCapacity)
{
    other.m_pData = nullptr;
    other.m_nSize = other.m_nCapacity = 0;
}

CStringArray& CStringArray::operator=(const CStringArray& other)
{
    if (this != &other) {
        CStringArray copy(other);
        *this = std::move(copy);
    }
    return *this;
}

CStringArray& CStringArray::operator=(CStringArray&& other) noexcept
{
    if (this != &other) {
        RemoveAll();
        std::swap(m_pData, other.m_pData);
        std::swap(m_nSize, other.m_nSize);
        std::swap(m_nCapacity, other.m_nCapacity);
    }
    return *this;
}

CStringArray::~CStringArray() { RemoveAll(); }

void CStringArray::RemoveAll() noexcept
{
    while (m_nSize > 0)
        m_pData[--m_nSize].~CString();
    ::operator delete(m_pData);
    m_pData = nullptr;
    m_nCapacity = 0;
}

void CStringArray::Reallocate(INT_PTR nCapacity)
{
    if (nCapacity > INT_MAX)
        throw std::bad_alloc();
    auto* data = static_cast<CString*>(::operator new(static_cast<size_t>(nCapacity) * sizeof(CString)));
    for (int i = 0; i < m_nSize; ++i) {
        new (data + i) CString(std::move(m_pData[i]));
        m_pData[i].~CString();
    }
    ::operator delete(m_pData);
    m_pData = data;
    m_nCapacity = static_cast<int>(nCapacity);
}

void CStringArray::Grow(INT_PTR nCount)
{
    if (nCount <= m_nCapacity)
        return;
    const INT_PTR doubled = m_nCapacity < 2 ? 4 : 2 * static_cast<INT_PTR>(m_nCapacity);
    Reallocate(nCount > doubled ? nCount : doubled < INT_MAX ? doubled : INT_MAX);
}

void CStringArray::SetSize(INT_PTR nNewSize)
{
    if (nNewSize < 0)
        nNewSize = 0;
    if (nNewSize > m_nCapacity)
        Reallocate(nNewSize); // sized as asked: a reader sizes a list once
    while (m_nSize > nNewSize)
        m_pData[--m_nSize].~CString();
    for (; m_nSize < nNewSize; ++m_nSize)
        new (m_pData + m_nSize) CString();
}

INT_PTR CStringArray::Add(CString&& value)
{
    if (m_nSize == m_nCapacity) {
        // placed before the texts move, for value may be one of them
        CString last(std::move(value));
        Grow(static_cast<INT_PTR>(m_nSize) + 1);
        new (m_pData + m_nSize) CString(std::move(last));
    } else {
        new (m_pData + m_nSize) CString(std::move(value));
    }
    return m_nSize++;
}

INT_PTR CStringArray::Append(const CStringArray& src)
{
    const int first = m_nSize, count = src.m_nSize; // src may be this array
    Grow(static_cast<INT_PTR>(first) + count);
    for (int i = 0; i < count; ++i, ++m_nSize)
        new (m_pData + m_nSize) CString(src.m_pData[i]);
    return first;
}

void CStringArray::InsertAt(INT_PTR nIndex, const CString& value, INT_PTR nCount)
{
    if (nCount <= 0 || nIndex < 0)
        return;
    const CString copy(value); // value may be an element, which moves
    if (nIndex > m_nSize)
        SetSize(nIndex);
    if (nCount > INT_MAX - static_cast<INT_PTR>(m_nSize))
        throw std::bad_alloc();
    Grow(m_nSize + nCount);
    // open a gap of nCount at nIndex: the tail moves up, from its end
    const int at = static_cast<int>(nIndex), count = static_cast<int>(nCount);
    for (int i = m_nSize - 1; i >= at; --i) {
        new (m_pData + i + count) CString(std::move(m_pData[i]));
        m_pData[i].~CString();
    }
    for (int i = at; i < at + count; ++i)
        new (m_pData + i) CString(copy);
    m_nSize += count;
}

void CStringArray::RemoveAt(INT_PTR nIndex, INT_PTR nCount)
{
    if (nIndex < 0 || nCount <= 0 || nIndex >= m_nSize)
        return;
    const int at = static_cast<int>(nIndex);
    const int removed = nCount < m_nSize - at ? static_cast<int>(nCount) : m_nSize - at; // a huge count clamps
    for (int i = at; i + removed < m_nSize; ++i)
        m_pData[i] = std::move(m_pData[i + removed]);
    for (int i = 0; i < removed; ++i)
        m_pData[--m_nSize].~CString();
}
