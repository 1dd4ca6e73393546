#pragma once
// Comments that silence findings, as an author writes them in a document:
//   <!-- kvnode: ignore RULE[,RULE...] -->       the element that follows
//   <!-- kvnode: ignore-file RULE[,RULE...] -->  the whole file
// Without rules, every rule. They are read from the text, not the tree, so
// that they work whatever the library keeps of comments.
#include "rules/Lint.h"

#include <set>
#include <string>
#include <vector>

namespace kvnode {

struct Suppression {
    int line = 0; // of the comment's '<'
    int column = 0;
    bool wholeFile = false;
    // the '<' of the element that follows; 0: none follows
    int targetLine = 0;
    int targetColumn = 0;
    std::vector<RuleId> rules; // empty: every rule
    std::string problem;       // what is wrong with the comment: it silences nothing
};

// the kvnode comments of a text in UTF-8, in order
std::vector<Suppression> FindSuppressions(const std::string& utf8);

class Controls;

// Drops the findings the controls leave out or a comment silences, and
// reports the comments that silenced nothing.
class SuppressionFilter {
public:
    SuppressionFilter(const Controls& controls, std::vector<Suppression> suppressions);

    // f about the element that starts at element (its '<'); a comment that
    // would silence a rule the run leaves out still counts as used
    bool Keeps(const Finding& f, const XmlPosition& element);
    // the comments that silenced nothing, named file
    std::vector<Finding> Unused(const std::string& file) const;

private:
    const Controls& m_controls;
    std::vector<Suppression> m_suppressions;
    std::vector<std::set<RuleId>> m_used;
};

} // namespace kvnode
