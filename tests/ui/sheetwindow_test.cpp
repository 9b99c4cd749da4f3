// The "Sprites" window on its own, its preview and thumbnails fed plain
// data through a sprite list: what they show, which thumbnails are painted,
// and choosing a sprite with the mouse or the keyboard. How the window
// follows a document is in sheet_wiring_test.cpp.
#include "document/document.h"
#include "ui/sheet/sheetwindow.h"
#include "ui/sheet/spritelistmodel.h"
#include "ui/sheet/spritepreview.h"
#include "ui/sheet/thumbnailview.h"

#include <QAccessible>
#include <QApplication>
#include <QCloseEvent>
#include <QScrollBar>
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
        sprites.setDrawingLookup([this](int row) { return codes.at(std::size_t(row)); });
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

    // As a list change shows them: every drawing looked up again.
    void setSprites(const std::vector<std::string>& list, const std::vector<Shades>& drawings, int current)
    {
        codes = drawings;
        sprites.setNames(list);
        sprites.setCurrent(current);
    }
    void setCurrentDrawing(const Grid& grid)
    {
        window.preview()->setDrawing(grid);
        sprites.setCurrentDrawing(grid);
    }
    ThumbnailView& view() const { return *window.thumbnails(); }
    QModelIndex item(int row) const { return sprites.index(row); }
    bool isCurrent(int row) const { return view().selectionModel()->isSelected(item(row)); }
    bool hasFocus(int row) const { return view().hasFocus() && view().currentIndex() == item(row); }
    QRgb cellShown(int row, int cell) const
    {
        return item(row).data(Qt::DecorationRole).value<QImage>().pixel(columnFromLeft(cell), rowOf(cell));
    }
    void click(int row, Qt::MouseButton button = Qt::LeftButton)
    {
        view().scrollTo(item(row));
        QTest::mouseClick(view().viewport(), button, {}, view().visualRect(item(row)).center());
    }
    void key(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }
    QAccessibleInterface* accessibleItem(int row) const
    {
        return QAccessible::queryAccessibleInterface(&view())->child(row);
    }

    Document document; // empty: choosing a thumbnail here recalls nothing
    SpriteListModel sprites;
    SheetWindow window{document, &sprites};
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
    ASSERT_EQ(sprites.rowCount(), 5);
    EXPECT_EQ(cellShown(0, 0), kWhite);
    EXPECT_EQ(cellShown(1, 63), kGrey);
    EXPECT_EQ(cellShown(3, 7), kBlack);
    EXPECT_TRUE(isCurrent(2));
    EXPECT_FALSE(isCurrent(1));

    Grid grid = filledGrid(Cell::Unpainted);
    grid[7] = Cell::Black;
    grid[56] = Cell::Grey;
    setCurrentDrawing(grid);
    EXPECT_EQ(cellShown(2, 7), kBlack);
    EXPECT_EQ(cellShown(2, 56), kGrey);
    // Unpainted cells look as in the editor; the others keep their codes.
    EXPECT_EQ(cellShown(2, 0), window.preview()->image().pixel(7, 0));
    EXPECT_EQ(cellShown(1, 7), kGrey);
    EXPECT_EQ(window.preview()->image().pixel(0, 0), kBlack);
    EXPECT_EQ(window.preview()->image().pixel(7, 7), kGrey);

    // The table stores the grid: the current thumbnail keeps showing it.
    codes[2] = filled(Cell::DarkGrey);
    setSprites(names, codes, 2);
    EXPECT_EQ(cellShown(2, 7), kBlack);

    // Another sprite recalled: the old current one shows its stored codes.
    setSprites(names, codes, 4);
    setCurrentDrawing(filledGrid(Cell::Black));
    EXPECT_EQ(cellShown(2, 7), kDark);
    EXPECT_EQ(cellShown(4, 7), kBlack);
    EXPECT_FALSE(isCurrent(2));
    EXPECT_TRUE(isCurrent(4));

    // None current: every thumbnail shows its codes, the preview the grid.
    setSprites(names, codes, -1);
    EXPECT_EQ(cellShown(4, 7), kWhite);
    setCurrentDrawing(filledGrid(Cell::Grey));
    EXPECT_EQ(cellShown(4, 7), kWhite);
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
    view().scrollTo(item(50));
    QCoreApplication::processEvents();

    PaintCounter counter;
    for (QWidget* w : window.findChildren<QWidget*>())
        w->installEventFilter(&counter);
    Grid grid = filledGrid(Cell::White);
    grid[27] = Cell::Black;
    setCurrentDrawing(grid);
    // The table change that follows a press: only entry 50 differs.
    codes[50][27] = Cell::Black;
    sprites.drawingsChanged({50});
    QCoreApplication::processEvents();
    ASSERT_TRUE(counter.painted.count(window.preview()));
    EXPECT_EQ(cellShown(50, 27), kBlack);

    // Only the current row's drawing is painted again, and only its place
    // in the view is repainted.
    const int painted = sprites.paintedCount();
    QRegion updated;
    QObject::connect(&sprites, &QAbstractItemModel::dataChanged, &view(),
                     [&](const QModelIndex& from, const QModelIndex& to) {
                         for (int row = from.row(); row <= to.row(); ++row)
                             updated += view().visualRect(item(row));
                     });
    grid[28] = Cell::DarkGrey;
    setCurrentDrawing(grid);
    codes[50][28] = Cell::DarkGrey;
    sprites.drawingsChanged({50});
    QCoreApplication::processEvents();
    EXPECT_EQ(sprites.paintedCount(), painted + 1);
    EXPECT_EQ(updated, QRegion(view().visualRect(item(50))));
    EXPECT_EQ(cellShown(50, 28), kDark);
}

TEST_F(SheetWindowTest, ThousandsOfSpritesArePaintedOnlyWhenInView)
{
    showSprites(2000, 0);
    ASSERT_EQ(sprites.rowCount(), 2000);
    EXPECT_EQ(item(1999).data().toString(), QStringLiteral("s1999"));
    EXPECT_EQ(item(1999).data(Qt::AccessibleTextRole).toString(),
              QStringLiteral("Sprite s1999, 2000 of 2000"));
    const int inView = sprites.paintedCount();
    EXPECT_GT(inView, 0);
    EXPECT_LT(inView, 100) << "only the thumbnails in view";

    view().verticalScrollBar()->setValue(view().verticalScrollBar()->maximum());
    QCoreApplication::processEvents();
    EXPECT_LT(sprites.paintedCount(), 2 * inView + view().columns());
    EXPECT_EQ(cellShown(1999, 0), kBlack);
    EXPECT_TRUE(view().viewport()->rect().intersects(view().visualRect(item(1999))));

    // A drawing out of view is forgotten, not painted, until shown.
    const int painted = sprites.paintedCount();
    sprites.drawingsChanged({1, 2, 3});
    QCoreApplication::processEvents();
    EXPECT_EQ(sprites.paintedCount(), painted);
}

TEST_F(SheetWindowTest, RowsKeepTheirPlaceWhenNamesAreAddedRemovedOrRenamed)
{
    showSprites(5, 4);
    QSignalSpy inserted(&sprites, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&sprites, &QAbstractItemModel::rowsRemoved);
    QSignalSpy reset(&sprites, &QAbstractItemModel::modelReset);
    const struct {
        std::vector<std::string> names;
        int inserted, removed; // rows, at the place they changed
    } steps[] = {
        {{"s0", "s1", "s2", "s3", "s4", "s5"}, 1, 0},
        {{"s0", "s2", "s3", "s4", "s5"}, 0, 1},
        {{"s0", "x", "s3", "s4", "s5"}, 0, 0},
        {{"s0", "x", "y", "z", "s3", "s4", "s5"}, 2, 0},
        {{}, 0, 7},
        {{"a", "b"}, 2, 0},
    };
    for (const auto& step : steps) {
        inserted.clear();
        removed.clear();
        setSprites(step.names, std::vector<Shades>(step.names.size()), 0);
        const auto rows = [](const QSignalSpy& spy) {
            return spy.isEmpty() ? 0 : spy.front().at(2).toInt() - spy.front().at(1).toInt() + 1;
        };
        EXPECT_EQ(rows(inserted), step.inserted);
        EXPECT_EQ(rows(removed), step.removed);
        ASSERT_EQ(sprites.rowCount(), int(step.names.size()));
        for (int row = 0; row < sprites.rowCount(); ++row)
            EXPECT_EQ(item(row).data().toString().toStdString(), step.names[std::size_t(row)]);
    }
    EXPECT_TRUE(reset.isEmpty());
}

TEST_F(SheetWindowTest, ThumbnailsWrapToTheWidthAndFollowTheList)
{
    showSprites(12, 0);
    const int perRow = view().columns();
    ASSERT_GT(perRow, 1);
    const auto at = [this](int row) { return view().visualRect(item(row)); };
    EXPECT_EQ(at(perRow).x(), at(0).x());
    EXPECT_GT(at(perRow).y(), at(0).y());
    EXPECT_EQ(at(1).y(), at(0).y());

    window.resize(window.width() + 3 * view().cellSize().width(), window.height());
    QCoreApplication::processEvents();
    EXPECT_GT(view().columns(), perRow);
    EXPECT_EQ(at(view().columns()).x(), at(0).x());

    // 101 sprites need scrolling; fewer give the thumbnails back.
    showSprites(101, 100);
    EXPECT_EQ(sprites.rowCount(), 101);
    EXPECT_TRUE(view().verticalScrollBar()->isVisible());
    showSprites(3, 1);
    EXPECT_EQ(sprites.rowCount(), 3);
    EXPECT_TRUE(isCurrent(1));
    EXPECT_FALSE(isCurrent(2));
}

TEST_F(SheetWindowTest, AClickOnAThumbnailChoosesThatSprite)
{
    showSprites(12, 0);
    QSignalSpy chosen(&window, &SheetWindow::spriteChosen);
    click(7);
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.takeFirst().at(0).toInt(), 7);
    EXPECT_TRUE(isCurrent(0)) << "the highlight stays with the current sprite";

    // Pressed on one, released elsewhere: no choice.
    const QPoint on3 = view().visualRect(item(3)).center();
    QTest::mousePress(view().viewport(), Qt::LeftButton, {}, on3);
    QTest::mouseRelease(view().viewport(), Qt::LeftButton, {}, view().visualRect(item(4)).center());
    click(3, Qt::RightButton);
    EXPECT_EQ(chosen.count(), 0);
}

TEST_F(SheetWindowTest, TheKeyboardMovesBetweenThumbnailsAndChooses)
{
    showSprites(12, 0);
    const int perRow = view().columns();
    ASSERT_GT(perRow, 2);
    ASSERT_LT(perRow, 12);
    QSignalSpy chosen(&window, &SheetWindow::spriteChosen);
    view().setFocus();
    ASSERT_TRUE(hasFocus(0));

    key(Qt::Key_Right);
    key(Qt::Key_Down);
    EXPECT_TRUE(hasFocus(1 + perRow));
    EXPECT_EQ(chosen.count(), 0);
    EXPECT_TRUE(isCurrent(0)) << "moving the focus chooses nothing";
    key(Qt::Key_Return);
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.takeFirst().at(0).toInt(), 1 + perRow);

    key(Qt::Key_Up);
    key(Qt::Key_Up); // stays in the first row
    key(Qt::Key_Left);
    key(Qt::Key_Left); // stays on the first
    EXPECT_TRUE(hasFocus(0));
    key(Qt::Key_End);
    key(Qt::Key_Right); // stays on the last
    EXPECT_TRUE(hasFocus(11));
    key(Qt::Key_Up);
    key(Qt::Key_Down); // from above the last row's gap: onto its last
    EXPECT_TRUE(hasFocus(11));
    key(Qt::Key_Home);
    key(Qt::Key_Space);
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.takeFirst().at(0).toInt(), 0);
    key(Qt::Key_End);
    key(Qt::Key_Enter);
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.takeFirst().at(0).toInt(), 11);

    // The list is one Tab stop, and none while it is empty.
    EXPECT_EQ(view().focusPolicy(), Qt::StrongFocus);
    showSprites(0, -1);
    EXPECT_EQ(view().focusPolicy(), Qt::NoFocus);
}

TEST_F(SheetWindowTest, EachThumbnailHasAnAccessibleNameWithItsPlace)
{
    names = {"A", "B", "Heart", "", "a b!{}", "E", "F", "G", "H", "I", "J", std::string(60, 'x')};
    setSprites(names, std::vector<Shades>(names.size()), 0);
    const auto accessibleName = [this](int row) { return accessibleItem(row)->text(QAccessible::Name); };
    EXPECT_EQ(accessibleName(2), QStringLiteral("Sprite Heart, 3 of 12"));
    EXPECT_EQ(accessibleName(3), QStringLiteral("Unnamed sprite, 4 of 12"));
    // Names are kept whole as typed; only the painted text is elided.
    EXPECT_EQ(item(4).data().toString(), QStringLiteral("a b!{}"));
    EXPECT_EQ(accessibleName(11), QStringLiteral("Sprite %1, 12 of 12").arg(QString(60, QLatin1Char('x'))));

    names.push_back("L");
    setSprites(names, std::vector<Shades>(names.size()), 0);
    EXPECT_EQ(accessibleName(2), QStringLiteral("Sprite Heart, 3 of 13"));
    EXPECT_EQ(accessibleName(12), QStringLiteral("Sprite L, 13 of 13"));

    // Items of a list; the current sprite is the selected one, and
    // selecting another chooses it, as a click does.
    EXPECT_EQ(accessibleItem(2)->role(), QAccessible::ListItem);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&view())->role(), QAccessible::List);
    EXPECT_FALSE(accessibleItem(2)->state().selected);
    EXPECT_TRUE(accessibleItem(2)->state().selectable);
    setSprites(names, std::vector<Shades>(names.size()), 2);
    EXPECT_TRUE(accessibleItem(2)->state().selected);
    QSignalSpy chosen(&window, &SheetWindow::spriteChosen);
    accessibleItem(5)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.takeFirst().at(0).toInt(), 5);
    EXPECT_TRUE(accessibleItem(2)->state().selected) << "until the choice makes another current";
    EXPECT_FALSE(accessibleItem(5)->state().selected);
}

} // namespace
} // namespace bitloom
