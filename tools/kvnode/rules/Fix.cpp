#include "rules/Fix.h"

#include <algorithm>

namespace kvnode {

bool OnlyCandidate(const std::string& word, const Suggestion& s, std::vector<std::string> candidates)
{
    candidates.erase(std::remove(candidates.begin(), candidates.end(), s.word), candidates.end());
    const Suggestion next = Closest(word, candidates);
    return !s.word.empty() && (next.word.empty() || next.distance > s.distance);
}

} // namespace kvnode
