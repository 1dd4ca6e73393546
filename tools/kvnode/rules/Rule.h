#pragma once
// A rule of kvnode check: its id, severity and documentation, registered
// together by the family of rules that finds it (one family a file, in the
// manner of clang-tidy's modules) and found by its id, never by a position.
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kvnode {

enum class Severity { Warning, Error };

// What a rule can mend by itself. None can yet; safe and unsafe fixes come
// with `kvnode fix`.
enum class FixKind { None };

// A rule's id, as findings, suppressions, --select and baselines name it:
// "unresolved-name". Ids are kept for good once released. A RuleId a rule
// carries points at the registered id, which lives as long as the program.
using RuleId = std::string_view;

struct Rule {
    RuleId id;
    Severity severity;
    const char* summary;     // one line
    const char* explanation; // what the rule finds, why it matters and how to mend it
    const char* bad;         // a snippet of a document the rule reports
    const char* good;        // the same snippet mended
    FixKind fix = FixKind::None;
};

class RuleRegistry {
public:
    // an id registered twice is a mistake in the tool: it stops
    void Add(const Rule& rule);
    const std::vector<Rule>& All() const { return m_rules; }
    const Rule* Find(RuleId id) const;

private:
    std::vector<Rule> m_rules;
    std::unordered_map<RuleId, size_t> m_byId;
};

// every rule of every family, in the order of the families
const std::vector<Rule>& Rules();
// the rule of an id, or null when no family registers it
const Rule* FindRule(RuleId id);
// the rule of an id a finding carries; an unregistered one is a mistake in the tool: it stops
const Rule& RuleOf(RuleId id);

// the rules that the entry point and the controls name themselves
constexpr RuleId kXmlError = "xml-error";
constexpr RuleId kUnusedSuppression = "unused-suppression";

} // namespace kvnode
