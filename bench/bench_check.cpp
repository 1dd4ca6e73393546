// kvnode check's construction-cycle report over a chain of N vectors, each
// built from the next and from the one before (a back edge at every step):
// one group, one finding, in time linear in N from 10^3 to 10^5.
//   ns_per_vec      the time per vector of the whole check, the load included
//   report_bytes    the size of all messages: bounded, whatever N
#include "rules/Controls.h"
#include "rules/Lint.h"

#include <KvNodeDefine/KvNodeDefine.h>

#include <benchmark/benchmark.h>

#include <map>
#include <string>

namespace {

std::string Chain(long n)
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<CNodeAttDef classtype=\"8_0\" Version=\"1\">\n"
                      "<CNodeTypeDesc classtype=\"8_6\" name=\"N\">\n";
    for (long i = 0; i < n; ++i)
        xml += "<CVecDesc classtype=\"8_14\" name=\"V" + std::to_string(i) + "\" type=\"2\" vec1=\"V" +
               std::to_string((i + 1) % n) + "\" vec2=\"V" + std::to_string(i ? i - 1 : n - 1) + "\"/>\n";
    return xml + "</CNodeTypeDesc>\n</CNodeAttDef>\n";
}

const std::string& ChainOf(long n)
{
    static std::map<long, std::string> cache;
    std::string& xml = cache[n];
    if (xml.empty())
        xml = Chain(n);
    return xml;
}

void BM_CycleReport(benchmark::State& state)
{
    const long n = state.range(0);
    const std::string& xml = ChainOf(n);
    size_t bytes = 0, findings = 0;
    for (auto _ : state) {
        const kvnode::LintResult found = kvnode::Lint("chain.xml", xml, kvnode::Controls());
        findings = found.findings.size();
        bytes = 0;
        for (const kvnode::Finding& f : found.findings)
            bytes += f.message.size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["ns_per_vec"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * static_cast<double>(n) * 1e-9,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["report_bytes"] = static_cast<double>(bytes);
    state.counters["findings"] = static_cast<double>(findings);
}
BENCHMARK(BM_CycleReport)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
