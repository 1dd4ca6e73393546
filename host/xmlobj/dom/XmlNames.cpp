// What XML allows in a name, checked as characters: a GBK name's trail byte
// may be '@' or '[' inside a character that names may hold.
#include "XmlNames.h"
#include "ByteSet.h"
#include "TextPool.h"

#include <xmlobj/text/CodePage936.h>
#include <xmlobj/text/XmlEncodingImpl.h>

#include <algorithm>
#include <vector>

using namespace kvnodedefine;

namespace {

bool IsNameStartChar(std::uint32_t cp) noexcept
{
    if (cp < 0x80)
        return (cp >= 'a' && cp <= 'z') || (cp >= 'A' && cp <= 'Z') || cp == '_' || cp == ':';
    return (cp >= 0xC0 && cp <= 0xD6) || (cp >= 0xD8 && cp <= 0xF6) || (cp >= 0xF8 && cp <= 0x2FF) ||
           (cp >= 0x370 && cp <= 0x37D) || (cp >= 0x37F && cp <= 0x1FFF) || (cp >= 0x200C && cp <= 0x200D) ||
           (cp >= 0x2070 && cp <= 0x218F) || (cp >= 0x2C00 && cp <= 0x2FEF) || (cp >= 0x3001 && cp <= 0xD7FF) ||
           (cp >= 0xF900 && cp <= 0xFDCF) || (cp >= 0xFDF0 && cp <= 0xFFFD) || (cp >= 0x10000 && cp <= 0xEFFFF);
}

bool IsNameChar(std::uint32_t cp) noexcept
{
    return IsNameStartChar(cp) || (cp >= '0' && cp <= '9') || cp == '-' || cp == '.' || cp == 0xB7 ||
           (cp >= 0x300 && cp <= 0x36F) || (cp >= 0x203F && cp <= 0x2040);
}

} // namespace

bool IsXmlChar(std::uint32_t cp) noexcept
{
    return cp == 0x9 || cp == 0xA || cp == 0xD || (cp >= 0x20 && cp <= 0xD7FF) || (cp >= 0xE000 && cp <= 0xFFFD) ||
           (cp >= 0x10000 && cp <= 0x10FFFF);
}

size_t FindNonNameCharacter(const char* name, size_t length)
{
    if (length == 0)
        return 0;
    static const ByteSet asciiNameChar = [] {
        ByteSet set("-._:");
        for (int c = 0; c < 128; ++c)
            set.has[c] = set.has[c] || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        return set;
    }();
    const auto* s = reinterpret_cast<const unsigned char*>(name);
    for (size_t i = 0; i < length;) {
        std::uint32_t cp = s[i];
        size_t step = 1;
        if (cp < 0x80) {
            if (!asciiNameChar(static_cast<char>(cp)))
                return i;
        } else if (s[i] == kEuroByte) {
            cp = kEuroSign;
        } else {
            cp = i + 1 < length ? GbkCodePoint(s[i], s[i + 1]) : 0;
            step = 2;
        }
        if (i == 0 ? !IsNameStartChar(cp) : !IsNameChar(cp))
            return i;
        i += step;
    }
    return length;
}

const char* FindDuplicate(const char* const* names, size_t count)
{
    if (count <= 16) {
        for (size_t i = 0; i < count; ++i)
            for (size_t j = i + 1; j < count; ++j)
                if (SameText(names[i], names[j]))
                    return names[j];
        return nullptr;
    }
    std::vector<const char*> sorted(names, names + count);
    std::sort(sorted.begin(), sorted.end(), [](const char* x, const char* y) { return std::strcmp(x, y) < 0; });
    for (size_t i = 1; i < sorted.size(); ++i)
        if (SameText(sorted[i - 1], sorted[i]))
            return sorted[i];
    return nullptr;
}

std::string Shortened(const char* s)
{
    // a name or value of a hundred bytes says no more in a message than its start
    constexpr size_t kShown = 64;
    size_t length = 0;
    while (s[length] && length < kShown)
        length += IsGbkLeadByte(static_cast<unsigned char>(s[length])) && s[length + 1] ? 2 : 1;
    return std::string(s, length) + (s[length] ? "..." : "");
}

std::string Quote(const char* s) { return "\"" + Shortened(s) + "\""; }
