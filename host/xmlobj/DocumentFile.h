#pragma once
#include <cstddef>
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

} // namespace DocumentFile
