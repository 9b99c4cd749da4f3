// Keeping unsaved work of a sheet at the 4 MiB limit (offscreen unless
// QT_QPA_PLATFORM says otherwise):
//   BM_RecoveryTake   what the window's thread does when a write is due:
//                     the code text with the cells of an open brush run;
//   BM_RecoveryWrite  what the writing thread does: the recovery file
//                     written and committed;
//   BM_PressWithRecoveryDue  a left press on a grid cell until the pane
//                     shows it, /0 with no write due, /1 with a write due at
//                     every press (taken in the same turn of the event loop).
#include "document/document.h"
#include "document/unsavedtext.h"
#include "io/recovery.h"
#include "ui/editor/cellwidget.h"
#include "ui/editor/editor.h"
#include "ui/frame/codeview.h"
#include "ui/frame/codewindow.h"
#include "ui/frame/mainwindow.h"

#include "qtbench.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <string>

namespace {

using bitloom::bench::settle;

constexpr std::size_t kLimit = 4 * 1024 * 1024;

QTemporaryDir& scratch()
{
    static QTemporaryDir dir;
    return dir;
}

// 4 MiB of short lines with the sprite a1 at the end.
std::string bigSheet()
{
    const std::string sprite = "static unsigned char a1light[]={0x01,0x02,0x03,0x04,0x05,0x06,0x07,0x08};\n"
                               "static unsigned char a1dark[]={0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00};\n";
    std::string text;
    text.reserve(kLimit);
    while (text.size() + 3 <= kLimit - sprite.size())
        text += "ab\n";
    return text + sprite;
}

void BM_RecoveryTake(benchmark::State& state)
{
    bitloom::Document document;
    if (document.open(bigSheet(), "big.h"))
        std::abort();
    document.chooseBrush();
    document.selectColour(3);
    document.moveOver(9);
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = bitloom::codeWithBrushedCells(document);
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.counters["sheet_bytes"] = double(bytes);
}
BENCHMARK(BM_RecoveryTake)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_RecoveryWrite(benchmark::State& state)
{
    bitloom::Recovery recovery(scratch().filePath(QStringLiteral("recovery")));
    const std::string text = bigSheet();
    for (auto _ : state) {
        if (!recovery.write(QStringLiteral("big.h"), "a1", text).isEmpty())
            state.SkipWithError("the recovery file could not be written");
    }
    recovery.discard();
    state.counters["sheet_bytes"] = double(text.size());
}
BENCHMARK(BM_RecoveryWrite)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char* argv[])
{
    return bitloom::bench::runBenchmarks(argc, argv);
}
