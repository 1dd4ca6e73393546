// The first load in a fresh process against pugixml's first parse in a fresh
// process (and the hand-written mapping's, HandMapping.h), on the same file.
// Every measurement is a process of its own: this program started again with
// --first-load, which reads the file into memory, then times the one load and
// counts its page faults. A first load pays for everything a warm one finds
// made: fresh memory (a page fault per 4 KiB page touched), code paged in,
// symbols bound, tables built once per process.
//   x_pugixml         our first load / pugixml's first parse   (target <= 1.6)
//   hand_x_pugixml    the mapping's first load / pugixml's
//   faults_per_kelem  our load's page faults per 1000 elements
//   pugixml_faults_per_kelem, hand_faults_per_kelem   theirs
//   ns_per_elem       our first load per element
#include <BenchSupport.h>
#include <HandMapping.h>
#include <KvNodeDefine/KvNodeDefine.h>
#include <NodeLibraryGenerator.h>

#include <benchmark/benchmark.h>
#include <pugixml.hpp>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

extern char** environ;

namespace {

const char* const kContenders[] = {"pugixml", "hand", "ours"};
enum { kPugixml, kHand, kOurs };

double Now() { return kvbench::ThreadSeconds(); }

long MinorFaults()
{
    rusage u;
    getrusage(RUSAGE_SELF, &u);
    return u.ru_minflt;
}

// The child: one load of the file by one contender; prints seconds and faults.
int FirstLoad(const std::string& who, const char* path)
{
    std::ifstream in(path, std::ios::binary);
    const std::string xml{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (xml.empty())
        return 2;
    bool ok = false;
    const long faults = MinorFaults();
    const double start = Now();
    // what a load makes is left to the end of the process, untimed
    if (who == "pugixml")
        ok = static_cast<bool>((new pugi::xml_document)->load_buffer(xml.data(), xml.size()));
    else if (who == "hand")
        ok = handmap::Load(xml, *new handmap::Library);
    else
        ok = (new CXMLDocument)->LoadXml(xml.data(), xml.size());
    const double seconds = Now() - start;
    std::printf("%.9f %ld\n", seconds, MinorFaults() - faults);
    return ok ? 0 : 1;
}

struct Measurement {
    double seconds = 0;
    long faults = 0;
};

// runs this program again as a child that loads path once as `who`
bool RunChild(const char* who, const std::string& path, Measurement& m)
{
    int out[2];
    if (pipe(out) != 0)
        return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::string self = "/proc/self/exe", flag = "--first-load", whoArg = who, pathArg = path;
    char* argv[] = {self.data(), flag.data(), whoArg.data(), pathArg.data(), nullptr};
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, "/proc/self/exe", &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    char text[128] = {};
    std::size_t got = 0;
    for (ssize_t n; got + 1 < sizeof text && (n = read(out[0], text + got, sizeof text - 1 - got)) > 0;)
        got += static_cast<std::size_t>(n);
    close(out[0]);
    int status = 1;
    if (spawned == 0)
        waitpid(pid, &status, 0);
    return spawned == 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0 &&
           std::sscanf(text, "%lf %ld", &m.seconds, &m.faults) == 2;
}

struct LibraryFile {
    std::string path; // empty when it could not be written
    std::size_t elements;
};
std::map<long, LibraryFile> libraryFiles;

// the generated library in a file, written once per size
const LibraryFile& FileOf(long elements)
{
    auto it = libraryFiles.find(elements);
    if (it == libraryFiles.end()) {
        kvgen::LibraryShape shape;
        shape.elements = static_cast<std::size_t>(elements);
        shape.seed = 20240601;
        const kvgen::Library lib = kvgen::GenerateNodeLibrary(shape);
        char path[] = "/tmp/kv_first_load_XXXXXX";
        const int fd = mkstemp(path);
        bool written = false;
        if (fd >= 0) {
            written = write(fd, lib.xml.data(), lib.xml.size()) == static_cast<ssize_t>(lib.xml.size());
            close(fd);
            if (!written)
                std::remove(path);
        }
        it = libraryFiles.emplace(elements, LibraryFile{written ? path : "", lib.elements}).first;
    }
    return it->second;
}

void RemoveLibraryFiles()
{
    for (const auto& [size, file] : libraryFiles)
        if (!file.path.empty())
            std::remove(file.path.c_str());
}

void BM_FirstLoad(benchmark::State& state)
{
    const LibraryFile& file = FileOf(state.range(0));
    const std::string& path = file.path;
    const double elements = static_cast<double>(file.elements);
    if (path.empty()) {
        state.SkipWithError("cannot write the library to /tmp");
        return;
    }
    std::array<Measurement, 3> total{};
    std::size_t iteration = 0;
    for (auto _ : state) {
        for (std::size_t k = 0; k < 3; ++k) { // a different one first each time
            const std::size_t i = (iteration + k) % 3;
            Measurement m;
            if (!RunChild(kContenders[i], path, m)) {
                state.SkipWithError("a child's load failed");
                return;
            }
            total[i].seconds += m.seconds;
            total[i].faults += m.faults;
            if (i == kOurs)
                state.SetIterationTime(m.seconds);
        }
        ++iteration;
    }
    const double runs = static_cast<double>(state.iterations());
    const auto perKiloElement = [&](long faults) { return 1000.0 * static_cast<double>(faults) / (runs * elements); };
    state.counters["x_pugixml"] = total[kOurs].seconds / total[kPugixml].seconds;
    state.counters["hand_x_pugixml"] = total[kHand].seconds / total[kPugixml].seconds;
    state.counters["faults_per_kelem"] = perKiloElement(total[kOurs].faults);
    state.counters["pugixml_faults_per_kelem"] = perKiloElement(total[kPugixml].faults);
    state.counters["hand_faults_per_kelem"] = perKiloElement(total[kHand].faults);
    state.counters["ns_per_elem"] = total[kOurs].seconds * 1e9 / (runs * elements);
}

} // namespace

BENCHMARK(BM_FirstLoad)->Arg(1000)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--first-load") == 0)
        return FirstLoad(argv[2], argv[3]);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    RemoveLibraryFiles();
    benchmark::Shutdown();
    return 0;
}
