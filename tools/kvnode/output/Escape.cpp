#include "output/Escape.h"

#include <cstdint>
#include <cstdio>

namespace kvnode {

namespace {

// the code point at text[at] and its length, or false for a byte that starts no valid UTF-8 character
bool Decode(const std::string& text, size_t at, char32_t& c, size_t& length)
{
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) {
        c = lead;
        length = 1;
        return true;
    }
    length = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3 : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
    if (length == 0 || at + length > text.size())
        return false;
    c = lead & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
        if ((byte(at + k) & 0xC0) != 0x80)
            return false;
        c = (c << 6) | (byte(at + k) & 0x3F);
    }
    static const char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
    return c >= kShortest[length] && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
}

// East Asian wide characters take two columns of a terminal
bool IsWide(char32_t c)
{
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

// controls, the characters that reorder what follows them on screen, and
// the line and paragraph separators that some programs end a line at
bool IsHidden(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x061C || c == 0x200E || c == 0x200F ||
           (c >= 0x2028 && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

std::string Hex(const char* format, unsigned value)
{
    char buf[12];
    std::snprintf(buf, sizeof buf, format, value);
    return buf;
}

} // namespace

ShownCharacter ShowCharacter(const std::string& text, size_t at, bool keepTab)
{
    char32_t c;
    size_t length;
    if (!Decode(text, at, c, length)) {
        const std::string escape = Hex("\\x%02X", static_cast<unsigned char>(text[at]));
        return {escape, static_cast<int>(escape.size()), 1};
    }
    if (c == '\t' && keepTab)
        return {"\t", 1, 1, true};
    if (!IsHidden(c))
        return {text.substr(at, length), IsWide(c) ? 2 : 1, length};
    std::string escape = c == '\n' ? "\\n" : c == '\r' ? "\\r" : c == '\t' ? "\\t" : c < 0x80 ? Hex("\\x%02X", c)
                                                                                          : Hex("\\u%04X", c);
    return {escape, static_cast<int>(escape.size()), length};
}

std::string Printable(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        // most text is plain ASCII
        const unsigned char b = static_cast<unsigned char>(text[i]);
        if (b >= 0x20 && b < 0x7F) {
            out += text[i++];
            continue;
        }
        const ShownCharacter shown = ShowCharacter(text, i);
        out += shown.text;
        i += shown.length;
    }
    return out;
}

std::string JsonString(const std::string& text)
{
    std::string out = "\"";
    for (size_t i = 0; i < text.size();) {
        const unsigned char b = static_cast<unsigned char>(text[i]);
        if (b >= 0x20 && b < 0x7F && b != '"' && b != '\\') {
            out += text[i++];
            continue;
        }
        char32_t c;
        size_t length;
        if (!Decode(text, i, c, length)) {
            out += Hex("\\\\x%02X", b); // no JSON string holds the byte: it is shown as the text formats show it
            ++i;
            continue;
        }
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (IsHidden(c))
                out += Hex("\\u%04x", c);
            else
                out.append(text, i, length);
        }
        i += length;
    }
    return out + "\"";
}

} // namespace kvnode
