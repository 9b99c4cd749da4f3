// Drawing without a mouse. Keys go to the widget that has the keyboard
// focus, as the platform sends them.
#include "uitest.h"

#include "ui/twips.h"

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>

namespace bitloom::test {
namespace {

class Keyboard : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        ASSERT_TRUE(nameBoxHasFocus());
    }

    static void keys(std::initializer_list<int> sequence, Qt::KeyboardModifiers modifiers = {})
    {
        for (int k : sequence)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(k), modifiers);
    }
    bool nameBoxHasFocus() const { return nameBox().lineEdit()->hasFocus(); }
    QWidget* focusCellWidget() const { return editor().cell(editor().focusCell()); }
    // The pop-up's top-left corner when opened from the centre of `cell`.
    static QPoint centreOf(int cell)
    {
        const layout::Rect at = layout::cellRect(cell);
        const float half = layout::kCellSize / 2.0f;
        return {twips::toPixels(int(float(at.left) + half)), twips::toPixels(int(float(at.top) + half))};
    }
};

TEST_F(Keyboard, TabReachesTheGridWhoseFocusCellArrowsMoveUpToTheEdges)
{
    // Clicks leave the keyboard with the name box.
    press(20);
    pickColour(2);
    EXPECT_TRUE(nameBoxHasFocus());

    keys({Qt::Key_Tab});
    EXPECT_EQ(QApplication::focusWidget(), editor().cell(cellAt(0, 0))) << "starts at row 1, column 1";
    keys({Qt::Key_Tab});
    EXPECT_TRUE(nameBoxHasFocus());
    keys({Qt::Key_Backtab}, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), editor().cell(cellAt(0, 0)));

    const struct {
        int key, repeat, row, column;
    } moves[] = {{Qt::Key_Left, 1, 0, 0}, {Qt::Key_Up, 1, 0, 0},   {Qt::Key_Right, 9, 0, 7},
                 {Qt::Key_Down, 9, 7, 7}, {Qt::Key_Left, 9, 7, 0}, {Qt::Key_Up, 3, 4, 0},
                 {Qt::Key_Right, 2, 4, 2}};
    for (const auto& m : moves) {
        for (int i = 0; i < m.repeat; ++i)
            keys({m.key});
        EXPECT_EQ(QApplication::focusWidget(), editor().cell(cellAt(m.row, m.column)))
            << "row " << m.row << ", column " << m.column;
    }
    // The grid stays one Tab stop, wherever its focus cell is.
    keys({Qt::Key_Tab});
    EXPECT_TRUE(nameBoxHasFocus());
    keys({Qt::Key_Tab});
    EXPECT_EQ(QApplication::focusWidget(), editor().cell(cellAt(4, 2)));
    press(30);
    EXPECT_EQ(QApplication::focusWidget(), editor().cell(cellAt(4, 2)));
    // Moving paints nothing without the brush.
    EXPECT_EQ(colour(cellAt(4, 1)), Cell::Unpainted);
}

TEST_F(Keyboard, SpaceAndReturnPressAsTheLeftButtonDoes)
{
    typeName(QStringLiteral("Key"));
    keys({Qt::Key_Tab, Qt::Key_4, Qt::Key_Space, Qt::Key_Down, Qt::Key_Right, Qt::Key_2, Qt::Key_Return,
          Qt::Key_Down});
    keys({Qt::Key_Enter}, Qt::KeypadModifier);
    const std::string keyed = text();
    EXPECT_EQ(keyed, declarations("Key", {0x80, 0x40, 0x40, 0, 0, 0, 0, 0}, {0x80, 0, 0, 0, 0, 0, 0, 0}));

    // The mouse draws the same, to the byte.
    for (int i = 0; i < 3; ++i)
        editor().document().undo();
    ASSERT_EQ(colour(cellAt(0, 0)), Cell::White) << "as typing the name left it";
    pickColour(3);
    press(cellAt(0, 0));
    pickColour(1);
    press(cellAt(1, 1));
    press(cellAt(2, 1));
    EXPECT_EQ(text(), keyed);

    // A held key presses once: its repeats paint nothing.
    keys({Qt::Key_1});
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
    QApplication::sendEvent(focusCellWidget(), &repeat);
    EXPECT_EQ(colour(cellAt(2, 1)), Cell::Grey);
}

TEST_F(Keyboard, ContextKeyAndShiftF10OpenThePopUpAtTheCellCentre)
{
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
    } openers[] = {{Qt::Key_Menu, {}}, {Qt::Key_F10, Qt::ShiftModifier}};
    for (const auto& o : openers) {
        keys({Qt::Key_Tab, Qt::Key_Down, Qt::Key_Down, Qt::Key_Right});
        const int cell = editor().focusCell();
        keys({o.key}, o.modifiers);
        ASSERT_TRUE(toolPopup().isVisible());
        EXPECT_EQ(toolPopup().pos(), centreOf(cell));

        // Presses are ignored while it is shown, from keys as from buttons.
        const std::string before = text();
        keys({Qt::Key_Space, Qt::Key_Up, Qt::Key_Return, Qt::Key_Menu});
        EXPECT_EQ(colour(editor().focusCell()), Cell::Unpainted);
        EXPECT_EQ(text(), before);
        EXPECT_EQ(toolPopup().pos(), centreOf(cell));

        // P chooses the pen as clicking it does, which closes the pop-up.
        keys({Qt::Key_P, Qt::Key_Tab});
        EXPECT_FALSE(toolPopup().isVisible());
        EXPECT_EQ(tool(), Tool::Pen);
    }
    // The right presses regenerated, as the button's do.
    EXPECT_EQ(text(), declarations("Sprite", kZero, kZero));
}

TEST_F(Keyboard, DigitsAndLettersChooseInTheGridAndTypeInTheNameBox)
{
    keys({Qt::Key_Tab});
    const struct {
        int key, colour, markerTop;
    } colours[] = {{Qt::Key_3, 2, 1360}, {Qt::Key_1, 0, 360}, {Qt::Key_4, 3, 1860}, {Qt::Key_2, 1, 860}};
    for (const auto& c : colours) {
        keys({c.key});
        EXPECT_EQ(editor().document().colour(), shadeOfCode(c.colour));
        EXPECT_EQ(editor().markerTop(), c.markerTop);
    }
    keys({Qt::Key_B});
    EXPECT_EQ(tool(), Tool::Brush);
    keys({Qt::Key_P});
    EXPECT_EQ(tool(), Tool::Pen);
    // With Ctrl or Alt they are left to shortcuts.
    keys({Qt::Key_B}, Qt::ControlModifier);
    keys({Qt::Key_4}, Qt::AltModifier);
    EXPECT_EQ(tool(), Tool::Pen);
    EXPECT_EQ(editor().document().colour(), Cell::Grey);

    keys({Qt::Key_Tab});
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("4bP1"));
    EXPECT_EQ(nameBox().currentText(), QStringLiteral("4bP1")) << "Tab selected the name";
    EXPECT_EQ(tool(), Tool::Pen);
    EXPECT_EQ(editor().document().colour(), Cell::Grey);
}

TEST_F(Keyboard, TheBrushPaintsTheCellsTheFocusMovesOnto)
{
    press(0); // the code text holds the sprite
    const std::string before = text();
    // At the top-left corner up and left are no moves; then right, right,
    // down, right, up.
    keys({Qt::Key_Tab, Qt::Key_4, Qt::Key_B, Qt::Key_Up, Qt::Key_Left, Qt::Key_Right, Qt::Key_Right,
          Qt::Key_Down, Qt::Key_Right, Qt::Key_Up});
    // .###....   the start cell is not painted: nothing moved onto it
    // ..##....
    EXPECT_EQ(colour(cellAt(0, 0)), Cell::Unpainted);
    for (int cell : {cellAt(0, 1), cellAt(0, 2), cellAt(1, 2), cellAt(1, 3), cellAt(0, 3)})
        EXPECT_EQ(colour(cell), Cell::Black) << "cell " << cell;
    EXPECT_EQ(text(), before) << "brushing does not regenerate";

    // A cell under the open pop-up is out of the brush's reach, as it is
    // out of the pointer's.
    keys({Qt::Key_Left, Qt::Key_Left, Qt::Key_Left, Qt::Key_Menu, Qt::Key_Down, Qt::Key_Right});
    EXPECT_EQ(colour(cellAt(1, 0)), Cell::Unpainted);
    EXPECT_EQ(colour(cellAt(1, 1)), Cell::Unpainted);
    keys({Qt::Key_B, Qt::Key_Space});
    const Bytes painted{0xF0, 0x70, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(text(), declarations("Sprite", painted, painted));
}

TEST_F(Keyboard, ScreenReadersFindTheFocusCellWithItsNameAndShade)
{
    // On a focus change assistive technology asks the window for its focused
    // object and reads its name, value and state.
    const auto focused = [this] {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(window.get())->focusChild();
        return face ? face : QAccessible::queryAccessibleInterface(window.get());
    };
    keys({Qt::Key_Tab});
    QAccessibleInterface* first = focused();
    EXPECT_EQ(first->text(QAccessible::Name), QStringLiteral("Cell, row 1, column 1"));
    EXPECT_EQ(first->text(QAccessible::Value), QStringLiteral("unpainted"));
    EXPECT_TRUE(first->state().focused);

    keys({Qt::Key_4, Qt::Key_Space});
    EXPECT_EQ(focused()->text(QAccessible::Value), QStringLiteral("black"));
    keys({Qt::Key_Right});
    EXPECT_EQ(focused()->text(QAccessible::Name), QStringLiteral("Cell, row 1, column 2"));
    EXPECT_EQ(focused()->text(QAccessible::Value), QStringLiteral("unpainted"));
    EXPECT_FALSE(first->state().focused);
    EXPECT_FALSE(first->state().focusable) << "the grid is one Tab stop";
}

} // namespace
} // namespace bitloom::test
