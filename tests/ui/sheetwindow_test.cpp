// The "Sprites" window on its own, its preview and thumbnails fed plain
// data: what they show, which thumbnails repaint, and choosing a sprite with
// the mouse or the keyboard. How the window follows a document is in
// sheet_wiring_test.cpp.
#include "ui/sheet/sheetwindow.h"
#include "ui/sheet/spritepreview.h"
#include "ui/sheet/thumbnail.h"
#include "ui/sheet/thumbnailsheet.h"

#include <QAccessible>
#include <QApplication>
#include <QCloseEvent>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <set>

namespace bitloom {
namespace {

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

Shades filled(Cell code)
{
    Shades codes;
    codes.fill(code);
    return codes;
}

Grid filledGrid(Cell colour)
{
    Grid grid;
    grid.fill(colour);
    return grid;
}

// Counts the paints of every widget below a window.
class PaintCounter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted.insert(watched);
        return false;
    }
    std::set<QObject*> painted;
};

class SheetWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.resize(520, 300);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    // `n` sprites "s0".."s<n-1>", sprite i filled with code i % 4.
    void showSprites(int n, int current)
    {
        names.clear();
        codes.clear();
        for (int i = 0; i < n; ++i) {
            names.push_back(std::string("s").append(std::to_string(i)));
            codes.push_back(filled(shadeOfCode(i % 4)));
        }
        setSprites(names, codes, current);
        QCoreApplication::processEvents();
    }

    void setSprites(const std::vector<std::string>& list, const std::vector<Shades>& drawings, int current)
    {
        sheet().setSprites(list, drawings, current);
    }
    void setCurrentDrawing(const Grid& grid)
    {
        window.preview()->setDrawing(grid);
        sheet().setCurrentDrawing(grid);
    }
    ThumbnailSheet& sheet() const { return *window.thumbnails(); }
    Thumbnail& thumb(int i) const { return *sheet().thumbnail(i); }
    static QRgb cellShown(const Thumbnail& t, int cell)
    {
        return t.image().pixel(columnFromLeft(cell), rowOf(cell));
    }
    static QString accessibleName(QObject* object)
    {
        return QAccessible::queryAccessibleInterface(object)->text(QAccessible::Name);
    }

    Document document; // empty: choosing a thumbnail here recalls nothing
    SheetWindow window{document};
    std::vector<std::string> names;
    std::vector<Shades> codes;
};

const QRgb kWhite = qRgb(255, 255, 255), kGrey = qRgb(128, 128, 128), kDark = qRgb(64, 64, 64),
           kBlack = qRgb(0, 0, 0);

TEST_F(SheetWindowTest, IsTheSpritesWindowAndCannotBeClosed)
{
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Sprites"));
    EXPECT_EQ(window.objectName(), QStringLiteral("sprites"));
    QCloseEvent close;
    QCoreApplication::sendEvent(&window, &close);
    EXPECT_FALSE(close.isAccepted());
    EXPECT_TRUE(window.isVisible());
}

TEST_F(SheetWindowTest, ThumbnailsShowStoredDrawingsAndTheCurrentOneShowsTheGrid)
{
    showSprites(5, 2);
    ASSERT_EQ(sheet().count(), 5);
    EXPECT_EQ(cellShown(thumb(0), 0), kWhite);
    EXPECT_EQ(cellShown(thumb(1), 63), kGrey);
    EXPECT_EQ(cellShown(thumb(3), 7), kBlack);
    EXPECT_TRUE(thumb(2).isCurrent());
    EXPECT_FALSE(thumb(1).isCurrent());

    Grid grid = filledGrid(Cell::Unpainted);
    grid[7] = Cell::Black;
    grid[56] = Cell::Grey;
    setCurrentDrawing(grid);
    EXPECT_EQ(cellShown(thumb(2), 7), kBlack);
    EXPECT_EQ(cellShown(thumb(2), 56), kGrey);
    // Unpainted cells look as in the editor; the others keep their codes.
    EXPECT_EQ(cellShown(thumb(2), 0), window.preview()->image().pixel(7, 0));
    EXPECT_EQ(cellShown(thumb(1), 7), kGrey);
    EXPECT_EQ(window.preview()->image().pixel(0, 0), kBlack);
    EXPECT_EQ(window.preview()->image().pixel(7, 7), kGrey);

    // The table stores the grid: the current thumbnail keeps showing it.
    codes[2] = filled(Cell::DarkGrey);
    setSprites(names, codes, 2);
    EXPECT_EQ(cellShown(thumb(2), 7), kBlack);

    // Another sprite recalled: the old current one shows its stored codes.
    setSprites(names, codes, 4);
    setCurrentDrawing(filledGrid(Cell::Black));
    EXPECT_EQ(cellShown(thumb(2), 7), kDark);
    EXPECT_EQ(cellShown(thumb(4), 7), kBlack);
    EXPECT_FALSE(thumb(2).isCurrent());
    EXPECT_TRUE(thumb(4).isCurrent());

    // None current: every thumbnail shows its codes, the preview the grid.
    setSprites(names, codes, -1);
    EXPECT_EQ(cellShown(thumb(4), 7), kWhite);
    setCurrentDrawing(filledGrid(Cell::Grey));
    EXPECT_EQ(cellShown(thumb(4), 7), kWhite);
    EXPECT_EQ(window.preview()->image().pixel(3, 3), kGrey);
}

TEST_F(SheetWindowTest, PreviewAndThumbnailsArePaintedCrispAtTheirScales)
{
    showSprites(1, 0);
    Grid grid = filledGrid(Cell::White);
    grid[7] = Cell::Black; // top-left black, its right neighbour white
    setCurrentDrawing(grid);

    const QImage shot = window.preview()->grab().toImage();
    const qreal dpr = shot.devicePixelRatio();
    for (const int scale : {1, 2, 4}) {
        const QRect copy = window.preview()->copyRect(scale);
        const auto at = [&](int x, int y) { return shot.pixel(int(x * dpr), int(y * dpr)); };
        EXPECT_EQ(at(copy.left(), copy.top()), kBlack) << scale;
        EXPECT_EQ(at(copy.left() + scale - 1, copy.top() + scale - 1), kBlack) << scale;
        EXPECT_EQ(at(copy.left() + scale, copy.top()), kWhite) << scale;
        EXPECT_EQ(at(copy.right(), copy.bottom()), kWhite) << scale;
    }
}

TEST_F(SheetWindowTest, ADrawingChangeRepaintsOnlyThePreviewAndTheCurrentThumbnail)
{
    showSprites(101, 50);
    setCurrentDrawing(filledGrid(Cell::White));
    QCoreApplication::processEvents();

    PaintCounter counter;
    for (QWidget* w : window.findChildren<QWidget*>())
        w->installEventFilter(&counter);
    Grid grid = filledGrid(Cell::White);
    grid[27] = Cell::Black;
    setCurrentDrawing(grid);
    // The table change that follows a press: only entry 50 differs.
    codes[50] = {};
    codes[50][27] = Cell::Black;
    setSprites(names, codes, 50);
    // Painting happens for visible widgets; make entry 50 visible first.
    window.scrollArea()->ensureWidgetVisible(&thumb(50));
    QCoreApplication::processEvents();
    counter.painted.clear();

    grid[28] = Cell::DarkGrey;
    setCurrentDrawing(grid);
    codes[50][28] = Cell::DarkGrey;
    setSprites(names, codes, 50);
    QCoreApplication::processEvents();

    EXPECT_TRUE(counter.painted.count(window.preview()));
    EXPECT_TRUE(counter.painted.count(&thumb(50)));
    for (int i = 0; i < 101; ++i) {
        if (i == 50)
            continue;
        EXPECT_FALSE(counter.painted.count(&thumb(i))) << "thumbnail " << i;
    }
}

TEST_F(SheetWindowTest, ThumbnailsWrapToTheWidthAndFollowTheList)
{
    showSprites(12, 0);
    const int perRow = sheet().columns();
    ASSERT_GT(perRow, 1);
    EXPECT_EQ(thumb(perRow).x(), thumb(0).x());
    EXPECT_GT(thumb(perRow).y(), thumb(0).y());
    EXPECT_EQ(thumb(1).y(), thumb(0).y());

    window.resize(window.width() + 3 * Thumbnail::cellSize(thumb(0).fontMetrics()).width(), window.height());
    QCoreApplication::processEvents();
    EXPECT_GT(sheet().columns(), perRow);
    EXPECT_EQ(thumb(sheet().columns()).x(), thumb(0).x());

    // 101 sprites need scrolling; fewer give the thumbnails back.
    showSprites(101, 100);
    EXPECT_EQ(sheet().count(), 101);
    EXPECT_GE(sheet().height(), thumb(100).geometry().bottom());
    showSprites(3, 1);
    EXPECT_EQ(sheet().count(), 3);
    EXPECT_TRUE(thumb(1).isCurrent());
}

TEST_F(SheetWindowTest, AClickOnAThumbnailChoosesThatSprite)
{
    showSprites(12, 0);
    QSignalSpy chosen(&window, &SheetWindow::spriteChosen);
    QTest::mouseClick(&thumb(7), Qt::LeftButton);
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.takeFirst().at(0).toInt(), 7);

    // Pressed on one, released elsewhere: no choice.
    QTest::mousePress(&thumb(3), Qt::LeftButton);
    QTest::mouseRelease(&thumb(3), Qt::LeftButton, {}, QPoint(-5, -5));
    QTest::mouseClick(&thumb(3), Qt::RightButton);
    EXPECT_EQ(chosen.count(), 0);
}

TEST_F(SheetWindowTest, TheKeyboardMovesBetweenThumbnailsAndChooses)
{
    showSprites(12, 0);
    const int perRow = sheet().columns();
    ASSERT_GT(perRow, 2);
    ASSERT_LT(perRow, 12);
    QSignalSpy chosen(&window, &SheetWindow::spriteChosen);
    thumb(0).setFocus();
    ASSERT_TRUE(thumb(0).hasFocus());

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_TRUE(thumb(1 + perRow).hasFocus());
    EXPECT_EQ(chosen.count(), 0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.takeFirst().at(0).toInt(), 1 + perRow);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up); // stays in the first row
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left); // stays on the first
    EXPECT_TRUE(thumb(0).hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right); // stays on the last
    EXPECT_TRUE(thumb(11).hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.takeFirst().at(0).toInt(), 11);

    // Only the focused thumbnail is a Tab stop.
    EXPECT_EQ(thumb(11).focusPolicy(), Qt::StrongFocus);
    EXPECT_EQ(thumb(0).focusPolicy(), Qt::ClickFocus);
}

TEST_F(SheetWindowTest, EachThumbnailHasAnAccessibleNameWithItsPlace)
{
    names = {"A", "B", "Heart", "", "a b!{}", "E", "F", "G", "H", "I", "J", std::string(60, 'x')};
    codes.assign(names.size(), Shades{});
    setSprites(names, codes, 0);
    EXPECT_EQ(accessibleName(&thumb(2)), QStringLiteral("Sprite Heart, 3 of 12"));
    EXPECT_EQ(accessibleName(&thumb(3)), QStringLiteral("Unnamed sprite, 4 of 12"));
    // Names are kept whole as typed; only the painted text is elided.
    EXPECT_EQ(thumb(4).name(), QStringLiteral("a b!{}"));
    EXPECT_EQ(accessibleName(&thumb(11)),
              QStringLiteral("Sprite %1, 12 of 12").arg(QString(60, QLatin1Char('x'))));

    names.push_back("L");
    codes.push_back({});
    setSprites(names, codes, 0);
    EXPECT_EQ(accessibleName(&thumb(2)), QStringLiteral("Sprite Heart, 3 of 13"));
    EXPECT_EQ(accessibleName(&thumb(12)), QStringLiteral("Sprite L, 13 of 13"));

    // Items of a list; the current sprite is the selected one, and the
    // press action chooses like a click.
    QAccessibleInterface* item = QAccessible::queryAccessibleInterface(&thumb(2));
    EXPECT_EQ(item->role(), QAccessible::ListItem);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&sheet())->role(), QAccessible::List);
    EXPECT_FALSE(item->state().selected);
    setSprites(names, codes, 2);
    EXPECT_TRUE(item->state().selected);
    QSignalSpy chosen(&window, &SheetWindow::spriteChosen);
    item->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.takeFirst().at(0).toInt(), 2);
}

} // namespace
} // namespace bitloom
