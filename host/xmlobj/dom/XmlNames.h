#pragma once
// What XML allows in names and texts, as the reader and the writer check it.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

bool IsXmlChar(std::uint32_t cp) noexcept;
// offset of the first character of a GBK name that XML names may not hold
// there, or length when all may (an empty name has none that may)
size_t FindNonNameCharacter(const char* name, size_t length);
inline bool IsXmlName(const char* name)
{
    const size_t length = std::strlen(name);
    return length > 0 && FindNonNameCharacter(name, length) == length;
}
// "xml" in any case: the declaration's target, which no other instruction may have
inline bool IsXmlTarget(std::string_view name)
{
    return name.size() == 3 && (name[0] | 0x20) == 'x' && (name[1] | 0x20) == 'm' && (name[2] | 0x20) == 'l';
}
// the first name that occurs twice among names, or null
const char* FindDuplicate(const char* const* names, size_t count);
// a text for a message, cut short after 64 bytes; and in quotes
std::string Shortened(const char* s);
std::string Quote(const char* s);
