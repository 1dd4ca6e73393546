#include "commands/Commands.h"
#include "commands/Diff.h"
#include "commands/Formatter.h"
#include "model/Input.h"
#include "model/Model.h"
#include "output/Report.h"

namespace kvnode {

namespace {

struct Formatted {
    std::string before; // the bytes read
    std::string after;  // the copy
};

// Reads file once and lays out the copy; false, with why on err, when it
// cannot be read or the copy would not read as the file does. encoding:
// the copy's when given, else the file's own.
bool Format(const std::string& file, const XmlEncoding* encoding, Formatted& result, std::ostream& err)
{
    CXMLDocument doc;
    doc.SetRecordPositions(true);
    if (!LoadInput(file, doc, result.before, err))
        return false;
    Formatter formatter(doc, result.before);
    if (formatter.Format(encoding ? *encoding : doc.GetEncoding(), result.after))
        return true;
    const CXMLBase* object = formatter.ProblemObject();
    const std::string what = object ? Label(*object) + ": " : std::string();
    ReportError(DisplayName(file), object ? doc.GetPosition(object) : XmlPosition(),
                "not formatted, since the copy would not read as the file does: " + what + formatter.Problem(),
                result.before, err);
    return false;
}

bool Write(const std::string& path, const std::string& bytes, std::ostream& err)
{
    CXMLDocument writer;
    if (writer.WriteFile(path.c_str(), bytes))
        return true;
    ReportError(writer.GetError(), std::string(), err);
    return false;
}

} // namespace

int RunFmt(const Options& options, std::ostream& out, std::ostream& err)
{
    XmlEncoding encoding = XmlEncoding::Utf8;
    if (!options.encoding.empty() && (!XmlEncodingFromName(options.encoding.c_str(), encoding) ||
                                      (encoding != XmlEncoding::Utf8 && encoding != XmlEncoding::Gbk))) {
        err << "kvnode fmt: unknown encoding \"" << Printable(options.encoding) << "\" (utf-8 or gbk)\n";
        return kExitFailure;
    }
    const XmlEncoding* to = options.encoding.empty() ? nullptr : &encoding;
    const int modes = options.check + options.diff + options.inPlace;
    if (modes > 1 || (modes && !options.output.empty())) {
        err << "kvnode fmt: give one of -o, --check, --diff and -i\n";
        return kExitFailure;
    }
    if (modes == 0) {
        Formatted f;
        if (!Format(options.files.front(), to, f, err))
            return kExitFailure;
        if (!options.output.empty() && !IsStdin(options.output))
            return Write(options.output, f.after, err) ? kExitClean : kExitFailure;
        out << f.after;
        out.flush();
        return out ? kExitClean : kExitFailure;
    }
    if (options.inPlace) {
        for (const std::string& file : options.files)
            if (IsStdin(file)) {
                err << "kvnode fmt: -i replaces files; standard input is not one\n";
                return kExitFailure;
            }
    }
    bool failed = false, changed = false;
    for (const std::string& file : options.files) {
        Formatted f;
        if (!Format(file, to, f, err)) {
            failed = true;
            continue;
        }
        if (f.before == f.after)
            continue;
        changed = true;
        if (options.check)
            out << Printable(DisplayName(file)) << '\n';
        else if (options.diff)
            out << UnifiedDiff(f.before, f.after, Printable(DisplayName(file)));
        else if (!Write(file, f.after, err))
            failed = true;
    }
    out.flush();
    if (!out)
        failed = true;
    return failed ? kExitFailure : changed && !options.inPlace ? kExitFindings : kExitClean;
}

} // namespace kvnode
