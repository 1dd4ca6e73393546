#include "output/Statistics.h"

#include <algorithm>
#include <iomanip>
#include <map>

namespace kvnode {

std::vector<RuleCount> CountByRule(const Report& report, bool unsafeFixes)
{
    std::map<RuleId, RuleCount> byRule;
    for (const Diagnostic& d : report.diagnostics) {
        const Finding& f = d.finding;
        RuleCount& c = byRule[f.rule];
        c.rule = f.rule;
        ++c.count;
        c.fixable += f.fix && (f.fix->safe || unsafeFixes);
    }
    std::vector<RuleCount> counts;
    for (const auto& entry : byRule)
        counts.push_back(entry.second);
    std::stable_sort(counts.begin(), counts.end(), [](const RuleCount& a, const RuleCount& b) { return a.count > b.count; });
    return counts;
}

void WriteStatisticsText(const Report& report, const std::vector<RuleCount>& counts, std::ostream& out)
{
    if (counts.empty())
        return;
    out << "count  fixable  rule\n";
    for (const RuleCount& c : counts)
        out << std::setw(5) << c.count << "  " << std::setw(7) << c.fixable << "  " << c.rule << '\n';
    const std::string summary = SummaryLine(report);
    if (!summary.empty())
        out << summary << '\n';
}

void WriteStatisticsJson(const Report& report, const std::vector<RuleCount>& counts, std::ostream& out)
{
    out << "{\n  \"tool\": {\"name\": \"kvnode\", \"version\": \"" << KVNODE_VERSION << "\"},\n  \"statistics\": [";
    for (size_t i = 0; i < counts.size(); ++i)
        out << (i ? ",\n" : "\n") << "    {\"rule\": " << JsonString(std::string(counts[i].rule))
            << ", \"count\": " << counts[i].count << ", \"fixable\": " << counts[i].fixable << "}";
    out << (counts.empty() ? "]" : "\n  ]") << ",\n  \"summary\": {\"files\": " << report.files.size()
        << ", \"errors\": " << report.Count(Severity::Error) << ", \"warnings\": " << report.Count(Severity::Warning)
        << "}\n}\n";
}

} // namespace kvnode
