#pragma once
#include <cstddef>
#include <cstdint>

// Length of the valid UTF-8 sequence at s (n bytes available), 0 when it is
// none: overlong, a surrogate, beyond U+10FFFF or cut short. cp gets its code point.
std::size_t Utf8SequenceLength(const unsigned char* s, std::size_t n, std::uint32_t& cp) noexcept;
