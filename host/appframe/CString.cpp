#include <appframe/CString.h>
#include <xmlobj/text/XmlEncodingImpl.h>

#include <climits>
#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {
using kvnodedefine::IsGbkLeadByte;

struct NilBuffer {
    CString::Data header;
    char text[4];
};
NilBuffer g_nil = {{-1, 0, 0}, {0, 0, 0, 0}};

CString::Data* NewData(int nLength)
{
    if (nLength < 0 || static_cast<size_t>(nLength) > static_cast<size_t>(INT_MAX) - sizeof(CString::Data) - 1)
        throw std::bad_alloc();
    void* p = std::malloc(sizeof(CString::Data) + static_cast<size_t>(nLength) + 1);
    if (!p)
        throw std::bad_alloc();
    auto* d = ::new (p) CString::Data{1, nLength, nLength};
    d->chars()[nLength] = 0;
    return d;
}

int CheckedLength(size_t n)
{
    if (n > static_cast<size_t>(INT_MAX) / 2)
        throw std::bad_alloc();
    return static_cast<int>(n);
}

// Next character boundary after position i of s (length n).
inline int NextChar(const char* s, int i, int n) noexcept
{
    return (IsGbkLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < n) ? i + 2 : i + 1;
}

// The first character boundary at or after position i: a start given inside a
// double-byte character moves on to the next character, so that the byte after
// a lead byte is never mistaken for the start of one.
inline int BoundaryFrom(const char* s, int i, int n) noexcept
{
    int b = 0;
    while (b < i)
        b = NextChar(s, b, n);
    return b;
}

// Find from position i, which must be a character boundary.
int FindAt(const char* s, int n, const char* pszSub, int i) noexcept
{
    const int m = pszSub ? static_cast<int>(std::strlen(pszSub)) : 0;
    if (m == 0)
        return i; // the empty text is found at once (and a null one is never read)
    for (; i + m <= n; i = NextChar(s, i, n)) {
        if (std::memcmp(s + i, pszSub, static_cast<size_t>(m)) == 0)
            return i;
        if (i == n)
            break;
    }
    return -1;
}
} // namespace

static_assert(sizeof(CString::Data) == 3 * sizeof(int) && offsetof(NilBuffer, text) == sizeof(CString::Data),
              "the empty text's header is laid out as every other");

#if defined(__GNUC__)
// Present only when a leak checker runs in the process (sanitizer builds).
extern "C" void __lsan_ignore_object(const void* p) __attribute__((weak));
#endif

char* const CString::s_pchNil = g_nil.text;

// Out of line: inlined into Release, it would let GCC warn that the empty
// text, which Release never frees, could reach free().
#if defined(__GNUC__)
__attribute__((noinline))
#endif
void CString::Free(Data* d) noexcept
{
    std::free(d);
}

CString::CString(const char* psz) : m_pchData(s_pchNil)
{
    if (psz && *psz)
        Append(psz, CheckedLength(std::strlen(psz)));
}

CString::CString(const char* pch, int nLength) : m_pchData(s_pchNil)
{
    if (pch && nLength > 0) {
        Data* d = NewData(CheckedLength(static_cast<size_t>(nLength)));
        std::memcpy(d->chars(), pch, static_cast<size_t>(nLength));
        m_pchData = d->chars();
    }
}

CString& CString::operator=(const char* psz)
{
    CString copy(psz);
    return *this = static_cast<CString&&>(copy);
}

CString CString::Immortal(const char* pch, int nLength)
{
    CString s(pch, nLength);
    if (s.GetData()->nRefs.load(std::memory_order_relaxed) > 0) {
        s.GetData()->nRefs.store(-1, std::memory_order_relaxed);
#if defined(__GNUC__)
        // never freed on purpose: the last copy may go while the buffer stays
        if (__lsan_ignore_object)
            __lsan_ignore_object(s.GetData());
#endif
    }
    return s;
}


char CString::GetAt(int nIndex) const
{
    return (nIndex >= 0 && nIndex < GetLength()) ? m_pchData[nIndex] : '\0';
}

int CString::Compare(const char* psz) const noexcept { return std::strcmp(m_pchData, psz ? psz : ""); }

bool operator==(const CString& a, const CString& b) noexcept
{
    return a.GetLength() == b.GetLength() &&
           std::memcmp(a.GetString(), b.GetString(), static_cast<size_t>(a.GetLength())) == 0;
}

// Makes the buffer private to this text with room for nNewLength bytes,
// keeping the current content; grows geometrically so that appends stay linear.
void CString::PrepareWrite(int nNewLength)
{
    Data* d = GetData();
    if (d->nRefs.load(std::memory_order_acquire) == 1 && d->nAllocLength >= nNewLength)
        return;
    const int nAlloc = nNewLength <= INT_MAX / 3 ? nNewLength + nNewLength / 2 : nNewLength;
    Data* fresh = NewData(nAlloc);
    fresh->nDataLength = d->nDataLength;
    std::memcpy(fresh->chars(), m_pchData, static_cast<size_t>(d->nDataLength) + 1);
    Release();
    m_pchData = fresh->chars();
}

void CString::Append(const char* pch, int nLength)
{
    if (nLength <= 0)
        return;
    const int nOld = GetLength();
    if (nLength > INT_MAX / 2 - nOld)
        throw std::bad_alloc();
    if (nOld == 0 && GetData()->nRefs.load(std::memory_order_acquire) != 1) {
        Data* fresh = NewData(nLength);
        std::memcpy(fresh->chars(), pch, static_cast<size_t>(nLength));
        Release();
        m_pchData = fresh->chars();
        return;
    }
    CString keepAlive; // pch may point into the buffer that PrepareWrite replaces
    if (pch >= m_pchData && pch <= m_pchData + nOld)
        keepAlive = *this;
    PrepareWrite(nOld + nLength);
    std::memmove(m_pchData + nOld, pch, static_cast<size_t>(nLength));
    GetData()->nDataLength = nOld + nLength;
    m_pchData[nOld + nLength] = 0;
}

CString& CString::operator+=(const CString& other)
{
    Append(other.m_pchData, other.GetLength());
    return *this;
}

CString& CString::operator+=(const char* psz)
{
    if (psz)
        Append(psz, CheckedLength(std::strlen(psz)));
    return *this;
}

CString& CString::operator+=(char ch)
{
    Append(&ch, 1);
    return *this;
}

CString operator+(const CString& a, const CString& b)
{
    CString r(a);
    r += b;
    return r;
}

CString operator+(const CString& a, const char* b)
{
    CString r(a);
    r += b;
    return r;
}

CString operator+(const char* a, const CString& b)
{
    CString r(a);
    r += b;
    return r;
}

void CString::Format(const char* pszFormat, ...)
{
    char small[128];
    va_list args;
    va_start(args, pszFormat);
    int n = std::vsnprintf(small, sizeof small, pszFormat, args);
    va_end(args);
    if (n < 0) {
        Empty();
        return;
    }
    if (static_cast<size_t>(n) < sizeof small) {
        *this = CString(small, n);
        return;
    }
    Data* d = NewData(n);
    va_start(args, pszFormat);
    std::vsnprintf(d->chars(), static_cast<size_t>(n) + 1, pszFormat, args);
    va_end(args);
    Release();
    m_pchData = d->chars();
}

int CString::Find(const char* pszSub, int nStart) const noexcept
{
    const int n = GetLength();
    if (nStart < 0 || nStart > n)
        return -1;
    return FindAt(m_pchData, n, pszSub, BoundaryFrom(m_pchData, nStart, n));
}

int CString::Find(char ch, int nStart) const noexcept
{
    const int n = GetLength();
    if (nStart < 0 || nStart >= n)
        return -1;
    for (int i = BoundaryFrom(m_pchData, nStart, n); i < n; i = NextChar(m_pchData, i, n))
        if (m_pchData[i] == ch)
            return i;
    return -1;
}

int CString::Replace(const char* pszOld, const char* pszNew)
{
    const int nOld = pszOld ? static_cast<int>(std::strlen(pszOld)) : 0;
    if (nOld == 0)
        return 0;
    const int nNew = pszNew ? static_cast<int>(std::strlen(pszNew)) : 0;
    int count = 0;
    int from = 0;
    CString out;
    // each search starts where the last occurrence ended, without walking from the start again
    for (int at = FindAt(m_pchData, GetLength(), pszOld, 0); at >= 0;
         at = FindAt(m_pchData, GetLength(), pszOld, from)) {
        out.Append(m_pchData + from, at - from);
        out.Append(pszNew, nNew);
        from = at + nOld;
        ++count;
    }
    if (count) {
        out.Append(m_pchData + from, GetLength() - from);
        *this = static_cast<CString&&>(out);
    }
    return count;
}

CString CString::Mid(int nFirst) const { return Mid(nFirst, GetLength() - (nFirst < 0 ? 0 : nFirst)); }

CString CString::Mid(int nFirst, int nCount) const
{
    const int n = GetLength();
    if (nFirst < 0)
        nFirst = 0;
    if (nFirst > n)
        nFirst = n;
    if (nCount < 0)
        nCount = 0;
    if (nCount > n - nFirst)
        nCount = n - nFirst;
    if (nFirst == 0 && nCount == n)
        return *this;
    return CString(m_pchData + nFirst, nCount);
}

CString CString::Left(int nCount) const { return Mid(0, nCount); }

CString CString::Right(int nCount) const
{
    if (nCount < 0)
        nCount = 0;
    const int n = GetLength();
    return nCount >= n ? *this : Mid(n - nCount, nCount);
}
