// On the real main window (offscreen unless QT_QPA_PLATFORM says
// otherwise), with 1 or 101 sprites in the code text:
//   BM_PressToPane  a left press on a grid cell until the regenerated code
//                   text is shown in the pane, with and without the Sprites
//                   window showing their thumbnails;
//   BM_UndoToPane   Edit > Undo of such a press until the pane shows the
//                   text as it was;
//   BM_TransformToPane  Tile > Rotate Clockwise until the pane shows the
//                   regenerated text, to compare with a press.
#include "ui/editor/cellwidget.h"
#include "ui/editor/editor.h"
#include "ui/editor/spritenamebox.h"
#include "ui/frame/codeview.h"
#include "ui/frame/codewindow.h"

#include "benchwindow.h"
#include "qtbench.h"
#include <QAction>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMdiSubWindow>
#include <QTest>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <string>

namespace {

using bitloom::MainWindow;

using bitloom::bench::BenchWindow;

using bitloom::bench::settle;

void typeName(bitloom::SpriteNameBox& box, const QString& name)
{
    QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(&box, name);
}

// The windows measured, by number of sprites; closed before the
// application object goes.
std::map<std::pair<int, bool>, std::unique_ptr<BenchWindow>> windows;

// A shown main window whose code text holds `sprites` sprites, each typed
// and painted through the window; the first one is current again, so each
// measured press rewrites the declarations at the top of the sheet, which
// carry the pane's band.
MainWindow& windowWith(int sprites, bool sheetShown)
{
    auto& window = windows[{sprites, sheetShown}];
    if (window)
        return *window;
    window = std::make_unique<BenchWindow>();
    window->sheetWindow()->setVisible(sheetShown);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        std::abort();
    bitloom::Editor& editor = *window->editor();
    for (int i = 0; i < sprites; ++i) {
        typeName(*editor.nameBox(), QStringLiteral("sprite%1").arg(i, 3, 10, QLatin1Char('0')));
        QTest::mouseClick(editor.paletteCell(1 + i % 3), Qt::LeftButton);
        for (int k = i % 8; k < 64; k += 9)
            QTest::mouseClick(editor.cell(k), Qt::LeftButton);
    }
    typeName(*editor.nameBox(), QStringLiteral("sprite000"));
    settle();
    return *window;
}

// A header of `sprites` sprites as a formatter lays it out: const uint8_t
// arrays of [8] with spaces, bodies over two lines with a comment, decimal
// and hex bytes.
std::string formattedSheet(int sprites)
{
    std::string text = "#ifndef SPRITES_H\n#define SPRITES_H\n\n#include <stdint.h>\n\n";
    for (int i = 0; i < sprites; ++i) {
        for (const char* plane : {"light", "dark"}) {
            text += "static const uint8_t sprite" + std::to_string(1000 + i) + "_" + plane + "[8] = {\n    ";
            for (int row = 0; row < 8; ++row) {
                const int value = (i * 37 + row * 11 + (plane[0] == 'd' ? 5 : 0)) % 256;
                text += std::to_string(value);
                text += row == 3 ? ", // top\n    " : row == 7 ? ",\n" : ", ";
            }
            text += "};\n";
        }
    }
    return text + "\n#endif // SPRITES_H\n";
}

// Windows that opened such a header, by number of sprites and whether the
// Sprites window shows; the first sprite is current.
std::map<std::pair<int, bool>, std::unique_ptr<BenchWindow>> formattedWindows;

MainWindow& windowWithFormatted(int sprites, bool sheetShown)
{
    auto& window = formattedWindows[{sprites, sheetShown}];
    if (window)
        return *window;
    const QString path = QDir::temp().filePath(QStringLiteral("bitloom_bench_formatted_%1.h").arg(sprites));
    QFile file(path);
    const std::string text = formattedSheet(sprites);
    if (!file.open(QIODevice::WriteOnly)
        || file.write(text.data(), qint64(text.size())) != qint64(text.size()))
        std::abort();
    file.close();
    window = std::make_unique<BenchWindow>();
    window->sheetWindow()->setVisible(sheetShown);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()) || !window->session().openFile(path))
        std::abort();
    QFile::remove(path);
    settle();
    return *window;
}

void pressToPane(benchmark::State& state, MainWindow& window)
{
    const int sprites = int(state.range(0));
    bitloom::Editor& editor = *window.editor();
    bitloom::CodeView& pane = *window.codeWindow()->codeView();
    bitloom::CellWidget* cell = editor.cell(27);

    int colour = 0;
    for (auto _ : state) {
        // Alternate black and grey, so every press changes both lines.
        state.PauseTiming();
        colour = colour == 3 ? 1 : 3;
        QTest::mouseClick(editor.paletteCell(colour), Qt::LeftButton);
        settle();
        state.ResumeTiming();

        QTest::mousePress(cell, Qt::LeftButton);
        settle();

        state.PauseTiming();
        QTest::mouseRelease(cell, Qt::LeftButton);
        state.ResumeTiming();
    }

    if (pane.document()->toPlainText() != QString::fromStdString(pane.text()))
        state.SkipWithError("the pane does not show the code text");
    if (editor.nameBox()->count() != sprites)
        state.SkipWithError("unexpected number of sprites");
    state.counters["sheet_bytes"] = double(pane.text().size());
}

void BM_PressToPane(benchmark::State& state)
{
    pressToPane(state, windowWith(int(state.range(0)), state.range(1) != 0));
}

// The same on a formatter's header opened from a file.
void BM_PressToPaneFormatted(benchmark::State& state)
{
    pressToPane(state, windowWithFormatted(int(state.range(0)), state.range(1) != 0));
}

// Arguments: sprites in the sheet, and whether the Sprites window shows.
BENCHMARK(BM_PressToPane)
    ->Args({1, 1})
    ->Args({101, 1})
    ->Args({101, 0})
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

BENCHMARK(BM_PressToPaneFormatted)
    ->Args({101, 1})
    ->Args({101, 0})
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

void BM_UndoToPane(benchmark::State& state)
{
    const int sprites = int(state.range(0));
    MainWindow& window = windowWith(sprites, true);
    bitloom::Editor& editor = *window.editor();
    bitloom::CodeView& pane = *window.codeWindow()->codeView();
    bitloom::CellWidget* cell = editor.cell(27);
    QAction* undo = window.findChild<QAction*>(QStringLiteral("undoAction"));

    int colour = 0;
    bool undone = true;
    for (auto _ : state) {
        state.PauseTiming();
        colour = colour == 3 ? 1 : 3;
        const std::string before = pane.text();
        QTest::mouseClick(editor.paletteCell(colour), Qt::LeftButton);
        QTest::mouseClick(cell, Qt::LeftButton);
        settle();
        state.ResumeTiming();

        undo->trigger();
        settle();

        state.PauseTiming();
        undone = undone && pane.text() == before
                 && pane.document()->toPlainText() == QString::fromStdString(before);
        state.ResumeTiming();
    }

    if (!undone)
        state.SkipWithError("the pane does not show the undone text");
    state.counters["sheet_bytes"] = double(pane.text().size());
}

BENCHMARK(BM_UndoToPane)
    ->Arg(101)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

void BM_TransformToPane(benchmark::State& state)
{
    const int sprites = int(state.range(0));
    MainWindow& window = windowWith(sprites, true);
    bitloom::CodeView& pane = *window.codeWindow()->codeView();
    QAction* rotate = window.findChild<QAction*>(QStringLiteral("rotateClockwiseAction"));

    for (auto _ : state) {
        rotate->trigger();
        settle();
    }

    if (pane.document()->toPlainText() != QString::fromStdString(pane.text()))
        state.SkipWithError("the pane does not show the code text");
    state.counters["sheet_bytes"] = double(pane.text().size());
}

BENCHMARK(BM_TransformToPane)
    ->Arg(101)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char* argv[])
{
    return bitloom::bench::runBenchmarks(argc, argv, [] {
        windows.clear();
        formattedWindows.clear();
    });
}
