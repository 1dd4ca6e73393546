#pragma once
// Text from a document or a file name, made safe to print in a message.
#include <string>
#include <string_view>

// Control characters written as \xNN, so that a message never moves a
// terminal's cursor, rings its bell or changes its colours; every other
// byte is kept.
inline std::string Printable(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x20 && b != 0x7F) {
            out += c;
            continue;
        }
        const char hex[] = "0123456789ABCDEF";
        out += "\\x";
        out += hex[b >> 4];
        out += hex[b & 0xF];
    }
    return out;
}
