#include "support/DescTestUtil.h"

namespace {

TEST(CBaseDesc, LoadAndSaveRules) { kvtest::ExpectDescribed("framework/base"); }

} // namespace
