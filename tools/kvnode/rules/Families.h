#pragma once
// The families of rules, one file each: each registers its rules with their
// documentation and checks a document for them.
#include "rules/LintContext.h"
#include "rules/Rule.h"

namespace kvnode {

struct Family {
    void (*registerRules)(RuleRegistry& registry);
    void (*check)(LintContext& c); // null: the entry point finds them itself
};

// what the library's reader and writer make of the file: xml-error,
// encoding-mismatch, unwritable-text (LintReader.cpp)
void RegisterReaderRules(RuleRegistry& r);
void CheckReader(LintContext& c);
// the document's shape: xml-warning, unknown-class, misspelt-element,
// class-mismatch, misplaced-element, stray-text (LintTree.cpp)
void RegisterTreeRules(RuleRegistry& r);
void CheckTree(LintContext& c);
// every attribute against its class's reading: bad-number,
// value-out-of-table, misread-value, misspelt-attribute, unknown-attribute (LintAttributes.cpp)
void RegisterAttributeRules(RuleRegistry& r);
void CheckAttributes(LintContext& c);
// names in a node type: unresolved-name, duplicate-name, unused-varitem (LintNames.cpp)
void RegisterNameRules(RuleRegistry& r);
void CheckNames(LintContext& c);
// construction-cycle (LintCycles.cpp)
void RegisterCycleRules(RuleRegistry& r);
void CheckCycles(LintContext& c);
// the counts and sizes of parts: plate-planes, cut-planes, bolt-planes,
// linkbar-planes, empty-value-list, empty-size (LintParts.cpp)
void RegisterPartRules(RuleRegistry& r);
void CheckParts(LintContext& c);
// unused-suppression, which the entry point finds from the kvnode comments (Suppressions.cpp)
void RegisterSuppressionRules(RuleRegistry& r);

// every family's check over one document, in the families' order
void RunFamilies(LintContext& c);

} // namespace kvnode
