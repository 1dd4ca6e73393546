// Peak memory of a load against the size of the file, for the shapes of
// document that cost the most per byte: a million tiny elements of a
// registered class or of none, texts and comments between them, distinct
// names, attributes, nesting; and a node library as written.
//   peak_x_file  the most heap a load held at once (its document, the parse,
//                the objects and their lists) / the file's size   (target <= 32)
//   held_x_file  what the loaded document keeps / the file's size
//   refused      1 when the load refused the document part way, as a load
//                does whose tree would pass the bound (texts between tiny elements)
// This program counts the heap itself: it stands in for malloc and keeps
// the bytes in use and their peak (glibc's malloc does the work).
#include <BenchSupport.h>
#include <KvNodeDefine/KvNodeDefine.h>

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <atomic>
#include <cstddef>
#include <functional>
#include <string>

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* p, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void __libc_free(void* p);
}

namespace {

std::atomic<size_t> g_inUse{0}, g_peak{0};

// what a block takes of the heap: its room and the size word in front of it
size_t Taken(void* p) { return malloc_usable_size(p) + sizeof(size_t); }

void* Counted(void* p)
{
    if (p) {
        const size_t now = g_inUse.fetch_add(Taken(p), std::memory_order_relaxed) + Taken(p);
        size_t peak = g_peak.load(std::memory_order_relaxed);
        while (now > peak && !g_peak.compare_exchange_weak(peak, now, std::memory_order_relaxed)) {
        }
    }
    return p;
}

void Uncount(void* p)
{
    if (p)
        g_inUse.fetch_sub(Taken(p), std::memory_order_relaxed);
}

} // namespace

extern "C" {
void* malloc(size_t size) { return Counted(__libc_malloc(size)); }
void* calloc(size_t count, size_t size) { return Counted(__libc_calloc(count, size)); }
void free(void* p)
{
    Uncount(p);
    __libc_free(p);
}
void* realloc(void* p, size_t size)
{
    Uncount(p);
    void* q = __libc_realloc(p, size);
    if (!q && size) // the old block stays
        return Counted(p);
    return Counted(q);
}
void* memalign(size_t alignment, size_t size) { return Counted(__libc_memalign(alignment, size)); }
void* aligned_alloc(size_t alignment, size_t size) { return Counted(__libc_memalign(alignment, size)); }
int posix_memalign(void** out, size_t alignment, size_t size)
{
    *out = Counted(__libc_memalign(alignment, size));
    return *out ? 0 : 12; // ENOMEM
}
}

namespace {

// a node definition document whose root holds count times what item(i) gives
std::string Document(long count, const std::function<std::string(long)>& item)
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<CNodeAttDef classtype=\"8_0\" Version=\"1\">\n";
    for (long i = 0; i < count; ++i)
        xml += item(i);
    return xml + "</CNodeAttDef>\n";
}

// refusable: a shape whose tree would pass the bound, which the load refuses part way
void MeasureLoad(benchmark::State& state, const std::string& xml, bool refusable = false)
{
    {
        CXMLDocument warmUp; // per-thread pools and converters are made once, not per document
        warmUp.LoadXml(xml.data(), std::min<size_t>(xml.size(), 4096));
    }
    size_t peak = 0, held = 0;
    for (auto _ : state) {
        const size_t before = g_inUse.load();
        g_peak = before;
        auto* doc = new CXMLDocument;
        const bool loaded = doc->LoadXml(xml.data(), xml.size());
        if (!loaded && !refusable)
            state.SkipWithError(doc->GetErrorText().c_str());
        state.counters["refused"] = loaded ? 0 : 1;
        peak = g_peak.load() - before;
        held = g_inUse.load() - before;
        delete doc;
    }
    state.counters["peak_x_file"] = static_cast<double>(peak) / static_cast<double>(xml.size());
    state.counters["held_x_file"] = static_cast<double>(held) / static_cast<double>(xml.size());
    state.counters["file_MB"] = static_cast<double>(xml.size()) / 1e6;
}

constexpr long kMillion = 1000000;

void BM_PeakCutDescs(benchmark::State& state)
{
    MeasureLoad(state, Document(kMillion, [](long) { return "<CCutDesc/>"; }));
}
void BM_PeakPlateDescs(benchmark::State& state)
{
    MeasureLoad(state, Document(kMillion, [](long) { return "<CPlateDesc/>"; }));
}
void BM_PeakUnknownElements(benchmark::State& state)
{
    MeasureLoad(state, Document(kMillion, [](long) { return "<a/>"; }));
}
void BM_PeakDistinctNames(benchmark::State& state)
{
    MeasureLoad(state, Document(kMillion, [](long i) { return "<u" + std::to_string(i) + "/>"; }));
}
void BM_PeakShortDistinctNames(benchmark::State& state)
{
    // all names of three letters, 140608 of them, then again
    MeasureLoad(state, Document(kMillion, [](long i) {
                    const char* letters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
                    return std::string("<") + letters[i % 52] + letters[i / 52 % 52] + letters[i / 2704 % 52] + "/>";
                }));
}
void BM_PeakNested(benchmark::State& state)
{
    MeasureLoad(state, Document(kMillion / 2, [](long) { return "<a><b/></a>"; }));
}
void BM_PeakComments(benchmark::State& state)
{
    MeasureLoad(state, Document(kMillion, [](long) { return "<!---->"; }));
}
void BM_PeakInstructions(benchmark::State& state)
{
    MeasureLoad(state, Document(kMillion, [](long) { return "<?a?>"; }));
}
void BM_PeakTextsBetweenElements(benchmark::State& state)
{
    MeasureLoad(state, Document(kMillion, [](long) { return "x<a/>"; }), true);
}
void BM_PeakAttributes(benchmark::State& state)
{
    MeasureLoad(state, Document(1, [](long) {
                    std::string a = "<a";
                    for (long i = 0; i < kMillion / 4; ++i)
                        a += " a" + std::to_string(i) + "=\"\"";
                    return a + "/>";
                }));
}
void BM_PeakNodeLibrary(benchmark::State& state) { MeasureLoad(state, kvbench::LibraryOf(100000).xml); }

} // namespace

BENCHMARK(BM_PeakCutDescs)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeakPlateDescs)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeakUnknownElements)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeakDistinctNames)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeakShortDistinctNames)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeakNested)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeakComments)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeakInstructions)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeakTextsBetweenElements)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeakAttributes)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeakNodeLibrary)->Iterations(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
