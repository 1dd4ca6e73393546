#include "rules/Families.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace kvnode {

namespace {

// the families, in the order their rules are listed and run
const Family kFamilies[] = {
    {RegisterReaderRules, CheckReader},       {RegisterTreeRules, CheckTree},
    {RegisterAttributeRules, CheckAttributes}, {RegisterNameRules, CheckNames},
    {RegisterCycleRules, CheckCycles},         {RegisterPartRules, CheckParts},
    {RegisterSuppressionRules, nullptr},
};

const RuleRegistry& Registry()
{
    static const RuleRegistry registry = [] {
        RuleRegistry r;
        for (const Family& f : kFamilies)
            f.registerRules(r);
        return r;
    }();
    return registry;
}

[[noreturn]] void Stop(const char* what, RuleId id)
{
    std::fprintf(stderr, "kvnode: %s rule \"%s\"\n", what, std::string(id).c_str());
    std::abort();
}

} // namespace

void RuleRegistry::Add(const Rule& rule)
{
    if (!m_byId.emplace(rule.id, m_rules.size()).second)
        Stop("a second", rule.id);
    m_rules.push_back(rule);
}

const Rule* RuleRegistry::Find(RuleId id) const
{
    const auto it = m_byId.find(id);
    return it == m_byId.end() ? nullptr : &m_rules[it->second];
}

const std::vector<Rule>& Rules() { return Registry().All(); }

const Rule* FindRule(RuleId id) { return Registry().Find(id); }

const Rule& RuleOf(RuleId id)
{
    const Rule* rule = FindRule(id);
    if (!rule)
        Stop("no registered", id);
    return *rule;
}

void RunFamilies(LintContext& c)
{
    for (const Family& f : kFamilies)
        if (f.check)
            f.check(c);
}

} // namespace kvnode
