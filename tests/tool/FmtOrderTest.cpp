// fmt writes attributes in one canonical order, whatever order they were read in.
#include "commands/Commands.h"
#include "support/DescTestUtil.h"

#include <sstream>

namespace {

const std::string kData = std::string(KV_TEST_DATA) + "/tool/";

std::string Fmt(const std::string& file)
{
    kvnode::Options options;
    options.files = {file};
    std::ostringstream out, err;
    EXPECT_EQ(kvnode::RunFmt(options, out, err), kvnode::kExitClean) << err.str();
    return out.str();
}

TEST(FmtOrder, ClassTypeThenTheClasssOwnThenTheRestAsRead)
{
    // shuffled attributes, unknown ones among them, another construction type's field, an unknown element
    const std::string expected = kvtest::ReadFile(kData + "fmt-order.expected.xml");
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(Fmt(kData + "fmt-order.xml"), expected);
    EXPECT_EQ(Fmt(kData + "fmt-order.expected.xml"), expected);
}

TEST(FmtOrder, ExamplesAreAlreadyCanonical)
{
    for (const char* example : {"beam-column-endplate.xml", "brace-gusset.xml", "column-base.xml"}) {
        const std::string path = std::string(KV_EXAMPLES) + "/" + example;
        EXPECT_EQ(Fmt(path), kvtest::ReadFile(path)) << example;
    }
}

} // namespace
