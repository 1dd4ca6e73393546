#include "model/Input.h"

#include "model/Model.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>

namespace kvnode {

bool ReadInput(const std::string& file, std::string& bytes, XmlDiagnostic& error)
{
    error = XmlDiagnostic();
    error.file = DisplayName(file);
    errno = 0;
    std::ifstream in;
    if (!IsStdin(file))
        in.open(file, std::ios::binary);
    std::istream& from = IsStdin(file) ? std::cin : in;
    if (from) {
        bytes.assign(std::istreambuf_iterator<char>(from), std::istreambuf_iterator<char>());
        if (!from.bad())
            return true;
    }
    error.message = std::string("cannot read: ") + (errno ? std::strerror(errno) : "read error");
    return false;
}

bool LoadDocument(const std::string& file, CXMLDocument& doc, std::string& bytes, XmlDiagnostic& error)
{
    // the library's own reading says best why a file cannot be read
    if (!IsStdin(file)) {
        if (!doc.LoadFile(file.c_str())) {
            error = doc.GetError();
            return false;
        }
        XmlDiagnostic unused; // read once already: a second failure leaves bytes empty
        ReadInput(file, bytes, unused);
        return true;
    }
    if (!ReadInput(file, bytes, error))
        return false;
    if (doc.LoadXml(bytes.data(), bytes.size()))
        return true;
    error = doc.GetError(); // a load from memory names no file
    error.file = kStdinName;
    return false;
}

bool LoadInput(const std::string& file, CXMLDocument& doc, std::string& bytes, std::ostream& err)
{
    XmlDiagnostic error;
    if (LoadDocument(file, doc, bytes, error))
        return true;
    ReportError(error, err);
    return false;
}

bool LoadInput(const std::string& file, CXMLDocument& doc, std::ostream& err)
{
    if (!IsStdin(file))
        return LoadForTool(file, doc, err);
    std::string bytes;
    return LoadInput(file, doc, bytes, err);
}

} // namespace kvnode
