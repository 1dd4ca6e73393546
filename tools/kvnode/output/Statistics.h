#pragma once
// check --statistics: a line per rule with how often it was found and how
// many of those --fix could mend, most frequent first, to choose what to
// mend first; as text or as JSON. Counted as the findings come.
#include "output/Report.h"

#include <map>
#include <ostream>
#include <vector>

namespace kvnode {

struct RuleCount {
    RuleId rule;
    size_t count = 0;
    size_t fixable = 0; // with the fixes the run may apply (safe; unsafe too with --unsafe-fixes)
};

class Statistics {
public:
    void Add(const Finding& f, bool unsafeFixes);
    // most frequent first; rules found as often by id
    std::vector<RuleCount> Counts() const;

private:
    std::map<RuleId, RuleCount> m_byRule;
};

void WriteStatisticsText(const Summary& summary, const std::vector<RuleCount>& counts, std::ostream& out);
void WriteStatisticsJson(const Summary& summary, const std::vector<RuleCount>& counts, std::ostream& out);

} // namespace kvnode
