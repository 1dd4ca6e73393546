#include "support/DescTestUtil.h"

#include <climits>
#include <clocale>

namespace {

using namespace kvnodedefine;

TEST(TextToInt, FollowsAtoiAndSaturates)
{
    const struct {
        const char* text;
        int value;
    } cases[] = {
        {"3", 3},   {" 3", 3},  {"\t\n\r 12", 12}, {"-1", -1}, {"+7", 7}, {"007", 7}, {"3x", 3}, {"1,3", 1},
        {"2.9", 2}, {"", 0},    {"x", 0},          {"-", 0},   {"- 1", 0}, {nullptr, 0},
        {"2147483647", INT_MAX}, {"2147483648", INT_MAX}, {"99999999999999999999999", INT_MAX},
        {"-2147483648", INT_MIN}, {"-2147483649", INT_MIN}, {"-99999999999999999999999", INT_MIN},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TextToInt(c.text), c.value) << (c.text ? c.text : "(null)");
}

// Texts in files use '.' whatever the locale, and the locale's own point is no decimal point.
void ExpectRealsReadTheSameEverywhere()
{
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"2.5", 2.5}, {" -0.25", -0.25}, {"1e3", 1000.0}, {"1.5e-1", 0.15}, {"90", 90.0}, {"7.5x", 7.5},
        {"0,5", 0.0}, {"1.5,2", 1.5},    {".5", 0.5},     {"", 0.0},        {"x", 0.0},   {" 8x", 8.0}, {nullptr, 0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(TextToReal(c.text), c.value) << (c.text ? c.text : "(null)");
    AcArray<double> angles;
    CNodeGlobal::SplitStringToDoubleArray("0,22.5,1e2", angles);
    EXPECT_EQ(kvtest::Text(angles), "0,22.5,100");
}

TEST(TextToReal, ReadsThePointInTheCLocale) { ExpectRealsReadTheSameEverywhere(); }

TEST(TextToReal, ReadsThePointInALocaleWithADecimalComma)
{
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "fr_FR.utf8", "ru_RU.UTF-8"}) {
        if (std::setlocale(LC_NUMERIC, name) && *std::localeconv()->decimal_point == ',') {
            ExpectRealsReadTheSameEverywhere();
            std::setlocale(LC_NUMERIC, saved.c_str());
            return;
        }
    }
    std::setlocale(LC_NUMERIC, saved.c_str());
    GTEST_SKIP() << "no locale with a decimal comma is installed";
}

} // namespace
