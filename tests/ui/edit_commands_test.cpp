// The editing commands in the window: brush work kept across sprite
// switches, the pen drag, the Tile menu's sprite commands and their grid
// keys, and copying and pasting sprites through the clipboard.
#include "uitest.h"

#include "ui/sheet/sheetwindow.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMenu>
#include <QMimeData>
#include <QStatusBar>

namespace bitloom::test {
namespace {

class EditCommands : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    // Gives the grid the keyboard focus, as Tab from the name box does.
    QWidget& focusGrid()
    {
        QWidget* cell = editor().cell(editor().focusCell());
        cell->setFocus(Qt::TabFocusReason);
        return *cell;
    }
    Cell at(int row, int column) const { return colour(cellAt(row, column)); }
    // The text the code window shows agrees with the document, whose own
    // agreement with the grid the core tests check.
    void expectCodeOf(const QString& name, const Bytes& light, const Bytes& dark)
    {
        EXPECT_NE(text().find(declarations(name.toStdString(), light, dark)), std::string::npos) << text();
    }
    QMessageBox* message(const char* name) const
    {
        return window->findChild<QMessageBox*>(QString::fromLatin1(name));
    }
};

TEST_F(EditCommands, BrushStrokesStayWhenSwitchingSpritesAndComingBack)
{
    draw(QStringLiteral("A"), 3, {0});
    draw(QStringLiteral("B"), 1, {1});
    chooseTool(brushButton());
    pickColour(2);
    hover(*editor().cell(20));
    hover(*editor().cell(21));
    chooseName(0);
    EXPECT_EQ(colour(20), Cell::White);
    chooseName(1);
    EXPECT_EQ(colour(20), Cell::DarkGrey);
    EXPECT_EQ(colour(21), Cell::DarkGrey);
    EXPECT_EQ(text(), declarations("A", {1, 0, 0, 0, 0, 0, 0, 0}, {1, 0, 0, 0, 0, 0, 0, 0})
                          + declarations("B", {2, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0x30, 0, 0, 0, 0, 0}));
    EXPECT_EQ(editor().document().code(), text());
}

TEST_F(EditCommands, LeavingTheGridWritesTheBrushedCells)
{
    typeName(QStringLiteral("C"));
    chooseTool(brushButton());
    pickColour(3);
    hover(*editor().cell(8));
    hover(*editor().cell(9));
    EXPECT_TRUE(editor().document().brushPending());
    hover(nameBox());
    ASSERT_TRUE(QTest::qWaitFor([this] { return !editor().document().brushPending(); }));
    expectCodeOf(QStringLiteral("C"), {0, 3, 0, 0, 0, 0, 0, 0}, {0, 3, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(action("undoAction").text(), QStringLiteral("&Undo Brush"));
}

TEST_F(EditCommands, PenDragPaintsEachCellAsOneStep)
{
    draw(QStringLiteral("A"), 1, {cellAt(7, 7)});
    pickColour(3);
    QTest::mousePress(editor().cell(cellAt(0, 0)), Qt::LeftButton);
    QTest::mouseMove(editor().cell(cellAt(0, 1)));
    QTest::mouseMove(editor().cell(cellAt(0, 2)));
    QTest::mouseMove(editor().cell(cellAt(1, 2)));
    QTest::mouseRelease(editor().cell(cellAt(1, 2)), Qt::LeftButton);
    EXPECT_EQ(at(0, 1), Cell::Black);
    EXPECT_EQ(at(1, 2), Cell::Black);
    expectCodeOf(QStringLiteral("A"), {0xE0, 0x20, 0, 0, 0, 0, 0, 1}, {0xE0, 0x20, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(action("undoAction").text(), QStringLiteral("&Undo Paint"));
    action("undoAction").trigger();
    EXPECT_EQ(at(0, 0), Cell::White);
    EXPECT_EQ(at(0, 2), Cell::White);
    expectCodeOf(QStringLiteral("A"), {0, 0, 0, 0, 0, 0, 0, 1}, kZero);
}

TEST_F(EditCommands, TileMenuShiftSubmenu)
{
    auto& shift = *window->findChild<QMenu*>(QStringLiteral("shiftMenu"));
    QStringList items;
    for (QAction* item : shift.actions())
        items << item->objectName() + u' ' + item->text();
    EXPECT_EQ(items.join(u'\n'), QStringLiteral("shiftUpAction &Up\nshiftDownAction &Down\n"
                                                "shiftLeftAction &Left\nshiftRightAction &Right"));
}

TEST_F(EditCommands, GridKeysTransformTheDrawing)
{
    draw(QStringLiteral("T"), 3, {cellAt(0, 0)});
    QWidget& grid = focusGrid();
    QTest::keyClick(&grid, Qt::Key_H);
    EXPECT_EQ(at(0, 7), Cell::Black);
    EXPECT_EQ(action("undoAction").text(), QStringLiteral("&Undo Flip Horizontally"));
    QTest::keyClick(&grid, Qt::Key_V);
    EXPECT_EQ(at(7, 7), Cell::Black);
    QTest::keyClick(&grid, Qt::Key_R);
    EXPECT_EQ(at(7, 0), Cell::Black);
    QTest::keyClick(&grid, Qt::Key_R, Qt::ShiftModifier);
    EXPECT_EQ(at(7, 7), Cell::Black);
    QTest::keyClick(&grid, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(at(7, 0), Cell::Black) << "wraps round";
    QTest::keyClick(&grid, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(at(0, 0), Cell::Black);
    EXPECT_EQ(action("undoAction").text(), QStringLiteral("&Undo Shift Down"));
    QTest::keyClick(&grid, Qt::Key_I);
    EXPECT_EQ(at(0, 0), Cell::White);
    EXPECT_EQ(at(3, 3), Cell::Black);
    expectCodeOf(QStringLiteral("T"), {0x7F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
                 {0x7F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    EXPECT_EQ(editor().focusCell(), cellAt(0, 0)) << "the keys do not move the focus cell";
}

TEST_F(EditCommands, RenameFromTheMenuWithItsRefusals)
{
    draw(QStringLiteral("A"), 3, {0});
    draw(QStringLiteral("B"), 3, {1});
    QString answer;
    window->setNameAsker([&answer](const QString& current) -> std::optional<QString> {
        EXPECT_EQ(current, QStringLiteral("B"));
        return answer;
    });
    answer = QStringLiteral("2nd");
    action("renameSpriteAction").trigger();
    EXPECT_EQ(nameBox().currentText(), QStringLiteral("2nd"));
    EXPECT_EQ(nameBox().itemText(1), QStringLiteral("2nd"));
    EXPECT_TRUE(nameBox().hintShown()) << "not a C identifier";
    EXPECT_EQ(text(), declarations("A", {1, 0, 0, 0, 0, 0, 0, 0}, {1, 0, 0, 0, 0, 0, 0, 0})
                          + declarations("2nd", {2, 0, 0, 0, 0, 0, 0, 0}, {2, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(action("undoAction").text(), QStringLiteral("&Undo Rename Sprite"));
    action("undoAction").trigger();
    EXPECT_EQ(nameBox().currentText(), QStringLiteral("B"));
    EXPECT_FALSE(nameBox().hintShown());

    answer = QStringLiteral("A");
    const std::string before = text();
    action("renameSpriteAction").trigger();
    QMessageBox* box = message("renameRefusedMessage");
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->text().contains(QStringLiteral("\"A\" is already the name of a sprite.")));
    box->close();
    EXPECT_EQ(text(), before);
    EXPECT_EQ(nameBox().currentText(), QStringLiteral("B"));
}

TEST_F(EditCommands, DuplicateBecomesTheCurrentSprite)
{
    draw(QStringLiteral("A"), 2, {0});
    // From the name box, which keeps the keyboard while drawing.
    ASSERT_EQ(QApplication::focusWidget(), &nameBox());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(nameBox().currentText(), QStringLiteral("A_copy"));
    EXPECT_EQ(colour(0), Cell::DarkGrey);
    EXPECT_EQ(text(), declarations("A", kZero, {1, 0, 0, 0, 0, 0, 0, 0})
                          + declarations("A_copy", kZero, {1, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(action("undoAction").text(), QStringLiteral("&Undo Duplicate Sprite"));
}

TEST_F(EditCommands, CopyPutsTheImageAndTheDeclarationsOnTheClipboard)
{
    draw(QStringLiteral("A"), 1, {cellAt(0, 0)});
    pickColour(3);
    press(cellAt(0, 1));
    QTest::keyClick(&focusGrid(), Qt::Key_C, Qt::ControlModifier);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->text().toStdString(),
              declarations("A", {0xC0, 0, 0, 0, 0, 0, 0, 0}, {0x40, 0, 0, 0, 0, 0, 0, 0}).substr(1) + "\n");
    ASSERT_TRUE(data->hasImage());
    const QImage image = qvariant_cast<QImage>(data->imageData());
    EXPECT_EQ(image.size(), QSize(8, 8));
    EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, 0x808080u);
    EXPECT_EQ(image.pixel(1, 0) & 0xFFFFFF, 0x000000u);
    EXPECT_EQ(image.pixel(2, 0) & 0xFFFFFF, 0xFFFFFFu);

    // In the name box the keys act on its text.
    nameBox().setFocus();
    QTest::keyClick(&nameBox(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&nameBox(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("A"));
}

TEST_F(EditCommands, PasteAnImageFromTheGrid)
{
    draw(QStringLiteral("P"), 3, {cellAt(5, 5)});
    QImage image(16, 12, QImage::Format_ARGB32);
    image.fill(Qt::black); // beyond the top-left 8 x 8: left out
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            image.setPixel(x, y, 0xFFFFFFFF);
    image.setPixel(0, 0, 0xFF000000);
    image.setPixel(1, 0, 0xFF7A7A7A);
    image.setPixel(2, 0, 0xFF454545);
    image.setPixel(3, 0, 0x00000000); // transparent: white
    QGuiApplication::clipboard()->setImage(image);
    QTest::keyClick(&focusGrid(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(at(0, 0), Cell::Black);
    EXPECT_EQ(at(0, 1), Cell::Grey);
    EXPECT_EQ(at(0, 2), Cell::DarkGrey);
    EXPECT_EQ(at(0, 3), Cell::White);
    EXPECT_EQ(at(5, 5), Cell::White);
    EXPECT_EQ(text(), declarations("P", {0xC0, 0, 0, 0, 0, 0, 0, 0}, {0xA0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(action("undoAction").text(), QStringLiteral("&Undo Paste Sprite"));
    EXPECT_EQ(window->statusBar()->currentMessage(),
              QStringLiteral("3 pixels were not one of the four greys and took the nearest one."));
}

TEST_F(EditCommands, PasteTextFromTheSpritesWindowAndRefuseAnythingElse)
{
    draw(QStringLiteral("P"), 3, {cellAt(5, 5)});
    QGuiApplication::clipboard()->setText(
        QStringLiteral("// from elsewhere\n"
                       "const uint8_t ship_light[8] PROGMEM = {\n"
                       "  0b10000000, 0, 0, 0, 0, 0, 0, 0 };\n"
                       "const uint8_t ship_dark[8] PROGMEM = { 0x81, 0, 0, 0, 0, 0, 0, 0 };\n"));
    window->sheet()->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(at(0, 0), Cell::Black);
    EXPECT_EQ(at(0, 7), Cell::DarkGrey);
    EXPECT_EQ(at(5, 5), Cell::White);
    EXPECT_EQ(text(), declarations("P", {0x80, 0, 0, 0, 0, 0, 0, 0}, {0x81, 0, 0, 0, 0, 0, 0, 0}));

    const std::string before = text();
    QGuiApplication::clipboard()->setText(QStringLiteral("int x;"));
    action("pasteSpriteAction").trigger();
    QMessageBox* box = message("pasteRefusedMessage");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), QStringLiteral("The clipboard holds no sprite."));
    box->close();
    EXPECT_EQ(text(), before);
    EXPECT_EQ(at(0, 0), Cell::Black);
}

} // namespace
} // namespace bitloom::test
