#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Reading a document's file whole and replacing it whole: the platform's
// file-system calls live behind these two functions (DocumentFilePosix.cpp).
// Both return false with why, a reason to follow "cannot read: " or
// "cannot write: ".
namespace DocumentFile {

// A regular file is read whole; a pipe, terminal or device (standard input,
// a FIFO) is read as a stream to its end. Either fails when it holds more
// than maxSize bytes. A FIFO is read from the writers it has when it is
// opened: without one it is empty, and an empty pipe or FIFO fails.
bool Read(const char* path, std::size_t maxSize, std::string& data, std::string& why);
// the same for the process's standard input, whatever it is
bool ReadStandardInput(std::size_t maxSize, std::string& data, std::string& why);

// Replaces the regular file path names (after its symbolic links) with text,
// or creates it: the file holds its old text or the whole new one, never a
// part, and keeps its mode, owner, group and extended attributes. Refuses
// what it cannot replace so: a directory, device, FIFO or socket, a file
// with other names (hard links), a file the caller may not write, a loop of
// links. Temporaries are ".<name>.kvsave-<pid>-<n>.tmp" beside the file; a
// save removes those of processes that are gone.
bool Replace(const char* path, const std::string& text, std::string& why);

// The start of the names of the temporaries of a file named name:
// ".<name>.kvsave-", or, where a temporary so named would pass the longest
// name the folder takes (longestName), ".<a hash of name>.kvsave-".
template <class String>
String TemporaryPrefix(const String& name, std::size_t longestName)
{
    using Char = typename String::value_type;
    const auto text = [](const char* s) { return String(s, s + std::char_traits<char>::length(s)); };
    constexpr std::size_t kLongestEnd = 10 + 1 + 10 + 4; // "<pid>-<n>.tmp"
    String prefix = text(".") + name + text(".kvsave-");
    if (prefix.size() + kLongestEnd <= longestName)
        return prefix;
    std::uint64_t hash = 0xcbf29ce484222325ull; // FNV-1a
    for (const Char c : name)
        hash = (hash ^ static_cast<std::uint64_t>(c)) * 0x100000001b3ull;
    String digits;
    for (int shift = 60; shift >= 0; shift -= 4)
        digits += static_cast<Char>("0123456789abcdef"[(hash >> shift) & 0xF]);
    return text(".") + digits + text(".kvsave-");
}

} // namespace DocumentFile
