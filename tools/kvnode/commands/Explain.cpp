// kvnode explain RULE: a rule's whole explanation, from the rule registry.
#include "commands/Commands.h"
#include "model/Spelling.h"
#include "rules/Lint.h"

#include <algorithm>

namespace kvnode {

namespace {

constexpr size_t kWidth = 78;

// text in lines of at most kWidth columns, broken at blanks, each line after indent
std::string Wrapped(const std::string& text, const std::string& indent)
{
    std::string out, line;
    size_t columns = 0; // of line; a UTF-8 character is one column, which is near enough for breaking
    for (size_t start = 0; start < text.size();) {
        const size_t blank = std::min(text.find(' ', start), text.size());
        const std::string word = text.substr(start, blank - start);
        start = blank + 1;
        const size_t width = static_cast<size_t>(
            std::count_if(word.begin(), word.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
        if (!line.empty() && indent.size() + columns + 1 + width > kWidth) {
            out += indent + line + "\n";
            line.clear();
            columns = 0;
        }
        line += (line.empty() ? "" : " ") + word;
        columns += (columns ? 1 : 0) + width;
    }
    return line.empty() ? out : out + indent + line + "\n";
}

const char* SeverityWord(Severity s) { return s == Severity::Error ? "error" : "warning"; }

// for the list, and for the head of an explanation
const char* FixWord(FixKind kind, bool inWords)
{
    switch (kind) {
    case FixKind::Safe: return inWords ? "safe fix" : "safe";
    case FixKind::Unsafe: return inWords ? "unsafe fix" : "unsafe";
    case FixKind::SafeOrUnsafe: return inWords ? "safe or unsafe fix" : "safe|unsafe";
    case FixKind::None: break;
    }
    return inWords ? "no fix" : "-";
}

void Explain(const Rule& r, std::ostream& out)
{
    out << r.id << " (" << SeverityWord(r.severity) << ", " << FixWord(r.fix, true) << ")\n\n"
        << Wrapped(r.summary, "") << "\n"
        << Wrapped(r.explanation, "") << "\nReported:\n"
        << "    " << r.bad << "\n\nWritten right:\n    " << r.good << "\n";
}

void List(std::ostream& out)
{
    size_t width = 0;
    for (const Rule& r : Rules())
        width = std::max(width, r.id.size());
    for (const Rule& r : Rules())
        out << r.id << std::string(width + 2 - r.id.size(), ' ') << SeverityWord(r.severity)
            << (r.severity == Severity::Error ? "    " : "  ") << std::string(FixWord(r.fix, false))
            << std::string(13 - std::string(FixWord(r.fix, false)).size(), ' ') << r.summary << "\n";
}

} // namespace

int RunExplain(const Options& options, std::ostream& out, std::ostream& err)
{
    if (options.list) {
        if (!options.files.empty()) {
            err << "kvnode explain: --list takes no rule\n";
            return kExitFailure;
        }
        List(out);
        return kExitClean;
    }
    const std::string& id = options.files.front();
    std::vector<std::string> ids;
    for (const Rule& r : Rules()) {
        if (id == r.id) {
            Explain(r, out);
            return kExitClean;
        }
        ids.emplace_back(r.id);
    }
    err << "kvnode explain: no rule \"" << id << "\"" << DidYouMean(Closest(id, ids))
        << "\nRun 'kvnode explain --list' for the rules.\n";
    return kExitFailure;
}

} // namespace kvnode
