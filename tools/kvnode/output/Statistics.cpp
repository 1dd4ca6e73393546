#include "output/Statistics.h"

#include <algorithm>
#include <iomanip>

namespace kvnode {

void Statistics::Add(const Finding& f, bool unsafeFixes)
{
    RuleCount& c = m_byRule[f.rule];
    c.rule = f.rule;
    ++c.count;
    c.fixable += f.fix && (f.fix->safe || unsafeFixes);
}

std::vector<RuleCount> Statistics::Counts() const
{
    std::vector<RuleCount> counts;
    for (const auto& entry : m_byRule)
        counts.push_back(entry.second);
    std::stable_sort(counts.begin(), counts.end(), [](const RuleCount& a, const RuleCount& b) { return a.count > b.count; });
    return counts;
}

void WriteStatisticsText(const Summary& summary, const std::vector<RuleCount>& counts, std::ostream& out)
{
    if (counts.empty())
        return;
    out << "count  fixable  rule\n";
    for (const RuleCount& c : counts)
        out << std::setw(5) << c.count << "  " << std::setw(7) << c.fixable << "  " << c.rule << '\n';
    out << SummaryLine(summary) << '\n';
}

void WriteStatisticsJson(const Summary& summary, const std::vector<RuleCount>& counts, std::ostream& out)
{
    out << "{\n  \"tool\": {\"name\": \"kvnode\", \"version\": \"" << KVNODE_VERSION << "\"},\n  \"statistics\": [";
    for (size_t i = 0; i < counts.size(); ++i)
        out << (i ? ",\n" : "\n") << "    {\"rule\": \"" << counts[i].rule << "\", \"count\": " << counts[i].count
            << ", \"fixable\": " << counts[i].fixable << "}";
    out << (counts.empty() ? "]" : "\n  ]") << ",\n  \"summary\": {\"files\": " << summary.files
        << ", \"errors\": " << summary.errors << ", \"warnings\": " << summary.warnings << "}\n}\n";
}

} // namespace kvnode
