#pragma once
// Comments that silence findings, as an author writes them in a document:
//   <Element ... /> <!-- kvnode: ignore RULE[,RULE...] -->   that element (after it on its line)
//   <!-- kvnode: ignore RULE[,RULE...] -->                    on a line of its own: the element that follows
//   <!-- kvnode: ignore-file RULE[,RULE...] -->               the whole file
// Without rules, every rule. They are read from the text, not the tree, so
// that they work whatever the library keeps of comments; one pass, in time
// linear in the text however long its lines.
#include "rules/Lint.h"

#include <set>
#include <string>
#include <unordered_map>
#include <vector>

namespace kvnode {

struct Suppression {
    int line = 0; // of the comment's '<'
    int column = 0;
    bool wholeFile = false;
    bool trailing = false; // after an element on the element's line: it is that element's
    // the '<' of the element it silences; 0: none follows
    int targetLine = 0;
    int targetColumn = 0;
    std::vector<RuleId> rules; // empty: every rule
    std::string problem;       // what is wrong with the comment: it silences nothing
    const CXMLBase* target = nullptr; // the element at the target, once the document is known
};

// The kvnode comments of a text in UTF-8, in order: those that say
// "kvnode: ignore" or "kvnode: ignore-file", and their near misses (another
// case, no colon, a misspelt word, an unknown word before rule ids), which
// carry a problem. Other comments that begin with "kvnode:" are prose.
std::vector<Suppression> FindSuppressions(const std::string& utf8);

class Controls;

// Drops the findings the controls leave out or a comment silences, and
// reports the comments that silenced nothing.
class SuppressionFilter {
public:
    SuppressionFilter(const Controls& controls, std::vector<Suppression> suppressions);

    // a comment that would silence a rule the run leaves out still counts as used
    bool Keeps(const Finding& f);
    // the comments that silenced nothing, named file
    std::vector<Finding> Unused(const std::string& file) const;

private:
    bool Silences(size_t i, const Finding& f);

    const Controls& m_controls;
    std::vector<Suppression> m_suppressions;
    std::vector<std::set<RuleId>> m_used;
    std::vector<size_t> m_wholeFile;
    std::unordered_map<const CXMLBase*, std::vector<size_t>> m_byElement;
};

} // namespace kvnode
