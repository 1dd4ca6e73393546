#include "model/Input.h"

namespace kvnode {

bool ReadInput(const std::string& file, std::string& bytes, XmlDiagnostic& error)
{
    CXMLDocument reader;
    if (IsStdin(file) ? reader.ReadStandardInput(bytes) : reader.ReadFile(file.c_str(), bytes))
        return true;
    error = reader.GetError();
    error.file = DisplayName(file);
    return false;
}

bool LoadDocument(const std::string& file, CXMLDocument& doc, std::string& bytes, XmlDiagnostic& error)
{
    if (!ReadInput(file, bytes, error))
        return false;
    if (doc.LoadXml(bytes.data(), bytes.size(), DisplayName(file).c_str()))
        return true;
    error = doc.GetError();
    return false;
}

} // namespace kvnode
