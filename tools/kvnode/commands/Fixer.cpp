#include "commands/Fixer.h"

#include <algorithm>
#include <iterator>
#include <map>

namespace kvnode {

namespace {

// enough for a fix that makes another possible, few enough that no loop goes on
constexpr int kRounds = 4;

// bytes with the fixes applied that overlap none taken before them (in
// file order), each fix whole or not at all; how many
size_t Apply(std::vector<const Fix*> fixes, std::string& bytes)
{
    std::stable_sort(fixes.begin(), fixes.end(),
                     [](const Fix* a, const Fix* b) { return a->edits.front().begin < b->edits.front().begin; });
    std::map<size_t, const Fix::Edit*> taken; // by where each edit begins
    const auto free = [&](const Fix::Edit& e) {
        const auto next = taken.lower_bound(e.begin);
        return (next == taken.end() || next->first >= e.end) &&
               (next == taken.begin() || std::prev(next)->second->end <= e.begin) && e.end <= bytes.size();
    };
    size_t applied = 0;
    for (const Fix* fix : fixes) {
        if (!std::all_of(fix->edits.begin(), fix->edits.end(), free))
            continue;
        for (const Fix::Edit& e : fix->edits)
            taken[e.begin] = &e;
        ++applied;
    }
    std::string out;
    size_t at = 0;
    for (const auto& [begin, edit] : taken) {
        out.append(bytes, at, begin - at);
        out += edit->bytes;
        at = edit->end;
    }
    out.append(bytes, at, std::string::npos);
    bytes.swap(out);
    return applied;
}

} // namespace

bool Applicable(const Finding& f, bool unsafe) { return f.fix && !f.fix->edits.empty() && (f.fix->safe || unsafe); }

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
