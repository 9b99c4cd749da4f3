// The "Sprites" window: a change of the drawing until it is painted, with 1
// or 101 thumbnails shown; showing it over a list of 20 or 2,000 sprites and
// scrolling one page; decoding an 80 x 80 PNG of 100 tiles; and the
// whole import of that PNG into an empty sheet until every window shows it.
#include "io/pngfile.h"
#include "ui/frame/filesession.h"
#include "ui/frame/mainwindow.h"
#include "ui/sheet/sheetwindow.h"
#include "ui/sheet/spritelistmodel.h"
#include "ui/sheet/thumbnailview.h"

#include "qtbench.h"
#include <QAction>

#include <QApplication>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <random>

namespace {

using bitloom::Grid;
using bitloom::Shades;
using bitloom::SheetWindow;

using bitloom::bench::settle;

struct Shown {
    std::unique_ptr<bitloom::Document> document;
    std::unique_ptr<SheetWindow> window;
};

// A shown window on a document of `sprites` random drawings; the first is
// current, so its thumbnail is in view.
Shown& windowWith(int sprites)
{
    static std::map<int, Shown> shown;
    Shown& s = shown[sprites];
    if (s.window)
        return s;
    std::mt19937 random{unsigned(sprites)};
    std::vector<bitloom::Tile> drawings;
    for (int i = 0; i < sprites; ++i) {
        bitloom::Tile tile{std::string("sprite").append(std::to_string(i)), {}};
        for (auto& shade : tile.shades)
            shade = bitloom::shadeOfCode(int(random() % 4));
        drawings.push_back(tile);
    }
    s.document = std::make_unique<bitloom::Document>();
    s.document->importDrawings(drawings);
    s.document->chooseName(0);
    s.window = std::make_unique<SheetWindow>(*s.document);
    s.window->resize(640, 360);
    s.window->show();
    if (!QTest::qWaitForWindowExposed(s.window.get()))
        std::abort();
    settle();
    return s;
}

// A press in the editor as the Sprites window sees it: the grid and the
// current sprite's stored drawing change, and the preview and one thumbnail
// repaint.
void BM_DrawingChangeToPaint(benchmark::State& state)
{
    Shown& s = windowWith(int(state.range(0)));
    int colour = 0;
    for (auto _ : state) {
        colour = colour == 3 ? 1 : 3;
        s.document->selectColour(colour);
        s.document->press(27, bitloom::MouseButton::Left);
        settle();
    }
}

BENCHMARK(BM_DrawingChangeToPaint)
    ->Arg(1)
    ->Arg(101)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

// The Sprites window over a list of `state.range(0)` sprites, more than a
// sheet may name: from its creation until it is shown, then until one page
// further down is shown. The list is built outside the timing.
void BM_ShowAndScrollPage(benchmark::State& state)
{
    const int count = int(state.range(0));
    std::vector<std::string> names;
    std::vector<Shades> drawings(std::size_t(count), Shades{});
    std::mt19937 random{unsigned(count)};
    for (int i = 0; i < count; ++i) {
        names.push_back(std::string("tile").append(std::to_string(i)));
        for (auto& shade : drawings[std::size_t(i)])
            shade = bitloom::shadeOfCode(int(random() % 4));
    }
    bitloom::Document document;
    int painted = 0;
    for (auto _ : state) {
        state.PauseTiming();
        bitloom::SpriteListModel sprites;
        sprites.setDrawingLookup([&](int row) { return drawings[std::size_t(row)]; });
        sprites.setNames(names);
        sprites.setCurrent(0);
        state.ResumeTiming();
        {
            SheetWindow window(document, &sprites);
            window.resize(640, 360);
            window.show();
            if (!QTest::qWaitForWindowExposed(&window))
                std::abort();
            settle();
            QScrollBar* bar = window.thumbnails()->verticalScrollBar();
            bar->setValue(bar->value() + bar->pageStep());
            settle();
            state.PauseTiming();
        }
        painted = sprites.paintedCount();
        state.ResumeTiming();
    }
    state.counters["painted"] = painted;
}

BENCHMARK(BM_ShowAndScrollPage)
    ->Arg(20)
    ->Arg(2000)
    ->Unit(benchmark::kMillisecond)
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
        const bitloom::TileImport imported = bitloom::importTiles(path);
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
    bitloom::Document document;
    bitloom::MainWindow window(document);
    window.session().setFileChooser(
        [&](bool, const QString&, bitloom::FileSession::FileKind) { return path; });
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
