#pragma once
#include <cstddef>
#include <string>

// Converts text from one encoding to another: "UTF-8", "GBK" or "GB18030".
// With glibc's iconv on POSIX (TextConverterIconv.cpp); on Windows with the
// tables made from that iconv (TextConverterTable.cpp, GbkTables.inc), so
// both give the same bytes and refuse the same characters. Not thread-safe:
// one converter per thread.
class TextConverter {
public:
    TextConverter(const char* to, const char* from);
    ~TextConverter();
    TextConverter(const TextConverter&) = delete;
    TextConverter& operator=(const TextConverter&) = delete;

    // Converts [data, data+size) and appends it to out; on failure returns
    // false with the offset of the character where it stopped, out holding
    // the characters before it.
    bool Run(const char* data, std::size_t size, std::string& out, std::size_t& stoppedAt);

private:
    struct State; // the platform's: an iconv descriptor, or the two encodings
    State* m_state;
};
