// What adopting kvnode on a large library costs on top of the check itself,
// over a document of N plates, each with one finding that has a safe fix
// (material="Q345"), for N from 10^3 to 10^5:
//   BM_Lint           the check alone, the load included: the yardstick
//   BM_BaselineMatch  reading a baseline of the N findings and matching them
//   BM_Fix            --fix: the fixes applied and the file checked again
// ns_per_finding is the time per finding; each should stay flat as N grows.
#include "commands/Baseline.h"
#include "commands/Fixer.h"
#include "rules/Controls.h"
#include "rules/Lint.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <unistd.h>

namespace {

std::string Plates(long n)
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<CNodeAttDef classtype=\"8_0\" Version=\"1\">\n"
                      "<CNodeTypeDesc classtype=\"8_6\" name=\"N\">\n"
                      "<CPlaneDesc classtype=\"8_1\" name=\"A\" type=\"0\" memname=\"M\"/>\n"
                      "<CNodeMemberDesc classtype=\"8_4\" name=\"M\" kind=\"1\"/>\n";
    for (long i = 0; i < n; ++i)
        xml += "<CPlateDesc classtype=\"8_3\" name=\"P" + std::to_string(i) +
               "\" material=\"Q345\" lenexp=\"1\" widthexp=\"1\" thickexp=\"1\" planes=\"A,A,A\"/>\n";
    return xml + "</CNodeTypeDesc>\n</CNodeAttDef>\n";
}

const std::string& PlatesOf(long n)
{
    static std::map<long, std::string> cache;
    std::string& xml = cache[n];
    if (xml.empty())
        xml = Plates(n);
    return xml;
}

void PerFinding(benchmark::State& state, size_t findings)
{
    state.counters["findings"] = static_cast<double>(findings);
    state.counters["ns_per_finding"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * static_cast<double>(findings) * 1e-9,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_Lint(benchmark::State& state)
{
    const std::string& xml = PlatesOf(state.range(0));
    size_t findings = 0;
    for (auto _ : state)
        findings = kvnode::Lint("plates.xml", xml, kvnode::Controls()).findings.size();
    PerFinding(state, findings);
}
BENCHMARK(BM_Lint)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond);

void BM_BaselineMatch(benchmark::State& state)
{
    const std::string& xml = PlatesOf(state.range(0));
    const std::vector<kvnode::Finding> found = kvnode::Lint("plates.xml", xml, kvnode::Controls()).findings;
    const std::string path = "/tmp/kvnode-bench-baseline-" + std::to_string(::getpid()) + ".json";
    std::string problem;
    size_t written = 0;
    if (!kvnode::Baseline(path).Write({{"plates.xml", found}}, written, problem)) {
        state.SkipWithError(problem.c_str());
        return;
    }
    size_t matched = 0;
    for (auto _ : state) {
        kvnode::Baseline baseline(path);
        baseline.Read(false, problem);
        matched = 0;
        for (const kvnode::Finding& f : found)
            matched += baseline.Take("plates.xml", f);
    }
    std::remove(path.c_str());
    if (matched != found.size())
        state.SkipWithError("the baseline does not hold what it was written with");
    PerFinding(state, found.size());
}
BENCHMARK(BM_BaselineMatch)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond);

void BM_Fix(benchmark::State& state)
{
    const std::string& xml = PlatesOf(state.range(0));
    size_t fixed = 0;
    for (auto _ : state)
        fixed = kvnode::ApplyFixes("plates.xml", xml, kvnode::Controls(), false,
                                   [](const kvnode::Finding&) { return true; })
                    .fixed;
    if (fixed != static_cast<size_t>(state.range(0)))
        state.SkipWithError("not every plate was fixed");
    PerFinding(state, fixed);
}
BENCHMARK(BM_Fix)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
