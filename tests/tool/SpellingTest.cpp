// "Did you mean": which word is offered, and when only blanks or case differ.
#include "model/Spelling.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace kvnode;

TEST(Spelling, OffersTheClosestLikelySlip)
{
    const std::vector<std::string> plate = {"name", "showname", "material", "lenexp", "widthexp", "thickexp", "planes",
                                            "varitem"};
    const struct {
        const char* word;
        std::vector<std::string> candidates;
        const char* hint; // what DidYouMean says
    } cases[] = {
        {"lenexpr", plate, " (did you mean \"lenexp\"?)"},
        {"thikexp", plate, " (did you mean \"thickexp\"?)"},
        {"Web Plane", {"WebPlate", "WebPlane"}, " (did you mean \"WebPlane\"? only blanks differ)"},
        {"webplane", {"WebPlate", "WebPlane"}, " (did you mean \"WebPlane\"? only letter case differs)"},
        {"web plane", {"WebPlane"}, " (did you mean \"WebPlane\"? only blanks and letter case differ)"},
        // too far to be a slip, and one-letter names are never guessed at
        {"colour", plate, ""},
        {"X", {"A", "B"}, ""},
        // the word itself is no suggestion
        {"name", {"name"}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DidYouMean(Closest(c.word, c.candidates)), c.hint) << c.word;
}

// The index finds what comparing the word with every candidate finds: the
// fewest edits within the limit (a third of the word, one at least, two at
// most), the earliest candidate among equals; checked over random words of
// a small alphabet, so that near misses of every kind occur.
TEST(Spelling, TheIndexFindsWhatAFullComparisonFinds)
{
    const auto distance = [](const std::string& a, const std::string& b) {
        std::vector<size_t> row(b.size() + 1);
        for (size_t j = 0; j <= b.size(); ++j)
            row[j] = j;
        for (size_t i = 1; i <= a.size(); ++i) {
            size_t diagonal = row[0];
            row[0] = i;
            for (size_t j = 1; j <= b.size(); ++j) {
                const size_t above = row[j];
                row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
                diagonal = above;
            }
        }
        return row[b.size()];
    };
    unsigned seed = 7;
    const auto random = [&seed](unsigned n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    const auto word = [&] {
        std::string w;
        for (unsigned n = 1 + random(9); n > 0; --n)
            w += static_cast<char>('a' + random(3));
        return w;
    };
    for (int round = 0; round < 300; ++round) {
        std::vector<std::string> candidates;
        for (unsigned n = 1 + random(12); n > 0; --n)
            candidates.push_back(word());
        const Speller speller(candidates);
        for (int q = 0; q < 10; ++q) {
            const std::string w = word();
            if (std::find(candidates.begin(), candidates.end(), w) != candidates.end())
                continue; // the word itself is no suggestion, and an equal one is found by blanks and case
            const size_t limit = std::min<size_t>({2, std::max<size_t>(1, w.size() / 3), w.size() - 1});
            std::string expected;
            size_t best = limit + 1;
            for (const std::string& c : candidates) {
                const size_t d = distance(w, c);
                if (d < best) {
                    best = d;
                    expected = c;
                }
            }
            const Suggestion s = speller.Closest(w);
            EXPECT_EQ(s.word, expected) << w;
            if (!expected.empty()) {
                EXPECT_EQ(static_cast<size_t>(s.distance), best) << w;
            }
        }
    }
}
