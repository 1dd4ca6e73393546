#pragma once
// What the benchmark programs share: the generated node libraries, made once
// for each size, and a clock of the thread's CPU time.
#include <NodeLibraryGenerator.h>

#include <ctime>
#include <map>

namespace kvbench {

inline const kvgen::Library& LibraryOf(long elements)
{
    static std::map<long, kvgen::Library> cache;
    auto it = cache.find(elements);
    if (it == cache.end()) {
        kvgen::LibraryShape shape;
        shape.elements = static_cast<std::size_t>(elements);
        shape.seed = 20240601;
        it = cache.emplace(elements, kvgen::GenerateNodeLibrary(shape)).first;
    }
    return it->second;
}

// The thread's CPU time, the kernel's for its page faults included: the
// machine is shared, and a wall clock would count the time other processes
// take from this one.
inline double ThreadSeconds()
{
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

} // namespace kvbench
