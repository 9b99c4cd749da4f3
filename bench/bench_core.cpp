// Timings of the core. Each benchmark repeats ten times and reports the
// mean, median and spread of the repetitions.
#include "codegen/encoder.h"
#include "codegen/generate.h"
#include "codegen/plainpanes.h"

#include <benchmark/benchmark.h>

#include <string>

using namespace bitloom;

namespace {

// A drawing that uses all four shades.
Grid drawing(int variant)
{
    Grid grid{};
    for (int k = 0; k < kCellCount; ++k)
        grid[static_cast<std::size_t>(k)] = kPalette[static_cast<std::size_t>((k * 7 + k / 8 + variant) % 4)];
    return grid;
}

// Regenerates a sprite that is already in a code text holding `count`
// sprites. The sprite is the last one registered: its lines close the text,
// so every search for them runs over all the other sprites' lines first.
void BM_Generate(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    Module1 module;
    PlainNameBox names;
    PlainCodePane pane;
    for (int i = 0; i < count; ++i) {
        names.setText("Sprite" + std::to_string(i));
        generate(drawing(i), kPalette, module, names, pane);
    }
    // Two drawings in turn, so that every call really changes the bytes.
    const Grid grids[2] = {drawing(1), drawing(2)};
    int turn = 0;
    for (auto _ : state) {
        const auto result = generate(grids[turn], kPalette, module, names, pane);
        benchmark::DoNotOptimize(result);
        turn ^= 1;
    }
    state.counters["text_bytes"] = static_cast<double>(pane.text().size());
}
BENCHMARK(BM_Generate)->Arg(1)->Arg(10)->Arg(101)->Unit(benchmark::kMicrosecond)->Repetitions(10)
    ->ReportAggregatesOnly(true);

void BM_EncodePlane(benchmark::State& state)
{
    const Grid grid = drawing(0);
    for (auto _ : state) {
        auto plane = encodePlane(kLightSetA, kLightSetB, grid, kPalette);
        benchmark::DoNotOptimize(plane);
    }
}
BENCHMARK(BM_EncodePlane)->Repetitions(10)->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
