// stale-baseline: check --baseline finds these itself (commands/Baseline.cpp).
#include "rules/Families.h"

namespace kvnode {

void RegisterBaselineRules(RuleRegistry& r)
{
    r.Add({kStaleBaseline, Severity::Warning, "a finding the baseline holds that the file no longer has",
           "A baseline (check --baseline FILE) holds the findings a library had when it adopted kvnode, so that only "
           "new ones are reported. One that has gone since, mended or removed with its element, is reported, so "
           "that it cannot come back unnoticed; --write-baseline FILE drops it.",
           "kvnode-baseline.json holds {\"file\": \"a.xml\", \"rule\": \"plate-planes\", ...}, and a.xml is mended",
           "kvnode check --baseline kvnode-baseline.json --write-baseline kvnode-baseline.json a.xml"});
}

} // namespace kvnode
