// The library's load and save against pugixml alone and against the mapping
// a host developer would write by hand (HandMapping.h), at 10^3, 10^4 and
// 10^5 elements. All three run in every iteration on the same bytes, in an
// order that rotates so that none always finds the heap as another left it;
// the ratios are what to read on a shared machine.
//   x_hand      load: our time / the hand-written mapping's    (target <= 0.8)
//   x_pugixml   our time / pugixml's: its parse, or the save of its parse
//               (save: target <= 2)
//   hand_x_pugixml  the mapping's time / pugixml's, for scale
//   ns_per_elem our time per element
//   held_x_file bytes a loaded document holds / UTF-8 file size (target <= 2.4)
#include <BenchSupport.h>
#include <HandMapping.h>
#include <KvNodeDefine/KvNodeDefine.h>
#include <NodeLibraryGenerator.h>

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <pugixml.hpp>

#include <array>
#include <ctime>
#include <functional>
#include <map>
#include <string>

namespace {

using kvbench::LibraryOf;

double Now() { return kvbench::ThreadSeconds(); }

// Runs the contenders once each, starting with a different one every
// iteration, and adds each one's time to its total.
template <std::size_t N>
void RunRotating(benchmark::IterationCount iteration, const std::array<std::function<void()>, N>& contenders,
                 std::array<double, N>& seconds)
{
    for (std::size_t k = 0; k < N; ++k) {
        const std::size_t i = (static_cast<std::size_t>(iteration) + k) % N;
        const double start = Now();
        contenders[i]();
        seconds[i] += Now() - start;
    }
}

std::size_t HeapInUse()
{
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

double HeldPerFileByte(const std::string& xml)
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
    return static_cast<double>(held) / static_cast<double>(xml.size());
}

enum { kPugixml, kHand, kOurs };

// The contenders by name, so that valgrind --tool=callgrind counts each one's
// instructions (docs/performance.md); the same bytes, so the counts compare.
[[gnu::noinline]] bool ParseWithPugixml(const std::string& xml, pugi::xml_document& parsed)
{
    return static_cast<bool>(parsed.load_buffer(xml.data(), xml.size()));
}
[[gnu::noinline]] bool LoadByHand(const std::string& xml, handmap::Library& mapped)
{
    return handmap::Load(xml, mapped);
}
[[gnu::noinline]] bool LoadWithLibrary(const std::string& xml, CXMLDocument& doc)
{
    return doc.LoadXml(xml.data(), xml.size());
}
[[gnu::noinline]] void SaveWithPugixml(const pugi::xml_document& parsed, handmap::StringWriter& text)
{
    parsed.save(text, "  ");
}
[[gnu::noinline]] void SaveByHand(const handmap::Library& mapped, std::string& text)
{
    text = handmap::Save(mapped);
}
[[gnu::noinline]] bool SaveWithLibrary(const CXMLDocument& doc, std::string& text)
{
    return doc.SaveXml(text);
}

void BM_Load(benchmark::State& state)
{
    const kvgen::Library& lib = LibraryOf(state.range(0));
    std::array<double, 3> seconds{};
    benchmark::IterationCount iteration = 0;
    for (auto _ : state) {
        // what each makes is destroyed after the iteration, outside the times
        pugi::xml_document parsed;
        handmap::Library mapped;
        CXMLDocument doc;
        bool ok = true;
        const double oursBefore = seconds[kOurs];
        RunRotating<3>(iteration++,
                       {[&] { ok &= ParseWithPugixml(lib.xml, parsed); }, [&] { ok &= LoadByHand(lib.xml, mapped); },
                        [&] { ok &= LoadWithLibrary(lib.xml, doc); }},
                       seconds);
        state.SetIterationTime(seconds[kOurs] - oursBefore);
        // a warning means elements read as unknown: no descriptors to measure
        if (!ok || !doc.GetWarnings().empty())
            state.SkipWithError("a load failed or warned");
    }
    const double perElement = 1e9 / (static_cast<double>(state.iterations()) * static_cast<double>(lib.elements));
    state.counters["x_hand"] = seconds[kOurs] / seconds[kHand];
    state.counters["x_pugixml"] = seconds[kOurs] / seconds[kPugixml];
    state.counters["hand_x_pugixml"] = seconds[kHand] / seconds[kPugixml];
    state.counters["ns_per_elem"] = seconds[kOurs] * perElement;
    state.counters["held_x_file"] = HeldPerFileByte(lib.xml);
}

void BM_Save(benchmark::State& state)
{
    const kvgen::Library& lib = LibraryOf(state.range(0));
    pugi::xml_document parsed;
    parsed.load_buffer(lib.xml.data(), lib.xml.size());
    handmap::Library mapped;
    handmap::Load(lib.xml, mapped);
    CXMLDocument doc;
    if (!doc.LoadXml(lib.xml.data(), lib.xml.size()) || !doc.GetWarnings().empty())
        state.SkipWithError("the library loads with an error or warnings");
    std::array<double, 3> seconds{};
    benchmark::IterationCount iteration = 0;
    for (auto _ : state) {
        handmap::StringWriter theirs;
        std::string hand, ours;
        bool ok = true;
        const double oursBefore = seconds[kOurs];
        RunRotating<3>(iteration++,
                       {[&] { SaveWithPugixml(parsed, theirs); }, [&] { SaveByHand(mapped, hand); },
                        [&] { ok = SaveWithLibrary(doc, ours); }},
                       seconds);
        state.SetIterationTime(seconds[kOurs] - oursBefore);
        if (!ok)
            state.SkipWithError(doc.GetErrorText().c_str());
    }
    const double perElement = 1e9 / (static_cast<double>(state.iterations()) * static_cast<double>(lib.elements));
    state.counters["x_hand"] = seconds[kOurs] / seconds[kHand];
    state.counters["x_pugixml"] = seconds[kOurs] / seconds[kPugixml];
    state.counters["hand_x_pugixml"] = seconds[kHand] / seconds[kPugixml];
    state.counters["ns_per_elem"] = seconds[kOurs] * perElement;
}

void Sizes(benchmark::internal::Benchmark* b)
{
    for (long n = 1000; n <= 100000; n *= 10)
        b->Arg(n);
    b->Unit(benchmark::kMillisecond);
}

} // namespace

// the time shown is ours; the others are in the ratios
BENCHMARK(BM_Load)->Apply(Sizes)->UseManualTime();
BENCHMARK(BM_Save)->Apply(Sizes)->UseManualTime();

BENCHMARK_MAIN();
