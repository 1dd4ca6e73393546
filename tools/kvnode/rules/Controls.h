#pragma once
// Which rules a check runs and how severe each is, from the command line:
// --select, --ignore, --error, --warning and --strict, named as ruff and gcc
// name them. A file that cannot be read is always reported, as an error.
#include "commands/Commands.h"
#include "rules/Rule.h"

#include <map>
#include <set>
#include <string>

namespace kvnode {

class Controls {
public:
    // false with the reason for an unknown rule or one made both an error and a warning
    bool Parse(const Options& options, std::string& problem);

    bool Checks(RuleId rule) const;
    Severity SeverityOf(RuleId rule) const;

private:
    std::set<RuleId> m_selected; // empty: every rule
    std::set<RuleId> m_ignored;
    std::map<RuleId, Severity> m_severity;
    bool m_strict = false;
};

} // namespace kvnode
