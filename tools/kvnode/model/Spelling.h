#pragma once
// "Did you mean": the closest of some words to a misspelt one, found in time
// that does not grow with the number of words, as spell checkers find it.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace kvnode {

struct Suggestion {
    std::string word;        // empty: none close enough
    int distance = 0;        // edits between the two
    bool blanksOnly = false; // the two differ only in blanks
    bool caseOnly = false;   // ... only in the case of ASCII letters
    bool only = true;        // no other word is as close: the one reading, not a pick among equals
};

// The words to suggest from, indexed once: each word's variants with up to
// two characters deleted, so that a query looks up its own variants instead
// of comparing itself with every word (a symmetric-delete index). Characters
// are those of GBK (an ASCII byte, or a lead byte and the byte after it), so
// a slip in a Chinese name counts as one edit.
class Speller {
public:
    // ignoreCase: letter case counts as no edit (element names)
    explicit Speller(std::vector<std::string> words, bool ignoreCase = false);

    // The closest word to word, other than word itself, if it is close enough
    // to be a likely slip: at most a third of its characters changed (at
    // least one, at most two), or only blanks and letter case. Words longer
    // than kLongest characters are matched on blanks and case only.
    Suggestion Closest(const std::string& word) const;

    static constexpr size_t kLongest = 40;
    // the most candidates a query compares in full
    static constexpr size_t kCandidates = 32;

private:
    std::vector<std::string> m_words;
    bool m_ignoreCase;
    std::unordered_map<uint64_t, std::vector<uint32_t>> m_variants; // hash of a variant -> words
    std::unordered_map<std::string, uint32_t> m_bare;               // without blanks, lower case -> first word
    std::unordered_map<std::string, uint32_t> m_bareCount;          // ... -> how many words have it
};

// The closest of a few candidates, for a one-off question.
Suggestion Closest(const std::string& word, const std::vector<std::string>& candidates);
// " (did you mean \"x\"? ...)" for a message, or empty
std::string DidYouMean(const Suggestion& s);
// the text with its ASCII letters in lower case
std::string LowerAscii(std::string s);

} // namespace kvnode
