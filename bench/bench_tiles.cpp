// Timings of tiles of arrays in the document: opening a 512-tile Game Boy
// array (8 KiB of data, about 50 KB of text) and an 8 x 8 font of 256
// glyphs, and a press on the array's last tile up to the code window's
// notice (the observer is told once the text and the tiles are read again).
#include "document/document.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

using namespace bitloom;

namespace {

std::string gbTiles(int tiles)
{
    std::string text = "// Format : Gameboy 4 color\nconst unsigned char big_tiles[] =\n{\n";
    for (int i = 0; i < tiles * 16; ++i) {
        char number[8];
        std::snprintf(number, sizeof number, "0x%02X", (i * 37 + i / 16) & 0xFF);
        text += (i % 8 == 0 ? "  " : "") + std::string(number) + (i + 1 < tiles * 16 ? "," : "")
                + (i % 8 == 7 ? "\n" : "");
    }
    return text + "};\n";
}

std::string font(int glyphs)
{
    std::string text = "const char font[" + std::to_string(glyphs) + "][8] = {\n";
    for (int g = 0; g < glyphs; ++g) {
        text += "    { ";
        for (int r = 0; r < 8; ++r) {
            char number[8];
            std::snprintf(number, sizeof number, "0x%02x", (g * 7 + r * 13) & 0xFF);
            text += std::string(number) + (r < 7 ? ", " : " ");
        }
        text += "},   // U+" + std::to_string(g) + "\n";
    }
    return text + "};\n";
}

void BM_OpenGbArray(benchmark::State& state)
{
    const std::string text = gbTiles(512);
    for (auto _ : state) {
        Document document;
        document.open(text, "big.h");
        benchmark::DoNotOptimize(document.listedNames().size());
    }
    state.counters["bytes"] = double(text.size());
}
BENCHMARK(BM_OpenGbArray)->Unit(benchmark::kMillisecond);

void BM_OpenFont(benchmark::State& state)
{
    const std::string text = font(256);
    for (auto _ : state) {
        Document document;
        document.open(text, "font.h");
        benchmark::DoNotOptimize(document.listedNames().size());
    }
}
BENCHMARK(BM_OpenFont)->Unit(benchmark::kMillisecond);

// A press on the last tile, each time with the other colour so that every
// press changes a number; timed until the observer (the code window's
// place) is told.
void BM_PressLastTile(benchmark::State& state)
{
    Document document;
    document.open(gbTiles(512), "big.h");
    document.chooseName(511);
    std::size_t told = 0;
    const Subscription code = document.subscribe([&](const DocumentChange& change) {
        if (change.changes & CodeChanged)
            told += change.codeEdits.size();
    });
    int colour = 0;
    for (auto _ : state) {
        document.selectColour(colour = 3 - colour);
        document.press(0, MouseButton::Left);
        document.release();
    }
    benchmark::DoNotOptimize(told);
}
BENCHMARK(BM_PressLastTile)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
