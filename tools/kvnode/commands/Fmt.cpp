#include "model/AttributeOrder.h"
#include "commands/Commands.h"
#include "commands/Diff.h"
#include "model/Input.h"
#include "model/Model.h"

namespace kvnode {

namespace {

struct Formatted {
    std::string before; // the bytes read
    std::string after;  // the copy
};

// Loads file and renders the copy; false, with why on err, when it cannot.
// The library keeps all a file holds (comments, instructions, unknown
// elements, a value list's content), so the copy lacks nothing.
bool Format(const std::string& file, const Options& options, XmlEncoding encoding, CXMLDocument& doc,
            Formatted& result, std::ostream& err)
{
    if (!LoadInput(file, doc, result.before, err))
        return false;
    if (!options.encoding.empty())
        doc.SetEncoding(encoding);
    PutAttributesInCanonicalOrder(doc);
    // the save runs every descriptor's refresh, so the copy is what the descriptors hold
    if (doc.SaveXml(result.after))
        return true;
    XmlDiagnostic error = doc.GetError(); // a save to memory names no file
    error.file = DisplayName(file);
    ReportError(error, err);
    return false;
}

int FormatOne(const Options& options, XmlEncoding encoding, std::ostream& out, std::ostream& err)
{
    CXMLDocument doc;
    Formatted f;
    if (!Format(options.files.front(), options, encoding, doc, f, err))
        return kExitFailure;
    if (!options.output.empty() && !IsStdin(options.output)) {
        if (doc.SaveFile(options.output.c_str()))
            return kExitClean;
        ReportError(doc.GetError(), err);
        return kExitFailure;
    }
    out << f.after;
    out.flush();
    return out ? kExitClean : kExitFailure;
}

} // namespace

int RunFmt(const Options& options, std::ostream& out, std::ostream& err)
{
    XmlEncoding encoding = XmlEncoding::Utf8;
    if (!options.encoding.empty() && (!XmlEncodingFromName(options.encoding.c_str(), encoding) ||
                                      (encoding != XmlEncoding::Utf8 && encoding != XmlEncoding::Gbk))) {
        err << "kvnode fmt: unknown encoding \"" << options.encoding << "\" (utf-8 or gbk)\n";
        return kExitFailure;
    }
    const int modes = options.check + options.diff + options.inPlace;
    if (modes > 1 || (modes && !options.output.empty())) {
        err << "kvnode fmt: give one of -o, --check, --diff and -i\n";
        return kExitFailure;
    }
    if (modes == 0)
        return FormatOne(options, encoding, out, err);
    if (options.inPlace) {
        for (const std::string& file : options.files)
            if (IsStdin(file)) {
                err << "kvnode fmt: -i replaces files; standard input is not one\n";
                return kExitFailure;
            }
    }
    bool failed = false, changed = false;
    for (const std::string& file : options.files) {
        CXMLDocument doc;
        Formatted f;
        if (!Format(file, options, encoding, doc, f, err)) {
            failed = true;
            continue;
        }
        if (f.before == f.after)
            continue;
        changed = true;
        if (options.check) {
            out << DisplayName(file) << '\n';
        } else if (options.diff) {
            out << UnifiedDiff(f.before, f.after, DisplayName(file));
        } else if (!doc.SaveFile(file.c_str())) {
            ReportError(doc.GetError(), err);
            failed = true;
        }
    }
    out.flush();
    if (!out)
        failed = true;
    return failed ? kExitFailure : changed && !options.inPlace ? kExitFindings : kExitClean;
}

} // namespace kvnode
