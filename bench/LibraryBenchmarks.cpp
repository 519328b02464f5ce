// Loading the libraries and looking parts up in them.

#include <benchmark/benchmark.h>

#include <random>

#include "bench/BenchFixtures.h"
#include "library/LibraryLoader.h"
#include "library/LibrarySet.h"
#include "tools/gen/SyntheticLibraries.h"

namespace wemb::bench {
namespace {

void librarySetLoad(benchmark::State& state) {
    const std::vector<std::string>& paths = libraryPaths();
    for (auto _ : state) {
        LibrarySetLoad load = LibrarySet::load(paths);
        benchmark::DoNotOptimize(load.set);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(paths.size()));
}
BENCHMARK(librarySetLoad)->Unit(benchmark::kMillisecond);

// One lookup per part, of names spread over every slot, a tenth of them missing.
void lookup(benchmark::State& state) {
    const LibrarySetLoad load = LibrarySet::load(libraryPaths());
    std::mt19937 random(1);
    std::vector<std::string> names;
    for (std::int64_t i = 0; i < state.range(0); ++i) {
        const int library = static_cast<int>(random() % gen::kSyntheticLibraryCount);
        const int index = static_cast<int>(random() % gen::kSyntheticNamesPerLibrary);
        names.push_back(random() % 10 == 0 ? "MISSING" + std::to_string(index)
                                           : gen::syntheticLibraryEntryName(library, index));
    }
    for (auto _ : state) {
        for (const std::string& name : names) {
            benchmark::DoNotOptimize(load.set.findLibraryEntry(name));
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(lookup)->RangeMultiplier(10)->Range(kSmallest, kLargest)->Unit(benchmark::kMillisecond);

void textLibraryLoad(benchmark::State& state) {
    const std::string& path = textLibraryPath(static_cast<std::size_t>(state.range(0)));
    std::vector<std::uint8_t> workBuffer;
    for (auto _ : state) {
        Library library;
        benchmark::DoNotOptimize(loadLibrary(library, path, workBuffer).has_value());
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(textLibraryLoad)->Arg(1'000'000)->Arg(10'000'000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace wemb::bench
