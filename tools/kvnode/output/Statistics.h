#pragma once
// check --statistics: a line per rule with how often it was found and how
// many of those --fix could mend, most frequent first, to choose what to
// mend first; as text or as JSON.
#include "output/Report.h"

#include <ostream>
#include <vector>

namespace kvnode {

struct RuleCount {
    RuleId rule;
    size_t count = 0;
    size_t fixable = 0; // with the fixes the run may apply (safe; unsafe too with --unsafe-fixes)
};

std::vector<RuleCount> CountByRule(const Report& report, bool unsafeFixes);
void WriteStatisticsText(const Report& report, const std::vector<RuleCount>& counts, std::ostream& out);
void WriteStatisticsJson(const Report& report, const std::vector<RuleCount>& counts, std::ostream& out);

} // namespace kvnode
