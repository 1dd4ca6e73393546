#pragma once
// Comments that silence findings, as an author writes them in a document:
//   <!-- kvnode: ignore RULE[,RULE...] -->       the element that follows
//   <!-- kvnode: ignore-file RULE[,RULE...] -->  the whole file
// Without rules, every rule. They are read from the text, not the tree, so
// that they work whatever the library keeps of comments.
#include "rules/Lint.h"

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

} // namespace kvnode
