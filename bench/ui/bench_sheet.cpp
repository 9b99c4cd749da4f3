// The "Sprites" window: a change of the drawing until it is painted, with 1
// or 101 thumbnails shown; decoding an 80 x 80 PNG of 100 tiles; and the
// whole import of that PNG into an empty sheet until every window shows it.
#include "ui/frame/mainwindow.h"
#include "ui/sheet/pngio.h"
#include "ui/sheet/sheetwindow.h"

#include <QAction>
#include "qtbench.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <random>

namespace {

using bitloom::Codes;
using bitloom::Grid;
using bitloom::SheetWindow;

using bitloom::bench::settle;

struct Shown {
    std::unique_ptr<SheetWindow> window;
    std::vector<std::string> names;
    std::vector<Codes> codes;
};

// A shown window with `sprites` random thumbnails; the first is current, so
// its thumbnail is in view.
Shown& windowWith(int sprites)
{
    static std::map<int, Shown> shown;
    Shown& s = shown[sprites];
    if (s.window)
        return s;
    std::mt19937 random{unsigned(sprites)};
    for (int i = 0; i < sprites; ++i) {
        s.names.push_back(std::string("sprite").append(std::to_string(i)));
        Codes codes;
        for (auto& code : codes)
            code = bitloom::Code(random() % 4);
        s.codes.push_back(codes);
    }
    s.window = std::make_unique<SheetWindow>();
    s.window->resize(640, 360);
    s.window->show();
    if (!QTest::qWaitForWindowExposed(s.window.get()))
        std::abort();
    s.window->setSprites(s.names, s.codes, 0);
    settle();
    return s;
}

// What a press in the editor will send: the new grid, and with
// state.range(1) also the table with the current entry stored.
void BM_DrawingChangeToPaint(benchmark::State& state)
{
    Shown& s = windowWith(int(state.range(0)));
    const bool withTable = state.range(1) != 0;
    Grid grid = bitloom::initialGrid();
    int colour = 0;
    for (auto _ : state) {
        colour = colour == 3 ? 1 : 3;
        grid[27] = bitloom::kPalette[std::size_t(colour)];
        s.window->setCurrentDrawing(grid);
        if (withTable) {
            s.codes[0][27] = bitloom::Code(colour);
            s.window->setSprites(s.names, s.codes, 0);
        }
        settle();
    }
}

BENCHMARK(BM_DrawingChangeToPaint)
    ->Args({1, 0})
    ->Args({101, 0})
    ->Args({1, 1})
    ->Args({101, 1})
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

// An 80 x 80 PNG of random greys: 100 tiles.
QString tilesPng(const QTemporaryDir& dir)
{
    const QString path = dir.filePath(QStringLiteral("tiles.png"));
    QImage image(80, 80, QImage::Format_RGB32);
    std::mt19937 random(80);
    const int levels[] = {255, 128, 64, 0};
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 80; ++x) {
            const int v = levels[random() % 4];
            image.setPixel(x, y, qRgb(v, v, v));
        }
    if (!image.save(path, "PNG"))
        std::abort();
    return path;
}

// Reading an 80 x 80 PNG into 100 named tiles.
void BM_ImportPng80(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = tilesPng(dir);
    for (auto _ : state) {
        const bitloom::TileImport imported = bitloom::importTiles(path, 101);
        if (imported.tiles.size() != 100)
            state.SkipWithError("expected 100 tiles");
        benchmark::DoNotOptimize(imported.tiles.data());
    }
}

BENCHMARK(BM_ImportPng80)->Unit(benchmark::kMicrosecond)->Repetitions(15)->ReportAggregatesOnly(true);

// File > Import PNG of the 80 x 80 PNG into an empty sheet, until the name
// box, the code pane and the Sprites window show all 100 sprites.
void BM_ImportToShown(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = tilesPng(dir);
    bitloom::MainWindow window;
    window.setFileChooser([&](bool, const QString&, bitloom::MainWindow::FileKind) { return path; });
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        std::abort();
    QAction* import = window.findChild<QAction*>(QStringLiteral("importAction"));
    for (auto _ : state) {
        state.PauseTiming();
        window.document().newDocument();
        settle();
        state.ResumeTiming();
        import->trigger();
        settle();
    }
    if (window.document().names().size() != 100)
        state.SkipWithError("expected 100 sprites");
}

BENCHMARK(BM_ImportToShown)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char* argv[])
{
    return bitloom::bench::runBenchmarks(argc, argv);
}
