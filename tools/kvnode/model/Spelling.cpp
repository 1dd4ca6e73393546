#include "model/Spelling.h"

#include <algorithm>
#include <cctype>

namespace kvnode {

namespace {

using Units = std::vector<uint16_t>;

constexpr size_t kMostEdits = 2;

// a GBK text as characters: an ASCII byte, or a lead byte and its trail byte
Units UnitsOf(const std::string& text, bool ignoreCase)
{
    Units units;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b >= 0x81 && i + 1 < text.size())
            units.push_back(static_cast<uint16_t>(b << 8 | static_cast<unsigned char>(text[++i])));
        else
            units.push_back(ignoreCase ? static_cast<uint16_t>(std::tolower(b)) : b);
    }
    return units;
}

// how many edits still count as a slip in a word of n characters
size_t EditsAllowed(size_t n) { return std::min(kMostEdits, std::max<size_t>(1, n / 3)); }

uint64_t Mix(uint64_t h, size_t length)
{
    h += 0x9E3779B97F4A7C15ull * (length + 1);
    h = (h ^ (h >> 30)) * 0xBF58476D1CE4E5B9ull;
    h = (h ^ (h >> 27)) * 0x94D049BB133111EBull;
    return h ^ (h >> 31);
}

// The hashes of a word's variants with up to `edits` characters deleted,
// fewer deletions first; each in constant time from the prefix hashes.
std::vector<uint64_t> Variants(const Units& u, size_t edits)
{
    const size_t n = u.size();
    constexpr uint64_t kBase = 1000003;
    std::vector<uint64_t> prefix(n + 1, 0), power(n + 1, 1);
    for (size_t i = 0; i < n; ++i) {
        prefix[i + 1] = prefix[i] * kBase + u[i] + 1;
        power[i + 1] = power[i] * kBase;
    }
    const auto part = [&](size_t a, size_t b) { return prefix[b] - prefix[a] * power[b - a]; };
    std::vector<uint64_t> out{Mix(part(0, n), n)};
    if (edits >= 1 && n >= 1)
        for (size_t i = 0; i < n; ++i)
            out.push_back(Mix(part(0, i) * power[n - i - 1] + part(i + 1, n), n - 1));
    if (edits >= 2 && n >= 2)
        for (size_t i = 0; i < n; ++i)
            for (size_t j = i + 1; j < n; ++j)
                out.push_back(
                    Mix((part(0, i) * power[j - i - 1] + part(i + 1, j)) * power[n - j - 1] + part(j + 1, n), n - 2));
    return out;
}

// Edits between a and b, or limit + 1 once they are sure to exceed limit: only
// the band of cells within limit of the diagonal is worked out.
size_t EditDistance(const Units& a, const Units& b, size_t limit)
{
    const size_t n = a.size(), m = b.size();
    if ((n > m ? n - m : m - n) > limit)
        return limit + 1;
    const size_t over = limit + 1;
    std::vector<size_t> row(m + 1), next(m + 1);
    for (size_t j = 0; j <= m; ++j)
        row[j] = std::min(j, over);
    for (size_t i = 1; i <= n; ++i) {
        const size_t from = i > limit ? i - limit : 1, to = std::min(m, i + limit);
        std::fill(next.begin(), next.end(), over);
        next[0] = std::min(i, over);
        size_t best = next[0];
        for (size_t j = from; j <= to; ++j) {
            const size_t substitute = row[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
            next[j] = std::min({row[j] + 1, next[j - 1] + 1, substitute, over});
            best = std::min(best, next[j]);
        }
        if (best > limit)
            return over;
        row.swap(next);
    }
    return std::min(row[m], over);
}

std::string WithoutBlanks(const std::string& s)
{
    std::string out;
    for (const char c : s)
        if (c != ' ' && c != '\t')
            out += c;
    return out;
}

} // namespace

std::string LowerAscii(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

Speller::Speller(std::vector<std::string> words, bool ignoreCase) : m_words(std::move(words)), m_ignoreCase(ignoreCase)
{
    for (uint32_t id = 0; id < m_words.size(); ++id) {
        const std::string bare = LowerAscii(WithoutBlanks(m_words[id]));
        m_bare.emplace(bare, id);
        ++m_bareCount[bare];
        const Units units = UnitsOf(m_words[id], m_ignoreCase);
        if (units.size() > kLongest + kMostEdits)
            continue;
        std::vector<uint64_t> variants = Variants(units, kMostEdits);
        std::sort(variants.begin(), variants.end());
        variants.erase(std::unique(variants.begin(), variants.end()), variants.end());
        for (const uint64_t v : variants)
            m_variants[v].push_back(id);
    }
}

Suggestion Speller::Closest(const std::string& word) const
{
    Suggestion best;
    // a difference in blanks or case alone beats any spelling
    const auto bare = m_bare.find(LowerAscii(WithoutBlanks(word)));
    if (bare != m_bare.end() && m_words[bare->second] != word) {
        const std::string& c = m_words[bare->second];
        best.word = c;
        best.blanksOnly = WithoutBlanks(c) == WithoutBlanks(word);
        best.caseOnly = !best.blanksOnly && LowerAscii(c) == LowerAscii(word);
        best.only = m_bareCount.at(bare->first) == 1;
        return best;
    }
    const Units units = UnitsOf(word, m_ignoreCase);
    if (units.empty() || units.size() > kLongest)
        return best;
    const size_t limit = std::min(EditsAllowed(units.size()), units.size() - 1);
    if (limit == 0)
        return best;
    // the words that share a variant, closest variants first, at most kCandidates of them
    std::vector<uint32_t> candidates;
    for (const uint64_t v : Variants(units, limit)) {
        const auto found = m_variants.find(v);
        if (found == m_variants.end())
            continue;
        for (const uint32_t id : found->second)
            if (std::find(candidates.begin(), candidates.end(), id) == candidates.end())
                candidates.push_back(id);
        if (candidates.size() >= kCandidates)
            break;
    }
    size_t bestDistance = limit + 1;
    uint32_t bestId = 0;
    bool tie = false;
    for (const uint32_t id : candidates) {
        if (m_words[id] == word)
            continue;
        const size_t d = EditDistance(units, UnitsOf(m_words[id], m_ignoreCase), limit);
        if (d < bestDistance) {
            bestDistance = d;
            bestId = id;
            tie = false;
        } else if (d == bestDistance && d <= limit) {
            tie = true;
            bestId = std::min(bestId, id);
        }
    }
    if (bestDistance <= limit) {
        best.word = m_words[bestId];
        best.distance = static_cast<int>(bestDistance);
        best.only = !tie;
    }
    return best;
}

Suggestion Closest(const std::string& word, const std::vector<std::string>& candidates)
{
    return Speller(candidates).Closest(word);
}

std::string DidYouMean(const Suggestion& s)
{
    if (s.word.empty())
        return std::string();
    std::string text = " (did you mean \"" + s.word + "\"?";
    if (s.blanksOnly)
        text += " only blanks differ";
    else if (s.caseOnly)
        text += " only letter case differs";
    else if (s.distance == 0)
        text += " only blanks and letter case differ";
    return text + ")";
}

} // namespace kvnode
