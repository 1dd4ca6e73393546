#pragma once
#include <KvNodeDefine/KvExport.h>
#include <appframe/CString.h>
#include <arx/AcArray.h>

// Conversions between attribute texts and numbers, the same on every
// machine: the rules every descriptor reads and writes its numbers by.
namespace kvnodedefine {

// The C atoi rule (leading blanks, a sign, digits up to the first other
// character, 0 without digits), saturating at INT_MIN and INT_MAX instead of
// overflowing; 0 for null.
KVNODE_API int TextToInt(const char* text) noexcept;
// The C atof rule with '.' as the decimal point whatever the process locale; 0 for null.
KVNODE_API double TextToReal(const char* text) noexcept;
// value in "%d"
KVNODE_API CString IntToText(int value);
// count values in "%d" joined by single commas (3,12,-1); "" for none
KVNODE_API CString IntListToText(const int* values, int count);
// an array of 32-bit integers or enumerations in "%d" joined by single commas
template <class T, class R>
CString IntListToText(const AcArray<T, R>& values)
{
    static_assert(sizeof(T) == sizeof(int), "a list of 32-bit integers or enumerations");
    return IntListToText(reinterpret_cast<const int*>(values.asArrayPtr()), values.length());
}

} // namespace kvnodedefine
