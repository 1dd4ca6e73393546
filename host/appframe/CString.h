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
    // construction
    CString() noexcept;
    CString(const char* psz);
    CString(const char* pch, int nLength);
    CString(const CString& other) noexcept;
    CString(CString&& other) noexcept;
    ~CString();
    CString& operator=(const CString& other) noexcept;
    CString& operator=(CString&& other) noexcept;
    CString& operator=(const char* psz);

    // a text whose buffer is never freed nor counted: safe to share between threads
    static CString Immortal(const char* pch, int nLength);

    // access
    int GetLength() const noexcept;
    bool IsEmpty() const noexcept;
    void Empty() noexcept;
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

    struct Data; // the header in front of the characters

private:
    Data* GetData() const noexcept;
    void Release() noexcept;
    void AllocBuffer(int nLength);
    void PrepareWrite(int nNewLength);

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
