#pragma once
// Where the commands read their documents from: a file, or standard input
// for "-". Each input is read once, through the library (regular files
// whole, pipes and FIFOs as bounded streams, never waiting for a writer
// that is not there), and loaded from the bytes read, which the command
// keeps for source lines and the formatter.
#include <xmlobj/CXMLDocument.h>

#include <string>

namespace kvnode {

inline bool IsStdin(const std::string& file) { return file == "-"; }
// how standard input is named in messages
constexpr const char* kStdinName = "<stdin>";
inline std::string DisplayName(const std::string& file) { return IsStdin(file) ? kStdinName : file; }

// The bytes of file; false with the reason in error (file: message).
bool ReadInput(const std::string& file, std::string& bytes, XmlDiagnostic& error);
// Reads file into bytes and loads doc from them; error says why it failed (named after the file).
bool LoadDocument(const std::string& file, CXMLDocument& doc, std::string& bytes, XmlDiagnostic& error);

} // namespace kvnode
