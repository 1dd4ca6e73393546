#include "commands/Fixer.h"

#include <algorithm>

namespace kvnode {

namespace {

// enough for a fix that makes another possible, few enough that no loop goes on
constexpr int kRounds = 4;

// bytes with the fixes that overlap none applied before them (in file order); how many
size_t Apply(const std::vector<const Fix*>& fixes, std::string& bytes)
{
    std::string out;
    size_t at = 0, applied = 0;
    for (const Fix* fix : fixes) {
        if (fix->begin < at || fix->end > bytes.size())
            continue;
        out.append(bytes, at, fix->begin - at);
        out += fix->bytes;
        at = fix->end;
        ++applied;
    }
    out.append(bytes, at, std::string::npos);
    bytes.swap(out);
    return applied;
}

} // namespace

bool Applicable(const Finding& f, bool unsafe) { return f.fix && (f.fix->safe || unsafe); }

FixOutcome ApplyFixes(const std::string& name, const std::string& bytes, const Controls& controls, bool unsafe,
                      const std::function<bool(const Finding&)>& wants)
{
    FixOutcome outcome;
    outcome.bytes = bytes;
    outcome.result = Lint(name, bytes, controls);
    for (int round = 0; round < kRounds && outcome.result.loaded; ++round) {
        std::vector<const Fix*> fixes;
        for (const Finding& f : outcome.result.findings)
            if (Applicable(f, unsafe) && wants(f))
                fixes.push_back(&*f.fix);
        std::stable_sort(fixes.begin(), fixes.end(), [](const Fix* a, const Fix* b) { return a->begin < b->begin; });
        std::string fixedBytes = outcome.bytes;
        const size_t applied = Apply(fixes, fixedBytes);
        if (applied == 0)
            break;
        LintResult again = Lint(name, fixedBytes, controls);
        if (!again.loaded)
            break; // never trade a readable file for one that is not
        outcome.bytes.swap(fixedBytes);
        outcome.result = std::move(again);
        outcome.fixed += applied;
    }
    return outcome;
}

} // namespace kvnode
