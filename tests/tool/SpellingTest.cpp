// "Did you mean": which word is offered, and when only blanks or case differ.
#include "model/Spelling.h"

#include <gtest/gtest.h>

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
