// Numbering a parsed drawing in memory: ReNum, and Autonum in both modes with the full library
// set behind it, on the realistic mix and on the shapes that stress one stage each.

#include <benchmark/benchmark.h>

#include "app/LibraryBlockCounts.h"
#include "bench/BenchFixtures.h"
#include "library/LibrarySet.h"
#include "numbering/Autonum.h"
#include "numbering/ReNum.h"

namespace wemb::bench {
namespace {

using gen::DrawingMix;

const LibrarySet& librarySet() {
    static const LibrarySetLoad load = LibrarySet::load(libraryPaths());
    return load.set;
}

void renum(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        Document document = parsedDrawing(state.range(0));
        state.ResumeTiming();
        reNum(document, 1, 1);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void autonumIn(benchmark::State& state, bool lockedMode, DrawingMix mix) {
    const LibraryBlockCounts blockCounts(librarySet());
    const AutonumSettings settings{1, 1, lockedMode, false};
    for (auto _ : state) {
        state.PauseTiming();
        Document document = parsedDrawing(state.range(0), mix);
        state.ResumeTiming();
        autonum(document, settings, blockCounts);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void autonumLocked(benchmark::State& state) {
    autonumIn(state, true, DrawingMix::Realistic);
}
void autonumOriginal(benchmark::State& state) {
    autonumIn(state, false, DrawingMix::Realistic);
}
void lockedOnePrefixHalfNumbered(benchmark::State& state) {
    autonumIn(state, true, DrawingMix::OnePrefixHalfNumbered);
}
void originalDistinctMultiblock(benchmark::State& state) {
    autonumIn(state, false, DrawingMix::DistinctMultiblock);
}
void originalDistinctPower(benchmark::State& state) {
    autonumIn(state, false, DrawingMix::DistinctPower);
}
void originalSamePosition(benchmark::State& state) {
    autonumIn(state, false, DrawingMix::SamePosition);
}

#define WEMB_PER_PART_BENCHMARK(name) \
    BENCHMARK(name)->RangeMultiplier(10)->Range(kSmallest, kLargest)->Unit(benchmark::kMillisecond)

WEMB_PER_PART_BENCHMARK(renum);
WEMB_PER_PART_BENCHMARK(autonumLocked);
WEMB_PER_PART_BENCHMARK(autonumOriginal);
WEMB_PER_PART_BENCHMARK(lockedOnePrefixHalfNumbered);
WEMB_PER_PART_BENCHMARK(originalDistinctMultiblock);
WEMB_PER_PART_BENCHMARK(originalDistinctPower);
WEMB_PER_PART_BENCHMARK(originalSamePosition);

}  // namespace
}  // namespace wemb::bench
