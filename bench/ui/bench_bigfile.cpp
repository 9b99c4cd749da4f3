// Code files at the 4 MiB size limit, on the real main window (offscreen
// unless QT_QPA_PLATFORM says otherwise):
//   BM_OpenBigFile   opening a 4 MiB file of 1.4 M short lines through
//                    FileSession::openFile: /0 until the window has shown
//                    its first lines and waits for the user, /1 until the
//                    pane holds every line;
//   BM_PressOnLongLine  a left press on a grid cell until the pane shows
//                    the rewritten declaration, in a file of one 4 MB line:
//                    /0 the line stands before the sprite's declarations,
//                    /1 it is the sprite's light declaration itself, with a
//                    4 MB comment after the initialiser.
#include "ui/editor/cellwidget.h"
#include "ui/editor/editor.h"
#include "ui/frame/codeview.h"
#include "ui/frame/codewindow.h"

#include "benchwindow.h"
#include "qtbench.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <string>

namespace {

using bitloom::MainWindow;
using bitloom::bench::BenchWindow;
using bitloom::bench::settle;

constexpr std::size_t kLimit = 4 * 1024 * 1024;

QTemporaryDir& scratch()
{
    static QTemporaryDir dir;
    return dir;
}

QString writeFile(const QString& name, const std::string& bytes)
{
    const QString path = scratch().filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)
        || file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()))
        std::abort();
    return path;
}

std::unique_ptr<BenchWindow> shownWindow()
{
    auto window = std::make_unique<BenchWindow>();
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        std::abort();
    settle();
    return window;
}

// 4 MiB of three-byte lines, with one sprite at the end so the file is a
// sheet like any other.
std::string shortLines()
{
    const std::string sprite = "static unsigned char a1light[]={0x01,0x02,0x03,0x04,0x05,0x06,0x07,0x08};\n"
                               "static unsigned char a1dark[]={0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00};\n";
    std::string text;
    text.reserve(kLimit);
    while (text.size() + 3 <= kLimit - sprite.size())
        text += "ab\n";
    return text + sprite;
}

void BM_OpenBigFile(benchmark::State& state)
{
    const QString path = writeFile(QStringLiteral("short-lines.h"), shortLines());
    std::size_t lines = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<BenchWindow> window = shownWindow();
        state.ResumeTiming();

        if (!window->session().openFile(path))
            state.SkipWithError("the file was refused");
        settle();
        bitloom::CodeView& pane = *window->codeWindow()->codeView();
        while (state.range(0) != 0 && !pane.showsWholeText())
            settle();

        state.PauseTiming();
        if (pane.text().size() != std::size_t(QFileInfo(path).size()))
            state.SkipWithError("the pane does not hold the file");
        lines = std::size_t(pane.document()->blockCount());
        window.reset();
        state.ResumeTiming();
    }
    state.counters["lines"] = double(lines);
}

BENCHMARK(BM_OpenBigFile)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// A file of one line of about 4 MB; see the list at the top.
std::string longLine(bool declarationOnIt)
{
    const std::string light = "static unsigned char a1light[]={0x01,0x02,0x03,0x04,0x05,0x06,0x07,0x08};";
    const std::string dark = "static unsigned char a1dark[]={0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00};";
    const std::size_t fill = kLimit - 4096;
    std::string comment = "/*";
    comment.append(fill, 'x');
    comment += "*/";
    if (declarationOnIt)
        return light + comment + "\n" + dark + "\n";
    return comment + "\n" + light + "\n" + dark + "\n";
}

std::map<int, std::unique_ptr<BenchWindow>> windows;
// The colour last pressed in each window, so that every press, in every
// repetition, changes the text.
std::map<int, int> colours;

void BM_PressOnLongLine(benchmark::State& state)
{
    auto& window = windows[int(state.range(0))];
    if (!window) {
        window = shownWindow();
        const QString path =
            writeFile(QStringLiteral("long-line-%1.h").arg(state.range(0)), longLine(state.range(0) != 0));
        if (!window->session().openFile(path))
            std::abort();
        settle();
    }
    bitloom::Editor& editor = *window->editor();
    bitloom::CodeView& pane = *window->codeWindow()->codeView();
    bitloom::CellWidget* cell = editor.cell(27);

    int& colour = colours[int(state.range(0))];
    bool changed = true;
    for (auto _ : state) {
        // Alternate the two greys, so every press changes both lines.
        state.PauseTiming();
        colour = colour == 1 ? 2 : 1;
        QTest::mouseClick(editor.paletteCell(colour), Qt::LeftButton);
        settle();
        const std::size_t code = std::hash<std::string>{}(pane.text());
        state.ResumeTiming();

        QTest::mousePress(cell, Qt::LeftButton);
        settle();

        state.PauseTiming();
        changed = changed && std::hash<std::string>{}(pane.text()) != code;
        QTest::mouseRelease(cell, Qt::LeftButton);
        state.ResumeTiming();
    }

    if (pane.document()->toPlainText() != QString::fromStdString(pane.text()))
        state.SkipWithError("the pane does not show the code text");
    if (!changed)
        state.SkipWithError("a press did not change the code text");
    state.counters["sheet_bytes"] = double(pane.text().size());
}

BENCHMARK(BM_PressOnLongLine)
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
