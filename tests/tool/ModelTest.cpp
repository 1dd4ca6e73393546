#include "model/Model.h"

#include <gtest/gtest.h>

namespace {

// Text that is not GBK reaches the terminal with each bad byte shown as \xNN
// and nothing around it lost.
TEST(Model, BadBytesShowAsEscapes)
{
    const struct {
        const char *gbk, *utf8;
    } cases[] = {
        {"a\xFF" "b", "a\\xFFb"},
        {"\xD6\xD0\xFF\xD6\xD0", "\xE4\xB8\xAD\\xFF\xE4\xB8\xAD"},
        {"x\xD6", "x\\xD6"},
        {"\xFF\xFFz", "\\xFF\\xFFz"},
        {"\x80\xD7\xFA", "\xE2\x82\xAC\\xD7\\xFA"}, // the euro sign; a pair that is no character
    };
    for (const auto& c : cases)
        EXPECT_EQ(kvnode::Utf8(c.gbk, std::char_traits<char>::length(c.gbk)), c.utf8) << c.gbk;
}

} // namespace
