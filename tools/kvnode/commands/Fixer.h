#pragma once
// check --fix: a file's fixes applied to its bytes, the result linted again,
// and again while that offers more (a fix may make another finding's fix
// possible), up to a few rounds. Fixes that overlap one applied already wait
// for the next round; a round whose result the library could not read is
// undone. Every byte outside the replaced values stays as it was.
#include "rules/Lint.h"

#include <functional>
#include <string>

namespace kvnode {

class Controls;

struct FixOutcome {
    std::string bytes;  // the file with the fixes applied
    LintResult result;  // what remains, linted from bytes
    size_t fixed = 0;   // fixes applied
};

// whether --fix may apply f's fix: it has one, and it is safe or unsafe ones are wanted
bool Applicable(const Finding& f, bool unsafe);

// name and bytes as Lint takes them; wants: whether a finding is one to fix
// (a baseline's are not)
FixOutcome ApplyFixes(const std::string& name, const std::string& bytes, const Controls& controls, bool unsafe,
                      const std::function<bool(const Finding&)>& wants);

} // namespace kvnode
