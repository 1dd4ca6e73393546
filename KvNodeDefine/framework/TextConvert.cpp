#include <KvNodeDefine/TextConvert.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

int TextToInt(const char* text) noexcept
{
    if (!text)
        return 0;
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
        ++p;
    const bool negative = *p == '-';
    if (*p == '+' || *p == '-')
        ++p;
    long long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1; // saturate; only the bound matters from here
    }
    if (negative)
        return value > INT_MAX ? INT_MIN : -static_cast<int>(value);
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

double TextToReal(const char* text) noexcept
{
    if (!text)
        return 0.0;
    // the "C" locale's rules whatever the process locale: '.' is the decimal point
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    return cLocale ? strtod_l(text, nullptr, cLocale) : std::strtod(text, nullptr);
}

CString IntToText(int value)
{
    CString s;
    s.Format("%d", value);
    return s;
}

CString IntListToText(const int* values, int count)
{
    CString s;
    for (int i = 0; i < count; ++i) {
        char buf[16];
        const int n = std::snprintf(buf, sizeof buf, i ? ",%d" : "%d", values[i]);
        s.Append(buf, n);
    }
    return s;
}
