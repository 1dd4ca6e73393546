#include "rules/Controls.h"

namespace kvnode {

namespace {

bool AddRules(const std::vector<std::string>& lists, const char* option, std::set<RuleId>& rules,
              std::string& problem)
{
    for (const std::string& list : lists) {
        for (size_t start = 0; start <= list.size();) {
            const size_t comma = std::min(list.find(',', start), list.size());
            const std::string id = list.substr(start, comma - start);
            start = comma + 1;
            if (const Rule* rule = FindRule(id)) {
                rules.insert(rule->id);
                continue;
            }
            problem = std::string(option) + ": no rule \"" + id + "\" (rules:";
            for (const Rule& r : Rules())
                problem += " " + std::string(r.id);
            problem += ")";
            return false;
        }
    }
    return true;
}

} // namespace

bool Controls::Parse(const Options& options, std::string& problem)
{
    std::set<RuleId> errors, warnings;
    if (!AddRules(options.select, "--select", m_selected, problem) ||
        !AddRules(options.ignore, "--ignore", m_ignored, problem) ||
        !AddRules(options.error, "--error", errors, problem) ||
        !AddRules(options.warning, "--warning", warnings, problem))
        return false;
    for (const RuleId rule : errors) {
        if (warnings.count(rule)) {
            problem = "rule " + std::string(rule) + " is given to both --error and --warning";
            return false;
        }
        m_severity[rule] = Severity::Error;
    }
    for (const RuleId rule : warnings)
        m_severity[rule] = Severity::Warning;
    m_strict = options.strict;
    return true;
}

bool Controls::Checks(RuleId rule) const
{
    if (rule == kXmlError)
        return true;
    return (m_selected.empty() || m_selected.count(rule)) && !m_ignored.count(rule);
}

Severity Controls::SeverityOf(RuleId rule) const
{
    if (rule == kXmlError)
        return Severity::Error;
    const auto given = m_severity.find(rule);
    if (given != m_severity.end())
        return given->second;
    return m_strict ? Severity::Error : RuleOf(rule).severity;
}

} // namespace kvnode
