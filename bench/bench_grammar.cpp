// Timings of the declaration grammar: reading every declaration of a header
// in formatter style, and passing over a large text that holds none.
#include "codegen/grammar.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

using namespace bitloom;

namespace {

// A 101-sprite header as a formatter leaves it: qualifiers, spaces, one row
// per line with its picture in a comment, inside an include guard.
std::string formatterStyleHeader(int sprites)
{
    std::string text = "#ifndef SPRITES_H\n#define SPRITES_H\n\n#include <stdint.h>\n\n";
    for (int i = 0; i < sprites; ++i) {
        for (const char* plane : {"light", "dark"}) {
            text += "static const uint8_t sprite_" + std::to_string(i) + "_" + plane + "[8] = {\n";
            for (int row = 0; row < 8; ++row) {
                char line[48];
                const int value = (i * 31 + row * 17) & 0xFF;
                std::snprintf(line, sizeof line, "    0x%02x, // row %d\n", value, row);
                text += line;
            }
            text += "};\n";
        }
        text += "\n";
    }
    return text + "#endif\n";
}

void BM_ScanFormatterStyle(benchmark::State& state)
{
    const std::string text = formatterStyleHeader(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const auto declarations = grammar::scanDeclarations(text);
        benchmark::DoNotOptimize(declarations.data());
    }
    state.counters["text_bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_ScanFormatterStyle)
    ->Arg(101)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

// The same number of sprites in the program's own one-line shape.
void BM_ScanOwnStyle(benchmark::State& state)
{
    std::string text;
    for (int i = 0; i < state.range(0); ++i) {
        for (const char* plane : {"light", "dark"})
            text += "\nstatic unsigned char Sprite" + std::to_string(i) + plane
                    + "[]={0x80,0x00,0x3C,0x00,0xFF,0x00,0x00,0x01};";
    }
    for (auto _ : state) {
        const auto declarations = grammar::scanDeclarations(text);
        benchmark::DoNotOptimize(declarations.data());
    }
    state.counters["text_bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_ScanOwnStyle)
    ->Arg(101)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

// 4 MiB of short foreign lines, as a generated table or log would be. With
// argument 1 every other line holds a type word, so that each of them is
// read as a possible declaration head.
void BM_ScanForeignLines(benchmark::State& state)
{
    std::string text;
    const bool typeWords = state.range(0) != 0;
    const char* plain[] = {"a;\n", "{}\n", "//\n", "x\n"};
    const char* typed[] = {"a;\n", "char\n", "//\n", "static uint8_t\n"};
    const auto& lines = typeWords ? typed : plain;
    std::size_t count = 0;
    for (; text.size() < (std::size_t{4} << 20) - 16; ++count)
        text += lines[count % 4];
    for (auto _ : state) {
        const auto declarations = grammar::scanDeclarations(text);
        benchmark::DoNotOptimize(declarations.data());
    }
    state.counters["text_bytes"] = static_cast<double>(text.size());
    state.counters["lines"] = static_cast<double>(count);
}
BENCHMARK(BM_ScanForeignLines)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

// Finding the last sprite of the formatter-style header, as an update does.
void BM_FindLastFormatterStyle(benchmark::State& state)
{
    const std::string text = formatterStyleHeader(101);
    for (auto _ : state) {
        const auto found = grammar::findDeclaration(text, "sprite_100_", Plane::Dark);
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_FindLastFormatterStyle)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
