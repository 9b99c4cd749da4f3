// The command line's work inside the process, on a sheet of 101 sprites:
// `show` (reading the file and drawing every sprite in text), the annotated
// text of `show --textconv` and the diagnostics of `check`; and `show` of one
// Game Boy array of 512 tiles. The program's start-up around them is timed by
// cli_speed.sh.
#include "cli/commands.h"
#include "cli/io.h"
#include "cli/spritetext.h"
#include "codegen/diagnostics.h"
#include "model/spritetable.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace {

// 101 sprites, each with a different drawing in all four greys.
std::string sheet()
{
    std::string text = "#pragma once\n";
    char row[8];
    for (int i = 0; i < bitloom::kSpriteTableSize; ++i) {
        for (const char* plane : {"light", "dark"}) {
            text += "static unsigned char sprite" + std::to_string(i) + plane + "[]={";
            for (int r = 0; r < 8; ++r) {
                std::snprintf(row, sizeof row, "0x%02X",
                              (i * 37 + r * 11 + (plane[0] == 'd' ? 5 : 0)) & 0xFF);
                text += row;
                text += r < 7 ? "," : "};\n";
            }
        }
    }
    return text;
}

void BM_ShowText(benchmark::State& state)
{
    const std::string text = sheet();
    for (auto _ : state)
        benchmark::DoNotOptimize(bitloom::cli::spriteListing(text));
}
BENCHMARK(BM_ShowText)->Unit(benchmark::kMicrosecond)->Repetitions(10)->ReportAggregatesOnly(true);

// What `show FILE` does between start-up and exit: the file read with
// Open's rules, then the listing.
void BM_ShowFile(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sprites.h"));
    QFile file(path);
    const std::string text = sheet();
    if (!file.open(QIODevice::WriteOnly)
        || file.write(text.data(), qint64(text.size())) != qint64(text.size())) {
        state.SkipWithError("cannot write the sheet");
        return;
    }
    file.close();
    for (auto _ : state) {
        const bitloom::cli::Input input = bitloom::cli::readCodeText(path);
        benchmark::DoNotOptimize(bitloom::cli::spriteListing(input.bytes));
    }
}
BENCHMARK(BM_ShowFile)->Unit(benchmark::kMicrosecond)->Repetitions(10)->ReportAggregatesOnly(true);

void BM_Textconv(benchmark::State& state)
{
    const std::string text = sheet();
    for (auto _ : state)
        benchmark::DoNotOptimize(bitloom::cli::annotatedText(text));
}
BENCHMARK(BM_Textconv)->Unit(benchmark::kMicrosecond)->Repetitions(10)->ReportAggregatesOnly(true);

void BM_Check(benchmark::State& state)
{
    const std::string text = sheet();
    for (auto _ : state)
        benchmark::DoNotOptimize(bitloom::diagnose(text));
}
BENCHMARK(BM_Check)->Unit(benchmark::kMicrosecond)->Repetitions(10)->ReportAggregatesOnly(true);

// 512 Game Boy tiles (8 KiB) in one array, 16 numbers a line: about 50 KB.
std::string tileArray()
{
    std::string text = "// layout: gb\nconst unsigned char tiles[] = {\n";
    char number[8];
    for (int i = 0; i < 512 * 16; ++i) {
        std::snprintf(number, sizeof number, "0x%02X", (i * 37 + i / 16) & 0xFF);
        text += i % 16 == 0 ? "    " : " ";
        text += number;
        text += i + 1 < 512 * 16 ? (i % 16 == 15 ? ",\n" : ",") : "\n};\n";
    }
    return text;
}

// What `show FILE` does with it between start-up and exit: the file read
// with Open's rules, the listing, and the problems it reports beside it.
void BM_ShowTiles(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tiles.h"));
    QFile file(path);
    const std::string text = tileArray();
    if (!file.open(QIODevice::WriteOnly)
        || file.write(text.data(), qint64(text.size())) != qint64(text.size())) {
        state.SkipWithError("cannot write the array");
        return;
    }
    file.close();
    for (auto _ : state) {
        const bitloom::cli::Input input = bitloom::cli::readCodeText(path);
        benchmark::DoNotOptimize(bitloom::cli::spriteListing(input.bytes));
        benchmark::DoNotOptimize(bitloom::cli::diagnosticReport(path, input.bytes));
    }
}
BENCHMARK(BM_ShowTiles)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);

void BM_TextconvTiles(benchmark::State& state)
{
    const std::string text = tileArray();
    for (auto _ : state)
        benchmark::DoNotOptimize(bitloom::cli::annotatedText(text));
}
BENCHMARK(BM_TextconvTiles)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
