#pragma once
// check --add-suppressions: the comments an author would write to silence
// what is found now, written into the file's bytes and nothing else changed.
// Each element with findings gets <!-- kvnode: ignore RULE,... --> on a line
// of its own before it, indented as it is, so that it silences that element
// by the rule for a comment on a line of its own; findings about the file
// (no element) get <!-- kvnode: ignore-file RULE,... --> after the
// declaration. Findings no comment can silence (xml-error, comments that
// silenced nothing, a stale baseline) are left as they are.
#include "rules/Lint.h"

#include <string>
#include <vector>

namespace kvnode {

// bytes with the comments for findings (of those bytes, as Lint gave them); added counts the comments
std::string AddSuppressions(const std::string& bytes, const std::vector<Finding>& findings, size_t& added);

} // namespace kvnode
