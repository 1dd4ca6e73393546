#pragma once
#include <KvNodeDefine/KvExport.h>
#include <appframe/CString.h>
#include <arx/AcArray.h>

// Conversions between attribute texts and numbers, the same on every machine:
// integers by the C atoi rule (leading blanks, a sign, digits up to the
// first other character, 0 without digits), saturating at INT_MIN/INT_MAX
// instead of overflowing; reals by the atof rule with '.' as the decimal
// point whatever the process locale.
KVNODE_API int TextToInt(const char* text) noexcept;
KVNODE_API double TextToReal(const char* text) noexcept;
KVNODE_API CString IntToText(int value);
// elements in "%d" joined by single commas: 3,12,-1; an empty list gives ""
KVNODE_API CString IntListToText(const int* values, int count);
template <class T, class R>
CString IntListToText(const AcArray<T, R>& values)
{
    static_assert(sizeof(T) == sizeof(int), "a list of 32-bit integers or enumerations");
    return IntListToText(reinterpret_cast<const int*>(values.asArrayPtr()), values.length());
}

// Whole-text equality in the code page (the _mbscmp rule): bytes compared exactly, case-sensitive.
inline bool MbsEqual(const CString& a, const CString& b) noexcept { return a == b; }
