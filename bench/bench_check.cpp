// kvnode check's cost on documents made to make it slow, through the entry
// point every caller uses (the load included, the printing not), each case
// at sizes ten times apart, so that a cost that grows faster than the file
// shows as a rising time per item:
//   BM_CycleReport      a chain of N vectors, each built from the next and from
//                       the one before: one group of N, one finding
//   BM_UnresolvedNames  N points naming lines that do not exist, each a slip
//                       of one of 1000 lines: N findings, each with a did-you-mean
//   BM_PlanesCommas     a plate whose "planes" holds N commas: one finding
//   BM_WarnedSiblings   N planes on one line, each with an unknown attribute
//                       and a kvnode comment after it: N findings, each silenced
//   BM_OneLineFile      N clean planes and comments on one line (10^5 is 4 MB)
// Counters: ns_per_item, findings, and report_bytes (the messages' size).
//
// And through the command, printing included:
//   BM_CheckOneLine     N siblings on one line, each with a finding: each
//                       finding shows a window of the line, so the output per
//                       finding (bytes_per_finding) is bounded whatever the
//                       line's length, and the run linear in N
//   BM_CheckManyFiles   F files of one document: what the command holds at its
//                       peak (peak_bytes) does not grow with F, since each
//                       file's text goes when its findings are written
#include "commands/Commands.h"
#include "rules/Controls.h"
#include "rules/Lint.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <map>
#include <new>
#include <ostream>
#include <sstream>
#include <string>
#include <unistd.h>

// Every allocation of the program is counted, so that a case can say the
// most it held at once.
namespace {
std::atomic<size_t> g_live{0}, g_peak{0};
void* Allocate(size_t n)
{
    void* p = std::malloc(n ? n : 1);
    if (!p)
        throw std::bad_alloc();
    const size_t now = g_live += malloc_usable_size(p);
    for (size_t peak = g_peak; now > peak && !g_peak.compare_exchange_weak(peak, now);) {
    }
    return p;
}
void Release(void* p) noexcept
{
    if (p) {
        g_live -= malloc_usable_size(p);
        std::free(p);
    }
}
} // namespace
void* operator new(size_t n) { return Allocate(n); }
void* operator new[](size_t n) { return Allocate(n); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, size_t) noexcept { Release(p); }
void operator delete[](void* p, size_t) noexcept { Release(p); }

namespace {

const char kHead[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<CNodeAttDef classtype=\"8_0\" Version=\"1\">\n"
                     "<CNodeTypeDesc classtype=\"8_6\" name=\"N\" nodetype=\"1\">\n"
                     "<CNodeMemberDesc classtype=\"8_4\" name=\"M\" kind=\"1\" sectype=\"1\" linkplanes=\"0\"/>\n";
const char kTail[] = "\n</CNodeTypeDesc>\n</CNodeAttDef>\n";

std::string Number(long i, int width)
{
    std::string digits = std::to_string(i);
    return std::string(digits.size() < static_cast<size_t>(width) ? width - digits.size() : 0, '0') + digits;
}

std::string Chain(long n)
{
    std::string xml = kHead;
    for (long i = 0; i < n; ++i)
        xml += "<CVecDesc classtype=\"8_14\" name=\"V" + std::to_string(i) + "\" type=\"2\" vec1=\"V" +
               std::to_string((i + 1) % n) + "\" vec2=\"V" + std::to_string(i ? i - 1 : n - 1) + "\"/>\n";
    return xml + kTail;
}

std::string UnresolvedNames(long n)
{
    std::string xml = kHead;
    for (long i = 0; i < 1000; ++i)
        xml += "<CLineDesc classtype=\"8_13\" name=\"Line" + Number(i, 5) + "\" type=\"0\" memname=\"M\"/>\n";
    xml += "<CPlaneDesc classtype=\"8_1\" name=\"Q\" type=\"0\" memname=\"M\" strdesc=\"x\"/>\n";
    for (long i = 0; i < n; ++i)
        xml += "<CPointDesc classtype=\"8_12\" name=\"P" + std::to_string(i) + "\" type=\"1\" line=\"Lime" +
               Number(i % 1000, 5) + "\" plane=\"Q\"/>\n";
    return xml + kTail;
}

std::string PlanesCommas(long n)
{
    return kHead + std::string("<CPlaneDesc classtype=\"8_1\" name=\"A\" type=\"0\" memname=\"M\" strdesc=\"x\"/>\n") +
           "<CPlateDesc classtype=\"8_3\" name=\"P\" lenexp=\"1\" widthexp=\"1\" thickexp=\"1\" planes=\"A" +
           std::string(static_cast<size_t>(n), ',') + "A\"/>" + kTail;
}

std::string WarnedSiblings(long n)
{
    std::string xml = kHead;
    for (long i = 0; i < n; ++i)
        xml += "<CPlaneDesc classtype=\"8_1\" name=\"A" + std::to_string(i) +
               "\" type=\"0\" memname=\"M\" strdesc=\"x\" colour=\"red\"/><!-- kvnode: ignore unknown-attribute -->";
    return xml + kTail;
}

std::string OneLineFile(long n)
{
    std::string xml = kHead;
    for (long i = 0; i < n; ++i)
        xml += "<CPlaneDesc classtype=\"8_1\" name=\"B" + std::to_string(i) +
               "\" type=\"0\" memname=\"M\" strdesc=\"x\"/><!-- a plane -->";
    return xml + kTail;
}

// each document made once
const std::string& Document(std::string (*make)(long), long n)
{
    static std::map<std::pair<std::string (*)(long), long>, std::string> cache;
    std::string& xml = cache[{make, n}];
    if (xml.empty())
        xml = make(n);
    return xml;
}

void Check(benchmark::State& state, std::string (*make)(long))
{
    const long n = state.range(0);
    const std::string& xml = Document(make, n);
    size_t bytes = 0, findings = 0;
    for (auto _ : state) {
        const kvnode::LintResult found = kvnode::Lint("bench.xml", xml, kvnode::Controls());
        findings = found.findings.size();
        bytes = 0;
        for (const kvnode::Finding& f : found.findings)
            bytes += f.message.size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["ns_per_item"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * static_cast<double>(n) * 1e-9,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["report_bytes"] = static_cast<double>(bytes);
    state.counters["findings"] = static_cast<double>(findings);
    state.counters["file_bytes"] = static_cast<double>(xml.size());
}

void BM_CycleReport(benchmark::State& state) { Check(state, Chain); }
void BM_UnresolvedNames(benchmark::State& state) { Check(state, UnresolvedNames); }
void BM_PlanesCommas(benchmark::State& state) { Check(state, PlanesCommas); }
void BM_WarnedSiblings(benchmark::State& state) { Check(state, WarnedSiblings); }
void BM_OneLineFile(benchmark::State& state) { Check(state, OneLineFile); }

BENCHMARK(BM_CycleReport)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnresolvedNames)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlanesCommas)->RangeMultiplier(10)->Range(10000, 1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WarnedSiblings)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OneLineFile)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond);

// N planes on one line, each with an unknown attribute and nothing to silence it: N findings printed
std::string PrintedSiblings(long n)
{
    std::string xml = kHead;
    for (long i = 0; i < n; ++i)
        xml += "<CPlaneDesc classtype=\"8_1\" name=\"A" + std::to_string(i) +
               "\" type=\"0\" memname=\"M\" strdesc=\"x\" colour=\"red\"/>";
    return xml + kTail;
}

// a file of a document for the command to read, removed at exit
const std::string& FileOf(std::string (*make)(long), long n)
{
    static std::map<std::pair<std::string (*)(long), long>, std::string> files;
    std::string& path = files[{make, n}];
    if (path.empty()) {
        path = (std::filesystem::temp_directory_path() /
                ("kvnode-bench-" + std::to_string(::getpid()) + "-" + std::to_string(files.size()) + ".xml"))
                   .string();
        std::ofstream(path, std::ios::binary) << Document(make, n);
        static struct Cleanup {
            ~Cleanup()
            {
                for (const auto& f : files)
                    std::filesystem::remove(f.second);
            }
        } cleanup;
    }
    return path;
}

// counts what is written and keeps nothing
class Counter : public std::streambuf {
public:
    size_t bytes = 0;

protected:
    int_type overflow(int_type c) override
    {
        ++bytes;
        return c;
    }
    std::streamsize xsputn(const char*, std::streamsize n) override
    {
        bytes += static_cast<size_t>(n);
        return n;
    }
};

size_t CheckThroughCommand(const kvnode::Options& options)
{
    Counter counter;
    std::ostream out(&counter);
    std::ostringstream err;
    kvnode::RunCheck(options, out, err);
    return counter.bytes;
}

void BM_CheckOneLine(benchmark::State& state)
{
    const long n = state.range(0);
    kvnode::Options options;
    options.files = {FileOf(PrintedSiblings, n)};
    size_t bytes = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(bytes = CheckThroughCommand(options));
    state.counters["ns_per_finding"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * static_cast<double>(n) * 1e-9,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["bytes_per_finding"] = static_cast<double>(bytes) / static_cast<double>(n);
    state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(options.files[0]));
}
BENCHMARK(BM_CheckOneLine)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond);

void BM_CheckManyFiles(benchmark::State& state)
{
    kvnode::Options options;
    options.files.assign(static_cast<size_t>(state.range(0)), FileOf(PrintedSiblings, 1000));
    size_t peak = 0;
    for (auto _ : state) {
        g_peak = g_live.load();
        const size_t before = g_live;
        benchmark::DoNotOptimize(CheckThroughCommand(options));
        peak = g_peak - before;
    }
    state.counters["peak_bytes"] = static_cast<double>(peak);
}
BENCHMARK(BM_CheckManyFiles)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
