#include "Commands.h"
#include "Lint.h"

namespace kvnode {

int RunCheck(const Options& options, std::ostream& out, std::ostream&)
{
    bool unreadable = false, failed = false;
    std::vector<Finding> all;
    for (const std::string& file : options.files) {
        LintResult result = LintFile(file);
        unreadable = unreadable || !result.loaded;
        for (Finding& f : result.findings) {
            failed = failed || f.severity() == Severity::Error || options.strict;
            if (!options.json)
                out << FormatText(f) << '\n';
            all.push_back(std::move(f));
        }
    }
    if (options.json)
        out << FormatJson(all);
    return unreadable ? kExitFailure : failed ? kExitFindings : kExitClean;
}

} // namespace kvnode
