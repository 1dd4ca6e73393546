#pragma once
// A unified diff between two texts, line by line, as `diff -u` prints it, so
// that `patch -p0` applies it. Written here to need no diff program.
#include <string>

namespace kvnode {

// empty when the texts are the same; both sides are called name
std::string UnifiedDiff(const std::string& before, const std::string& after, const std::string& name,
                        int context = 3);

} // namespace kvnode
