#pragma once
// Bytes as a table of flags: building one costs less than searching a set per byte.
struct ByteSet {
    bool has[256] = {};
    explicit ByteSet(const char* bytes, bool controls = false)
    {
        for (const char* b = bytes; *b; ++b)
            has[static_cast<unsigned char>(*b)] = true;
        for (int c = 0; controls && c < 0x20; ++c)
            has[c] = true;
    }
    bool operator()(char c) const noexcept { return has[static_cast<unsigned char>(c)]; }
};
