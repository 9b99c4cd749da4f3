// What a screen reader hears: names, values and tooltips of the controls a
// person acts on, read through QAccessible as assistive technology reads them.
#include "uitest.h"

#include <QAccessible>
#include <QLineEdit>

namespace bitloom::test {
namespace {

class Accessibility : public WindowTest {
protected:
    static QString read(QObject* object, QAccessible::Text which)
    {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
        return face ? face->text(which) : QStringLiteral("<no interface>");
    }
    static QString name(QObject* object) { return read(object, QAccessible::Name); }
    static QString value(QObject* object) { return read(object, QAccessible::Value); }
};

TEST_F(Accessibility, GridCellsAreNamedAsSeenWithTheirShade)
{
    // Counted from the top-left as a person sees the grid: cell 7 is the
    // top-left one, cell 0 the top-right, cell 56 the bottom-right.
    EXPECT_EQ(name(editor().cell(7)), QStringLiteral("Cell, row 1, column 1"));
    EXPECT_EQ(name(editor().cell(0)), QStringLiteral("Cell, row 1, column 8"));
    EXPECT_EQ(name(editor().cell(56)), QStringLiteral("Cell, row 8, column 8"));
    EXPECT_EQ(value(editor().cell(7)), QStringLiteral("unpainted"));

    const char* const shades[] = {"white", "grey", "dark grey", "black"};
    for (int i = 0; i < 4; ++i) {
        pickColour(i);
        press(7);
        EXPECT_EQ(value(editor().cell(7)), QLatin1String(shades[i]));
    }
    EXPECT_EQ(value(editor().cell(6)), QStringLiteral("unpainted"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(editor().cell(7))->role(), QAccessible::Button);
}

TEST_F(Accessibility, PaletteCellsSayTheirShadeAndWhichIsSelected)
{
    const char* const names[] = {"Colour white", "Colour grey", "Colour dark grey", "Colour black"};
    const char* const tips[] = {"White", "Grey", "Dark grey", "Black"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(name(editor().paletteCell(i)), QLatin1String(names[i]));
        EXPECT_EQ(editor().paletteCell(i)->toolTip(), QLatin1String(tips[i]));
    }
    EXPECT_EQ(value(editor().paletteCell(0)), QStringLiteral("white, selected"));
    pickColour(2);
    EXPECT_EQ(value(editor().paletteCell(0)), QStringLiteral("white"));
    EXPECT_EQ(value(editor().paletteCell(2)), QStringLiteral("dark grey, selected"));
}

TEST_F(Accessibility, ToolsSayWhichOneIsChosen)
{
    EXPECT_EQ(name(&penButton()), QStringLiteral("Pen"));
    EXPECT_EQ(name(&brushButton()), QStringLiteral("Brush"));
    EXPECT_EQ(penButton().toolTip(), QStringLiteral("Pen"));
    EXPECT_EQ(brushButton().toolTip(), QStringLiteral("Brush"));
    EXPECT_EQ(value(&penButton()), QStringLiteral("not chosen"));
    chooseTool(brushButton());
    EXPECT_EQ(value(&brushButton()), QStringLiteral("chosen"));
    EXPECT_EQ(value(&penButton()), QStringLiteral("not chosen"));
    chooseTool(penButton());
    EXPECT_EQ(value(&penButton()), QStringLiteral("chosen"));
    EXPECT_EQ(value(&brushButton()), QStringLiteral("not chosen"));
}

TEST_F(Accessibility, NameBoxAndCodePaneAreNamed)
{
    // The name box is labelled by "Sprite Name:" and its field is named.
    QAccessibleInterface* box = QAccessible::queryAccessibleInterface(&nameBox());
    const auto labels = box->relations(QAccessible::Label);
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels.first().first->text(QAccessible::Name), QStringLiteral("Sprite Name:"));
    EXPECT_EQ(name(nameBox().lineEdit()), QStringLiteral("Sprite name"));
    EXPECT_EQ(name(&pane()), QStringLiteral("Generated C code"));
    press(0);
    // The pane's value is the code text itself.
    EXPECT_EQ(value(&pane()), shown());
}

} // namespace
} // namespace bitloom::test
