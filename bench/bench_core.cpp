// Timings of the core. Each benchmark repeats ten times and reports the
// mean, median and spread of the repetitions. BM_HistoryBytes reports the
// memory that undo history takes, counted by the operator new below.
#include "codegen/encoder.h"
#include "codegen/updater.h"
#include "document/document.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

// Bytes allocated and not yet freed, as the allocator counts them.
static std::atomic<long long> gLiveBytes{0};

void* operator new(std::size_t size)
{
    void* p = std::malloc(size ? size : 1);
    if (!p)
        throw std::bad_alloc();
    gLiveBytes += static_cast<long long>(malloc_usable_size(p));
    return p;
}

void operator delete(void* p) noexcept
{
    if (!p)
        return;
    gLiveBytes -= static_cast<long long>(malloc_usable_size(p));
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    operator delete(p);
}

using namespace bitloom;

namespace {

// A drawing that uses all four shades.
Grid drawing(int variant)
{
    Grid grid{};
    for (int k = 0; k < kCellCount; ++k)
        grid[static_cast<std::size_t>(k)] = shadeOfCode((k * 7 + k / 8 + variant) % 4);
    return grid;
}

// Works out the edits that rewrite a sprite that is already in a code text
// holding `count` sprites. The sprite is the last one registered: its lines
// close the text, so every search for them runs over all the other sprites'
// lines first.
void BM_Generate(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    std::string text;
    std::string name;
    for (int i = 0; i < count; ++i) {
        name = "Sprite" + std::to_string(i);
        for (const TextEdit& edit : updateDeclarations(text, name, drawing(i)).edits)
            applyEdit(text, edit);
    }
    // Two drawings in turn, as a press that really changes the bytes.
    const Grid grids[2] = {drawing(1), drawing(2)};
    int turn = 0;
    for (auto _ : state) {
        auto update = updateDeclarations(text, name, grids[turn]);
        benchmark::DoNotOptimize(update);
        turn ^= 1;
    }
    state.counters["text_bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_Generate)
    ->Arg(1)
    ->Arg(10)
    ->Arg(101)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

void BM_EncodePlane(benchmark::State& state)
{
    const Grid grid = drawing(0);
    for (auto _ : state) {
        auto plane = encodePlane(grid, Plane::Light);
        benchmark::DoNotOptimize(plane);
    }
}
BENCHMARK(BM_EncodePlane)->Repetitions(10)->ReportAggregatesOnly(true);

// A document holding `count` sprites, each typed, painted and pressed; the
// first one is current again.
void drawSheet(Document& d, int count)
{
    for (int i = 0; i < count; ++i) {
        d.typeName("sprite" + std::to_string(1000 + i));
        d.selectColour(1 + i % 3);
        for (int k = i % 8; k < kCellCount; k += 9)
            d.press(k, MouseButton::Left);
    }
    d.chooseName(0);
}

// Opening a file of `count` sprites (about 16 KB for 101) as the document.
void BM_OpenSheet(benchmark::State& state)
{
    Document drawn;
    drawSheet(drawn, static_cast<int>(state.range(0)));
    const std::string file = drawn.textToSave();
    Document d;
    for (auto _ : state) {
        auto refusal = d.open(file, "sheet.h");
        benchmark::DoNotOptimize(refusal);
    }
    if (d.names() != drawn.names() || d.code() != file)
        state.SkipWithError("the opened sheet differs");
    state.counters["file_bytes"] = static_cast<double>(file.size());
}
BENCHMARK(BM_OpenSheet)->Arg(101)->Unit(benchmark::kMicrosecond)->Repetitions(10)->ReportAggregatesOnly(true);

// A header of `count` sprites as a formatter and a hand would lay it out:
// an include guard, const uint8_t arrays of [8] with spaces, bodies over two
// lines with a comment, decimal and hex bytes (about 22 KB for 101).
std::string formattedSheet(int count)
{
    std::string text = "#ifndef SPRITES_H\n#define SPRITES_H\n\n#include <stdint.h>\n\n";
    for (int i = 0; i < count; ++i) {
        for (const char* plane : {"light", "dark"}) {
            text += "static const uint8_t sprite" + std::to_string(1000 + i) + "_" + plane + "[8] = {\n    ";
            for (int row = 0; row < 8; ++row) {
                const int value = (i * 37 + row * 11 + (plane[0] == 'd' ? 5 : 0)) % 256;
                char number[8];
                std::snprintf(number, sizeof number, row % 2 ? "0x%02x" : "%d", value);
                text += number;
                text += row == 3 ? ", // top\n    " : row == 7 ? ",\n" : ", ";
            }
            text += "};\n";
        }
        text += "\n";
    }
    return text + "#endif // SPRITES_H\n";
}

// Opening such a header of `count` sprites as the document.
void BM_OpenFormattedSheet(benchmark::State& state)
{
    const std::string file = formattedSheet(static_cast<int>(state.range(0)));
    Document d;
    for (auto _ : state) {
        auto refusal = d.open(file, "sprites.h");
        benchmark::DoNotOptimize(refusal);
    }
    if (d.names().size() != static_cast<std::size_t>(state.range(0)) || d.code() != file)
        state.SkipWithError("the opened sheet differs");
    state.counters["file_bytes"] = static_cast<double>(file.size());
}
BENCHMARK(BM_OpenFormattedSheet)
    ->Arg(101)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

// What 10,000 presses on a sheet of 101 sprites add to the memory: their
// undo steps, counted in allocated bytes.
void BM_HistoryBytes(benchmark::State& state)
{
    const int presses = static_cast<int>(state.range(0));
    long long added = 0;
    for (auto _ : state) {
        Document d;
        drawSheet(d, kSpriteTableSize);
        const long long before = gLiveBytes;
        for (int i = 0; i < presses; ++i) {
            d.selectColour(i % 4);
            d.press((i * 7) % kCellCount, MouseButton::Left);
        }
        added = gLiveBytes - before;
        if (!d.canUndo())
            state.SkipWithError("no history");
    }
    state.counters["history_bytes"] = static_cast<double>(added);
    state.counters["bytes_per_press"] = static_cast<double>(added) / presses;
}
BENCHMARK(BM_HistoryBytes)->Arg(10000)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

// Renaming the first sprite of a document of 101 sprites, back and forth:
// the two identifiers found and rewritten, the list item and the table
// entry renamed, one undo step recorded.
void BM_RenameSprite(benchmark::State& state)
{
    Document d;
    drawSheet(d, 101);
    const std::string names[2] = {"renamed", d.name()};
    int turn = 0;
    for (auto _ : state) {
        auto refusal = d.renameSprite(names[turn]);
        benchmark::DoNotOptimize(refusal);
        turn ^= 1;
    }
    if (d.names().size() != 101)
        state.SkipWithError("the sheet lost a sprite");
    state.counters["text_bytes"] = static_cast<double>(d.code().size());
}
BENCHMARK(BM_RenameSprite)->Unit(benchmark::kMicrosecond)->Repetitions(10)->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
