#pragma once
// "Did you mean": the closest of some words to a misspelt one.
#include <string>
#include <vector>

namespace kvnode {

struct Suggestion {
    std::string word;      // empty: none close enough
    int distance = 0;      // edits between the two
    bool blanksOnly = false; // the two differ only in blanks
    bool caseOnly = false;   // ... only in the case of ASCII letters
};

// The closest candidate to word, if it is close enough to be a likely slip:
// at most a third of the word's characters changed (and at least one).
Suggestion Closest(const std::string& word, const std::vector<std::string>& candidates);
// " (did you mean \"x\"? ...)" for a message, or empty
std::string DidYouMean(const Suggestion& s);

} // namespace kvnode
