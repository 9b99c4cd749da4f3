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
#include "io/recoverykeeper.h"
#include "ui/editor/cellwidget.h"
#include "ui/editor/editor.h"
#include "ui/frame/codeview.h"
#include "ui/frame/codewindow.h"
#include "ui/frame/mainwindow.h"

#include "benchwindow.h"
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

std::map<int, std::unique_ptr<bitloom::bench::BenchWindow>> windows;
std::map<int, int> colours;

void BM_PressWithRecoveryDue(benchmark::State& state)
{
    const bool due = state.range(0) != 0;
    auto& window = windows[int(state.range(0))];
    if (!window) {
        window = std::make_unique<bitloom::bench::BenchWindow>();
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            std::abort();
        const QString path = scratch().filePath(QStringLiteral("big-%1.h").arg(state.range(0)));
        QFile file(path);
        const std::string text = bigSheet();
        if (!file.open(QIODevice::WriteOnly)
            || file.write(text.data(), qint64(text.size())) != qint64(text.size()))
            std::abort();
        file.close();
        if (!window->session().openFile(path))
            std::abort();
        // Due at once after each change, or not for a minute.
        window->session().setRecoveryTimes(due ? 0 : 60'000, due ? 0 : 60'000);
        settle();
    }
    bitloom::Editor& editor = *window->editor();
    bitloom::CodeView& pane = *window->codeWindow()->codeView();
    bitloom::CellWidget* cell = editor.cell(27);
    bitloom::RecoveryKeeper& keeper = window->session().recoveryKeeper();
    int& colour = colours[int(state.range(0))];
    bool written = true;
    for (auto _ : state) {
        state.PauseTiming();
        colour = colour == 1 ? 2 : 1;
        QTest::mouseClick(editor.paletteCell(colour), Qt::LeftButton);
        settle();
        keeper.waitIdle();
        const std::size_t code = std::hash<std::string>{}(pane.text());
        state.ResumeTiming();

        // The press, its pane update and, when due, the work taken and handed
        // to the writing thread: all in this turn of the event loop.
        QTest::mousePress(cell, Qt::LeftButton);
        settle();

        state.PauseTiming();
        written = written && (!due || !keeper.due());
        if (std::hash<std::string>{}(pane.text()) == code)
            state.SkipWithError("a press did not change the code text");
        QTest::mouseRelease(cell, Qt::LeftButton);
        state.ResumeTiming();
    }
    keeper.waitIdle();
    if (!written)
        state.SkipWithError("the write was not taken in the press's turn");
    state.counters["sheet_bytes"] = double(pane.text().size());
}
BENCHMARK(BM_PressWithRecoveryDue)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char* argv[])
{
    return bitloom::bench::runBenchmarks(argc, argv, [] { windows.clear(); });
}
