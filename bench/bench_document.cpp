// Loads, saves and walks generated node libraries of 10^3 to 10^6 elements.
// Each benchmark times pugixml on the same bytes in the same iterations and
// reports the ratio as a counter, next to the time per element and how far
// that drifts from the smallest library:
//   x_pugixml   our time / pugixml's time
//   ns_per_elem time per element or child
//   x_smallest  ns_per_elem / that of the 10^3 library
//   held_x_file bytes held after a load / UTF-8 file size
// The targets are measured by bench_mapping (against a hand-written mapping
// too) and bench_first_load (a load in a fresh process).
//   faults_per_kelem page faults of a load per 1000 elements (fresh memory)
//   us_per_4k_page   what first touching memory costs on this machine
#include <KvNodeDefine/KvNodeDefine.h>
#include <BenchSupport.h>
#include <NodeLibraryGenerator.h>

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <pugixml.hpp>

#include <algorithm>
#include <ctime>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr long kSmallest = 1000;

using kvbench::LibraryOf;

struct Clock {
    using time_point = double;
    static double now() noexcept { return kvbench::ThreadSeconds(); }
};
double Since(double start) { return Clock::now() - start; }

// page faults of this thread so far: fresh memory costs a fault per page
long PageFaults()
{
    rusage u;
    getrusage(RUSAGE_THREAD, &u);
    return u.ru_minflt + u.ru_majflt;
}

// ns per item, and its ratio to the smallest library's (benchmarks run their
// arguments in order, so the smallest comes first)
void ReportPerItem(benchmark::State& state, const std::string& family, double seconds, double itemsPerIteration)
{
    static std::map<std::string, double> smallest;
    const double ns = seconds * 1e9 / (static_cast<double>(state.iterations()) * itemsPerIteration);
    state.counters["ns_per_elem"] = ns;
    if (state.range(0) == kSmallest)
        smallest[family] = ns;
    else if (smallest.count(family))
        state.counters["x_smallest"] = ns / smallest[family];
}

std::size_t HeapInUse()
{
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

// what a loaded document keeps, from the allocator's own accounts
std::size_t HeldAfterLoad(const std::string& xml)
{
    {
        CXMLDocument warmUp; // per-thread pools and converters are made once, not per document
        warmUp.LoadXml(xml.data(), std::min<std::size_t>(xml.size(), 4096));
    }
    const std::size_t before = HeapInUse();
    auto* doc = new CXMLDocument;
    doc->LoadXml(xml.data(), xml.size());
    const std::size_t held = HeapInUse() - before;
    delete doc;
    return held;
}

void BM_Load(benchmark::State& state)
{
    const kvgen::Library& lib = LibraryOf(state.range(0));
    double ours = 0, theirs = 0;
    long faults = 0;
    for (auto _ : state) {
        pugi::xml_document reference;
        CXMLDocument doc;
        auto start = Clock::now();
        benchmark::DoNotOptimize(reference.load_buffer(lib.xml.data(), lib.xml.size()));
        theirs += Since(start);
        const long faultsBefore = PageFaults();
        start = Clock::now();
        if (!doc.LoadXml(lib.xml.data(), lib.xml.size()))
            state.SkipWithError(doc.GetErrorText().c_str());
        const double t = Since(start);
        faults += PageFaults() - faultsBefore;
        ours += t;
        state.SetIterationTime(t);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * lib.xml.size()));
    state.counters["x_pugixml"] = ours / theirs;
    ReportPerItem(state, "Load", ours, static_cast<double>(lib.elements));
    state.counters["faults_per_kelem"] =
        1000.0 * static_cast<double>(faults) / (static_cast<double>(state.iterations()) * static_cast<double>(lib.elements));
    state.counters["held_x_file"] = static_cast<double>(HeldAfterLoad(lib.xml)) / static_cast<double>(lib.xml.size());
}

struct StringWriter : pugi::xml_writer {
    std::string out;
    void write(const void* data, std::size_t size) override { out.append(static_cast<const char*>(data), size); }
};

void BM_Save(benchmark::State& state)
{
    const kvgen::Library& lib = LibraryOf(state.range(0));
    pugi::xml_document reference;
    reference.load_buffer(lib.xml.data(), lib.xml.size());
    CXMLDocument doc;
    if (!doc.LoadXml(lib.xml.data(), lib.xml.size()))
        state.SkipWithError(doc.GetErrorText().c_str());
    double ours = 0, theirs = 0;
    std::size_t bytes = 0;
    for (auto _ : state) {
        StringWriter theirText;
        std::string ourText;
        auto start = Clock::now();
        reference.save(theirText, "  ");
        theirs += Since(start);
        start = Clock::now();
        if (!doc.SaveXml(ourText))
            state.SkipWithError(doc.GetErrorText().c_str());
        const double t = Since(start);
        ours += t;
        state.SetIterationTime(t);
        bytes = ourText.size();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    state.counters["x_pugixml"] = ours / theirs;
    ReportPerItem(state, "Save", ours, static_cast<double>(lib.elements));
}

// the node types of a loaded library, and their children in all
struct NodeTypes {
    CXMLDocument doc;
    std::vector<const CNodeTypeDesc*> items;
    double children = 0;
    explicit NodeTypes(const kvgen::Library& lib)
    {
        doc.LoadXml(lib.xml.data(), lib.xml.size());
        const auto* root = static_cast<const CXMLComposite*>(doc.GetRoot());
        for (int i = 0; root && i < root->GetChildCount(); ++i)
            if (auto* nt = root->GetChild(i); nt && nt->IsKindOf(RUNTIME_CLASS(CNodeTypeDesc))) {
                items.push_back(static_cast<const CNodeTypeDesc*>(nt));
                children += items.back()->GetChildCount();
            }
    }
};

void BM_GetPlateDescArray(benchmark::State& state)
{
    const NodeTypes nodeTypes(LibraryOf(state.range(0)));
    const auto start = Clock::now();
    for (auto _ : state)
        for (const CNodeTypeDesc* nt : nodeTypes.items) {
            AcArray<CPlateDesc*> plates;
            nt->GetPlateDescArray(plates);
            benchmark::DoNotOptimize(plates.asArrayPtr());
        }
    ReportPerItem(state, "GetPlateDescArray", Since(start), nodeTypes.children);
}

// every member of every node type found by its name; each lookup walks the
// node type's children up to the member, so the time is reported per child walked
void BM_FindMemberByName(benchmark::State& state)
{
    const NodeTypes nodeTypes(LibraryOf(state.range(0)));
    std::vector<std::vector<CString>> names;
    double walked = 0;
    for (const CNodeTypeDesc* nt : nodeTypes.items) {
        names.emplace_back();
        for (int i = 0; i < nt->GetChildCount(); ++i)
            if (auto* member = nt->GetChild(i); member && member->IsKindOf(RUNTIME_CLASS(CNodeMemberDesc))) {
                names.back().push_back(static_cast<const CNodeMemberDesc*>(member)->GetName());
                walked += i + 1;
            }
    }
    const auto start = Clock::now();
    for (auto _ : state)
        for (std::size_t i = 0; i < nodeTypes.items.size(); ++i)
            for (const CString& name : names[i])
                benchmark::DoNotOptimize(nodeTypes.items[i]->FindMemberByName(name));
    ReportPerItem(state, "FindMemberByName", Since(start), walked);
}

// What the machine charges for memory touched for the first time, per
// 4 KiB page: 4 KiB pages (0), or huge pages asked for with madvise (1).
// A load takes some 700 bytes of fresh memory per element, so this cost
// sets how far its time per element drifts on large libraries.
void BM_FreshMemory(benchmark::State& state)
{
    constexpr std::size_t kBytes = std::size_t{64} << 20, kPage = 4096;
    double seconds = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        void* p = mmap(nullptr, kBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED) {
            state.SkipWithError("mmap failed");
            break;
        }
        if (state.range(0) != 0)
            madvise(p, kBytes, MADV_HUGEPAGE);
        for (std::size_t i = 0; i < kBytes; i += kPage)
            static_cast<volatile char*>(p)[i] = 1;
        munmap(p, kBytes);
        const double t = Since(start);
        seconds += t;
        state.SetIterationTime(t);
    }
    state.counters["us_per_4k_page"] = seconds * 1e6 / (static_cast<double>(state.iterations()) * (kBytes / kPage));
}

// n siblings of no registered class, one name shared or each its own: every
// element warns, and every warning's path names the element's index among
// its same-named siblings. Both linear: x_smallest near 1 from 10^3 to 10^5,
// and x_shared, the distinct names' time per element over the shared name's
// at the same n, near 1.
void LoadSiblings(benchmark::State& state, const char* family, bool distinct)
{
    static std::map<long, double> sharedNs;
    const long n = state.range(0);
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<CNodeAttDef classtype=\"8_0\" Version=\"1\">\n";
    for (long i = 0; i < n; ++i)
        xml += distinct ? "  <u" + std::to_string(i) + " />\n" : std::string("  <u />\n");
    xml += "</CNodeAttDef>\n";
    const size_t warnings = std::min<size_t>(static_cast<size_t>(n), CXMLDocument::kMaxWarnings) +
                            (static_cast<size_t>(n) > CXMLDocument::kMaxWarnings ? 1 : 0);
    double seconds = 0;
    for (auto _ : state) {
        CXMLDocument doc;
        const auto start = Clock::now();
        if (!doc.LoadXml(xml.data(), xml.size()) || doc.GetWarnings().size() != warnings)
            state.SkipWithError("the load failed or did not warn once per element");
        const double t = Since(start);
        seconds += t;
        state.SetIterationTime(t);
    }
    ReportPerItem(state, family, seconds, static_cast<double>(n));
    const double ns = state.counters["ns_per_elem"];
    if (!distinct)
        sharedNs[n] = ns;
    else if (sharedNs.count(n))
        state.counters["x_shared"] = ns / sharedNs[n];
}

void BM_LoadSiblingsSharingAName(benchmark::State& state) { LoadSiblings(state, "SharingAName", false); }
void BM_LoadSiblingsOfDistinctNames(benchmark::State& state) { LoadSiblings(state, "DistinctNames", true); }

void Sizes(benchmark::internal::Benchmark* b)
{
    for (long n = kSmallest; n <= 1000000; n *= 10)
        b->Arg(n);
    b->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(BM_Load)->Apply(Sizes)->UseManualTime();
BENCHMARK(BM_Save)->Apply(Sizes)->UseManualTime();
BENCHMARK(BM_LoadSiblingsSharingAName)
    ->RangeMultiplier(10)
    ->Range(kSmallest, 100000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadSiblingsOfDistinctNames)
    ->RangeMultiplier(10)
    ->Range(kSmallest, 100000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetPlateDescArray)->Apply(Sizes);
BENCHMARK(BM_FindMemberByName)->Apply(Sizes);
BENCHMARK(BM_FreshMemory)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
