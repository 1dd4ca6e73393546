#pragma once
// The pools that let a load share the texts that repeat throughout a
// document, and the word-at-a-time hashing and comparing they stand on.
#include <appframe/CString.h>

#include <cstdint>
#include <cstring>
#include <memory>

// Short texts (names, repeated values) are hashed and compared a word at a
// time, the last word overlapping the one before; no byte past the text is read.
inline std::uint64_t Word8(const char* p) noexcept
{
    std::uint64_t w;
    std::memcpy(&w, p, sizeof w);
    return w;
}

inline std::uint32_t Word4(const char* p) noexcept
{
    std::uint32_t w;
    std::memcpy(&w, p, sizeof w);
    return w;
}

inline std::uint32_t HashText(const char* text, size_t length) noexcept
{
    constexpr std::uint64_t k = 0x9E3779B97F4A7C15ull;
    std::uint64_t h = (length + 1) * k;
    if (length >= 8) {
        for (size_t i = 0; i + 8 < length; i += 8)
            h = (h ^ Word8(text + i)) * k;
        h = (h ^ Word8(text + length - 8)) * k;
    } else if (length >= 4) {
        h = (h ^ (Word4(text) | std::uint64_t{Word4(text + length - 4)} << 32)) * k;
    } else if (length > 0) {
        const auto byte = [text](size_t i) { return std::uint64_t{static_cast<unsigned char>(text[i])}; };
        h = (h ^ (byte(0) | byte(length / 2) << 8 | byte(length - 1) << 16)) * k;
    }
    return static_cast<std::uint32_t>(h ^ (h >> 32));
}

// equal texts, both ending in '\0': attribute names are too short for a call to pay
inline bool SameText(const char* a, const char* b) noexcept
{
    for (; *a == *b; ++a, ++b)
        if (!*a)
            return true;
    return false;
}

inline bool SameBytes(const char* a, const char* b, size_t length) noexcept
{
    if (length >= 8) {
        for (size_t i = 0; i + 8 < length; i += 8)
            if (Word8(a + i) != Word8(b + i))
                return false;
        return Word8(a + length - 8) == Word8(b + length - 8);
    }
    if (length >= 4)
        return Word4(a) == Word4(b) && Word4(a + length - 4) == Word4(b + length - 4);
    for (size_t i = 0; i < length; ++i)
        if (a[i] != b[i])
            return false;
    return true;
}

// Short attribute texts repeat throughout a document ("0", "sys", plane and
// variable names): those one load reads share one buffer, which saves the
// memory and the allocation of each repeat. The table is bounded and lives
// only as long as the load, so it keeps nothing alive after the document.
class TextPool {
public:
    CString Get(const char* text, size_t length);
    static constexpr size_t kMaxLength = 24; // a longer text is never shared
    // what the texts it made and its table take, about as the allocator counts
    size_t Allocated() const noexcept { return m_allocated; }

private:
    CString Make(const char* text, size_t length);
    size_t m_allocated = 0;
    static constexpr size_t kSlots = 4096;
    static constexpr size_t kMaxProbes = 8;
    struct Slot {
        CString text;
        std::uint32_t hash = 0;
    };
    std::unique_ptr<Slot[]> m_slots;
    size_t m_used = 0;
};

// Attribute names repeat on every element: each thread keeps a copy of each
// short name it meets (up to a bound), so reading an attribute allocates
// only its value.
class NamePool {
public:
    CString Get(const char* name, size_t length);
    // the pool of the calling thread
    static NamePool& OfThisThread();

private:
    static constexpr size_t kMaxLength = 32;
    static constexpr size_t kSlots = 512;
    struct Slot {
        CString name;
    };
    Slot m_slots[kSlots];
    size_t m_used = 0;
};
