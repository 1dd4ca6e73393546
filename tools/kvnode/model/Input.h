#pragma once
// Where the commands read their documents from: a file, or standard input for "-".
#include <xmlobj/CXMLDocument.h>

#include <ostream>
#include <string>
#include <vector>

namespace kvnode {

inline bool IsStdin(const std::string& file) { return file == "-"; }
// how standard input is named in messages
constexpr const char* kStdinName = "<stdin>";
inline std::string DisplayName(const std::string& file) { return IsStdin(file) ? kStdinName : file; }

// The bytes of file; false with the reason in error (file: message).
bool ReadInput(const std::string& file, std::string& bytes, XmlDiagnostic& error);
// Loads file into doc; bytes gets what was read, error why it failed (named after the file).
bool LoadDocument(const std::string& file, CXMLDocument& doc, std::string& bytes, XmlDiagnostic& error);
// the same, reporting a failure on err
bool LoadInput(const std::string& file, CXMLDocument& doc, std::string& bytes, std::ostream& err);
bool LoadInput(const std::string& file, CXMLDocument& doc, std::ostream& err);

} // namespace kvnode
