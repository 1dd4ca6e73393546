// A load through the Python module against the same load in C++, in one
// run: each iteration loads the same file both ways, one after the other,
// so that both see the same machine. Python's objects are made only when a
// script asks for them, so the cost over C++ is the call and the document's
// wrapper; the counter overhead_pct is what that adds (at most 10 for a
// library of 10^4 elements).
#include <BenchSupport.h>

#include <xmlobj/CXMLDocument.h>

#include <benchmark/benchmark.h>
#include <pybind11/embed.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace py = pybind11;

namespace {

// the generated library of n elements, as a file
std::string LibraryFile(long elements)
{
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("kvbench-python-" + std::to_string(getpid()) + "-" + std::to_string(elements) + ".xml"))
                                 .string();
    const kvgen::Library& lib = kvbench::LibraryOf(elements);
    std::ofstream(path, std::ios::binary).write(lib.xml.data(), static_cast<std::streamsize>(lib.xml.size()));
    return path;
}

// the module as the build made it, or the program stops with Python's message
py::module_ Module()
{
    py::module_::import("sys").attr("path").attr("insert")(0, KV_PYTHON_PATH);
    return py::module_::import("kvnodedefine");
}

// Loads the file in C++ and through load() (from a file) or loads() (from
// bytes already read) in turn, and reports the times of both.
void Compare(benchmark::State& state, const char* function)
{
    const std::string path = LibraryFile(state.range(0));
    const kvgen::Library& lib = kvbench::LibraryOf(state.range(0));
    const py::object load = Module().attr(function);
    const bool fromFile = std::string(function) == "load";
    const py::object argument = fromFile ? py::object(py::str(path)) : py::object(py::bytes(lib.xml));
    double cpp = 0, python = 0;
    for (auto _ : state) {
        double start = kvbench::ThreadSeconds();
        {
            CXMLDocument doc;
            const bool loaded = fromFile ? doc.LoadFile(path.c_str()) : doc.LoadXml(lib.xml.data(), lib.xml.size());
            if (!loaded)
                state.SkipWithError("C++ could not load the library");
            benchmark::DoNotOptimize(doc.GetRoot());
        }
        const double middle = kvbench::ThreadSeconds();
        {
            const py::object doc = load(argument);
            benchmark::DoNotOptimize(doc.ptr());
        }
        const double end = kvbench::ThreadSeconds();
        cpp += middle - start;
        python += end - middle;
        state.SetIterationTime(end - middle);
    }
    std::remove(path.c_str());
    const double n = static_cast<double>(state.iterations());
    state.counters["cpp_ms"] = cpp / n * 1e3;
    state.counters["python_ms"] = python / n * 1e3;
    state.counters["overhead_pct"] = (python / cpp - 1) * 100;
    state.counters["elements"] = static_cast<double>(lib.elements);
}

void BM_LoadFile(benchmark::State& state) { Compare(state, "load"); }
void BM_LoadBytes(benchmark::State& state) { Compare(state, "loads"); }

} // namespace

BENCHMARK(BM_LoadFile)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadBytes)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    const py::scoped_interpreter python;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
