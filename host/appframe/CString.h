#pragma once
#include <appframe/HostExport.h>

#include <atomic>
#include <cstddef>

// 8-bit text in the system code page (GBK); lengths and indices count bytes.
// Copies share one reference-counted buffer and are cheap; a shared buffer is
// copied before it is changed. Searches step over GBK double-byte characters
// (a lead byte 0x81-0xFE and the byte after it), so a match never starts on
// the second byte of one.
//
// Threads: the count is atomic, as in the framework's own text class, so
// copies of one text may be made and dropped on several threads at once; one
// CString object is still changed by one thread at a time.
class KVHOST_API CString {
public:
    // The empty text.
    CString() noexcept : m_pchData(s_pchNil) {}
    // A copy of the text ending in '\0' at psz; empty for null.
    CString(const char* psz);
    // A copy of the nLength bytes at pch ('\0' among them too); empty for null or nLength <= 0.
    CString(const char* pch, int nLength);
    // Shares other's buffer.
    CString(const CString& other) noexcept : m_pchData(other.m_pchData) { AddRef(); }
    // Takes other's buffer and leaves it empty.
    CString(CString&& other) noexcept : m_pchData(other.m_pchData) { other.m_pchData = s_pchNil; }
    // Drops this text's share of its buffer.
    ~CString() { Release(); }
    // Shares other's buffer.
    CString& operator=(const CString& other) noexcept
    {
        if (m_pchData != other.m_pchData) {
            CString copy(other);
            *this = static_cast<CString&&>(copy);
        }
        return *this;
    }
    // Takes other's buffer and leaves it empty.
    CString& operator=(CString&& other) noexcept
    {
        if (this != &other) {
            Release();
            m_pchData = other.m_pchData;
            other.m_pchData = s_pchNil;
        }
        return *this;
    }
    // Copies the text ending in '\0' at psz; empty for null.
    CString& operator=(const char* psz);

    // A text whose buffer is never freed nor counted, for texts that live
    // as long as the process (class indices, attribute names).
    static CString Immortal(const char* pch, int nLength);

    // The length in bytes.
    int GetLength() const noexcept { return GetData()->nDataLength; }
    // Whether the text is empty.
    bool IsEmpty() const noexcept { return GetLength() == 0; }
    // Makes the text empty.
    void Empty() noexcept { Release(); }
    // The byte at nIndex; '\0' outside the text.
    char GetAt(int nIndex) const;
    // The byte at nIndex; '\0' outside the text.
    char operator[](int nIndex) const { return GetAt(nIndex); }
    // The bytes, ending in '\0'; valid until the text changes.
    const char* GetString() const noexcept { return m_pchData; }
    // The bytes, ending in '\0'; valid until the text changes.
    operator const char*() const noexcept { return m_pchData; }

    // Compares the bytes with psz (null as empty) like strcmp: <0, 0 or >0.
    int Compare(const char* psz) const noexcept;

    // Appends other.
    CString& operator+=(const CString& other);
    // Appends the text ending in '\0' at psz.
    CString& operator+=(const char* psz);
    // Appends the byte ch.
    CString& operator+=(char ch);
    // Appends the nLength bytes at pch (which may lie in this text).
    void Append(const char* pch, int nLength);
    // Replaces the text with pszFormat formatted as printf does.
    void Format(const char* pszFormat, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;

    // The index of the first occurrence of pszSub that starts on a character
    // boundary at or after nStart, or -1; the empty text is found at nStart.
    int Find(const char* pszSub, int nStart = 0) const noexcept;
    // The index of the first character ch at or after nStart, or -1.
    int Find(char ch, int nStart = 0) const noexcept;
    // Replaces every occurrence of pszOld, left to right, with pszNew (null
    // as empty); returns how many. A match starts on a character boundary only.
    int Replace(const char* pszOld, const char* pszNew);
    // The bytes from nFirst to the end.
    CString Mid(int nFirst) const;
    // nCount bytes from nFirst, clipped to the text.
    CString Mid(int nFirst, int nCount) const;
    // The first nCount bytes, clipped to the text.
    CString Left(int nCount) const;
    // The last nCount bytes, clipped to the text.
    CString Right(int nCount) const;

    // The header in front of the characters. nRefs < 0 marks a buffer that
    // is never counted nor freed (the empty text and immortal texts).
    struct Data {
        std::atomic<int> nRefs; // the count of sharers
        int nDataLength;        // the length in bytes
        int nAllocLength;       // the room in the buffer, in bytes
        // the characters, after the header
        char* chars() noexcept { return reinterpret_cast<char*>(this + 1); }
    };

private:
    Data* GetData() const noexcept { return reinterpret_cast<Data*>(m_pchData) - 1; }
    // A buffer becomes immortal before it is shared, so the sign is read
    // without ordering; a count of 1 is this text's own, which no other
    // thread can copy, so the last release needs no atomic step.
    void AddRef() noexcept
    {
        std::atomic<int>& refs = GetData()->nRefs;
        if (refs.load(std::memory_order_relaxed) >= 0)
            refs.fetch_add(1, std::memory_order_relaxed);
    }
    void Release() noexcept
    {
        Data* d = GetData();
        const int refs = d->nRefs.load(std::memory_order_acquire);
        if (refs == 1 || (refs > 1 && d->nRefs.fetch_sub(1, std::memory_order_acq_rel) == 1))
            Free(d);
        m_pchData = s_pchNil;
    }
    static void Free(Data* d) noexcept;
    void PrepareWrite(int nNewLength);

    static char* const s_pchNil; // the characters of the shared empty text
    char* m_pchData;
};

// The text a followed by b.
KVHOST_API CString operator+(const CString& a, const CString& b);
// The text a followed by the text ending in '\0' at b.
KVHOST_API CString operator+(const CString& a, const char* b);
// The text ending in '\0' at a followed by b.
KVHOST_API CString operator+(const char* a, const CString& b);

// Whether a and b hold the same bytes ('\0' among them too).
KVHOST_API bool operator==(const CString& a, const CString& b) noexcept;
// Whether a holds the text ending in '\0' at b.
inline bool operator==(const CString& a, const char* b) noexcept { return a.Compare(b) == 0; }
// Whether b holds the text ending in '\0' at a.
inline bool operator==(const char* a, const CString& b) noexcept { return b.Compare(a) == 0; }
// Whether a and b hold different bytes.
inline bool operator!=(const CString& a, const CString& b) noexcept { return !(a == b); }
// Whether a does not hold the text ending in '\0' at b.
inline bool operator!=(const CString& a, const char* b) noexcept { return !(a == b); }
// Whether b does not hold the text ending in '\0' at a.
inline bool operator!=(const char* a, const CString& b) noexcept { return !(b == a); }
