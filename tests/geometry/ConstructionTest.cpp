// Points, lines, planes, vectors and distances: what each type saves and what
// every one loads is in data/geometry, each case with its reason.
#include "support/DescTestUtil.h"

namespace {

TEST(Construction, LoadAndSaveRulesOfEveryType) { kvtest::ExpectDescribed("geometry/constructions"); }

} // namespace
