#include "Commands.h"
#include "AttributeOrder.h"
#include "Model.h"

namespace kvnode {

int RunFmt(const Options& options, std::ostream& out, std::ostream& err)
{
    XmlEncoding encoding = XmlEncoding::Utf8;
    if (!options.encoding.empty() && (!XmlEncodingFromName(options.encoding.c_str(), encoding) ||
                                      (encoding != XmlEncoding::Utf8 && encoding != XmlEncoding::Gbk))) {
        err << "kvnode fmt: unknown encoding \"" << options.encoding << "\" (utf-8 or gbk)\n";
        return kExitFailure;
    }
    CXMLDocument doc;
    if (!LoadForTool(options.files.front(), doc, err))
        return kExitFailure;
    if (!options.encoding.empty())
        doc.SetEncoding(encoding);
    PutAttributesInCanonicalOrder(doc);
    // the save runs every descriptor's refresh, so the copy is what the descriptors hold
    if (!options.output.empty()) {
        if (doc.SaveFile(options.output.c_str()))
            return kExitClean;
    } else {
        std::string text;
        if (doc.SaveXml(text)) {
            out << text;
            return out ? kExitClean : kExitFailure;
        }
    }
    ReportError(doc.GetError(), err);
    return kExitFailure;
}

} // namespace kvnode
