// Reading a data file that is already in memory: the record walk and one entry per part.

#include <benchmark/benchmark.h>

#include "bench/BenchFixtures.h"

namespace wemb::bench {
namespace {

void parse(benchmark::State& state) {
    const std::vector<std::uint8_t>& bytes = drawingBytes(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<std::uint8_t> copy = bytes;  // parse takes the buffer over
        state.ResumeTiming();
        ReadResult<Document> parsed = Document::parse(std::move(copy));
        benchmark::DoNotOptimize(parsed);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(parse)->RangeMultiplier(10)->Range(kSmallest, kLargest)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace wemb::bench
