#include "commands/Commands.h"
#include "model/Input.h"
#include "output/Report.h"

namespace kvnode {

bool LoadInput(const std::string& file, CXMLDocument& doc, std::string& bytes, std::ostream& err)
{
    XmlDiagnostic error;
    if (LoadDocument(file, doc, bytes, error))
        return true;
    ReportError(error, bytes, err);
    return false;
}

bool LoadInput(const std::string& file, CXMLDocument& doc, std::ostream& err)
{
    std::string bytes;
    return LoadInput(file, doc, bytes, err);
}

} // namespace kvnode
