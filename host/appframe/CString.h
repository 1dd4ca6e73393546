#pragma once
#include <appframe/HostExport.h>

#include <cstddef>

// GBK lead bytes; the byte after one belongs to the same character.
inline bool IsGbkLeadByte(unsigned char c) noexcept { return c >= 0x81 && c <= 0xFE; }

// 8-bit text in the system code page (GBK); lengths and indices count bytes.
// Copies share one reference-counted buffer and are cheap; a shared buffer is
// copied before it is changed. Searches step over GBK double-byte characters,
// so a match never starts on the second byte of one.
class KVHOST_API CString {
public:
    // construction; copies and moves are inline, for texts are copied everywhere
    CString() noexcept : m_pchData(s_pchNil) {}
    CString(const char* psz);
    CString(const char* pch, int nLength);
    CString(const CString& other) noexcept : m_pchData(other.m_pchData) { AddRef(); }
    CString(CString&& other) noexcept : m_pchData(other.m_pchData) { other.m_pchData = s_pchNil; }
    ~CString() { Release(); }
    CString& operator=(const CString& other) noexcept
    {
        if (m_pchData != other.m_pchData) {
            CString copy(other);
            *this = static_cast<CString&&>(copy);
        }
        return *this;
    }
    // takes the other's buffer and leaves it empty
    CString& operator=(CString&& other) noexcept
    {
        if (this != &other) {
            Release();
            m_pchData = other.m_pchData;
            other.m_pchData = s_pchNil;
        }
        return *this;
    }
    // copies a text ending in '\0'
    CString& operator=(const char* psz);

    // a text whose buffer is never freed nor counted: safe to share between threads
    static CString Immortal(const char* pch, int nLength);

    // access
    int GetLength() const noexcept { return GetData()->nDataLength; }
    bool IsEmpty() const noexcept { return GetLength() == 0; }
    void Empty() noexcept { Release(); }
    char GetAt(int nIndex) const;
    char operator[](int nIndex) const { return GetAt(nIndex); }
    const char* GetString() const noexcept { return m_pchData; }
    operator const char*() const noexcept { return m_pchData; }

    // comparison: bytes, like strcmp
    int Compare(const char* psz) const noexcept;

    // concatenation and formatting
    CString& operator+=(const CString& other);
    CString& operator+=(const char* psz);
    CString& operator+=(char ch);
    void Append(const char* pch, int nLength);
    void Format(const char* pszFormat, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;

    // searching and editing, on GBK character boundaries
    int Find(const char* pszSub, int nStart = 0) const noexcept;
    int Find(char ch, int nStart = 0) const noexcept;
    int Replace(const char* pszOld, const char* pszNew);
    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Left(int nCount) const;
    CString Right(int nCount) const;

    // The header in front of the characters. nRefs < 0 marks a buffer that
    // is never counted nor freed (the empty text and immortal texts).
    struct Data {
        // the count of sharers, the length in bytes and the room in the buffer
        int nRefs;
        int nDataLength;
        int nAllocLength;
        char* chars() noexcept { return reinterpret_cast<char*>(this + 1); }
    };

private:
    Data* GetData() const noexcept { return reinterpret_cast<Data*>(m_pchData) - 1; }
    void AddRef() noexcept
    {
        if (GetData()->nRefs >= 0)
            ++GetData()->nRefs;
    }
    void Release() noexcept
    {
        Data* d = GetData();
        if (d->nRefs >= 0 && --d->nRefs == 0)
            Free(d);
        m_pchData = s_pchNil;
    }
    static void Free(Data* d) noexcept;
    void PrepareWrite(int nNewLength);

    static char* const s_pchNil; // the characters of the shared empty text
    char* m_pchData;
};

KVHOST_API CString operator+(const CString& a, const CString& b);
KVHOST_API CString operator+(const CString& a, const char* b);
KVHOST_API CString operator+(const char* a, const CString& b);

KVHOST_API bool operator==(const CString& a, const CString& b) noexcept;
inline bool operator==(const CString& a, const char* b) noexcept { return a.Compare(b) == 0; }
inline bool operator==(const char* a, const CString& b) noexcept { return b.Compare(a) == 0; }
inline bool operator!=(const CString& a, const CString& b) noexcept { return !(a == b); }
inline bool operator!=(const CString& a, const char* b) noexcept { return !(a == b); }
inline bool operator!=(const char* a, const CString& b) noexcept { return !(b == a); }
