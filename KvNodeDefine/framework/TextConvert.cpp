#include <KvNodeDefine/TextConvert.h>

#include <climits>
#include <cstdlib>
#include <locale.h>

namespace kvnodedefine {

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
#ifdef _WIN32
    static const _locale_t cLocale = _create_locale(LC_ALL, "C");
    return cLocale ? _strtod_l(text, nullptr, cLocale) : std::strtod(text, nullptr);
#else
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    return cLocale ? strtod_l(text, nullptr, cLocale) : std::strtod(text, nullptr);
#endif
}

namespace {
// "%d" of value, written backwards to end; returns where it starts
char* FormatInt(int value, char* end) noexcept
{
    unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    char* p = end;
    do {
        *--p = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    if (value < 0)
        *--p = '-';
    return p;
}
} // namespace

CString IntToText(int value)
{
    // enumerations, flags and indices are small: their texts are made once
    constexpr int kFirst = -1, kLast = 255;
    static const struct Small {
        CString texts[kLast - kFirst + 1];
        Small()
        {
            for (int v = kFirst; v <= kLast; ++v) {
                char buf[16];
                char* start = FormatInt(v, buf + sizeof buf);
                texts[v - kFirst] = CString::Immortal(start, static_cast<int>(buf + sizeof buf - start));
            }
        }
    } small;
    if (value >= kFirst && value <= kLast)
        return small.texts[value - kFirst];
    char buf[16];
    char* start = FormatInt(value, buf + sizeof buf);
    return CString(start, static_cast<int>(buf + sizeof buf - start));
}

CString IntListToText(const int* values, int count)
{
    CString s;
    for (int i = 0; i < count; ++i) {
        char buf[16];
        char* start = FormatInt(values[i], buf + sizeof buf);
        if (i)
            *--start = ',';
        s.Append(start, static_cast<int>(buf + sizeof buf - start));
    }
    return s;
}

} // namespace kvnodedefine
