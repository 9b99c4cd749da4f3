#include "uitest.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QSignalSpy>
#include <QStyleOptionViewItem>
#include <QTest>

namespace bitloom::test {
namespace {

class NameBoxTest : public WindowTest {
protected:
    // Whether the grid shows exactly these cells in these colours, the rest white.
    bool shows(std::initializer_list<std::pair<int, int>> painted) const
    {
        Grid expected;
        expected.fill(Cell::White);
        for (const auto& [cell, code] : painted)
            expected[std::size_t(cell)] = shadeOfCode(code);
        return editor().document().grid() == expected;
    }
};

TEST_F(NameBoxTest, TypingRecallsAfterEveryLetter)
{
    // "Sprite" is entry 0, where a choosing recall would fall back to.
    draw(QStringLiteral("Sprite"), 1, {10});
    draw(QStringLiteral("A"), 3, {0});
    draw(QStringLiteral("AB"), 2, {1});
    const std::string code = text();
    QSignalSpy edited(&nameBox(), &SpriteNameBox::nameEdited);
    QSignalSpy chosen(&nameBox(), &SpriteNameBox::nameChosen);

    typeName(QString());
    EXPECT_TRUE(shows({}));
    QTest::keyClick(&nameBox(), 'A');
    EXPECT_TRUE(shows({{0, 3}}));
    QTest::keyClick(&nameBox(), 'B');
    EXPECT_TRUE(shows({{1, 2}}));
    QTest::keyClick(&nameBox(), 'C');
    EXPECT_TRUE(shows({})) << "an unknown name leaves the grid white";
    QTest::keyClick(&nameBox(), Qt::Key_Backspace);
    EXPECT_TRUE(shows({{1, 2}}));
    typeName(QStringLiteral("ab"));
    EXPECT_TRUE(shows({})) << "letter case counts";

    EXPECT_EQ(edited.count(), 7);
    EXPECT_EQ(chosen.count(), 0);
    EXPECT_EQ(text(), code) << "a recall never touches the code text";
    EXPECT_EQ(nameBox().count(), 3);
}

TEST_F(NameBoxTest, ChoosingFromTheListRecallsThatSprite)
{
    draw(QStringLiteral("A"), 3, {0, 1});
    draw(QStringLiteral("B"), 1, {2});
    typeName(QStringLiteral("Zed"));
    ASSERT_TRUE(shows({}));
    const std::string code = text();
    QSignalSpy edited(&nameBox(), &SpriteNameBox::nameEdited);
    QSignalSpy chosen(&nameBox(), &SpriteNameBox::nameChosen);

    chooseName(0);
    EXPECT_EQ(nameBox().currentText(), QStringLiteral("A"));
    EXPECT_TRUE(shows({{0, 3}, {1, 3}}));
    chooseName(1);
    EXPECT_EQ(nameBox().currentText(), QStringLiteral("B"));
    EXPECT_TRUE(shows({{2, 1}}));
    EXPECT_EQ(chosen.count(), 2);
    EXPECT_EQ(edited.count(), 0) << "choosing must not run the typing recall";
    EXPECT_EQ(nameBox().count(), 2);
    EXPECT_EQ(text(), code);

    pickColour(3);
    press(3);
    EXPECT_EQ(text(), declarations("A", {0x03, 0, 0, 0, 0, 0, 0, 0}, {0x03, 0, 0, 0, 0, 0, 0, 0})
                          + declarations("B", {0x0C, 0, 0, 0, 0, 0, 0, 0}, {0x08, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(NameBoxTest, TextIsExactlyWhatTheUserEntered)
{
    QSignalSpy activated(&nameBox(), &QComboBox::activated);
    pickColour(1);
    typeName(QStringLiteral("New"));
    QTest::keyClick(&nameBox(), Qt::Key_Return);
    EXPECT_EQ(nameBox().count(), 0) << "Return adds nothing";
    press(0);
    QTest::keyClick(&nameBox(), Qt::Key_Return);
    EXPECT_EQ(nameBox().count(), 1);
    EXPECT_EQ(activated.count(), 0);

    // Registering keeps the typed text, also after a list item was chosen.
    chooseName(0);
    typeName(QStringLiteral("Next"));
    press(1);
    EXPECT_EQ(nameBox().currentText(), QStringLiteral("Next"));
    EXPECT_EQ(nameBox().itemText(1), QStringLiteral("Next"));

    // A pasted line break ends the name, so a declaration stays on one line.
    QGuiApplication::clipboard()->setText(QStringLiteral("Cat\nDog"));
    QTest::keyClick(&nameBox(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&nameBox(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(nameBox().currentText(), QStringLiteral("Cat"));
    EXPECT_TRUE(shows({})) << "a paste runs the typing recall";
    press(2);
    EXPECT_EQ(text(), declarations("New", {0x01, 0, 0, 0, 0, 0, 0, 0}, kZero)
                          + declarations("Next", {0x02, 0, 0, 0, 0, 0, 0, 0}, kZero)
                          + declarations("Cat", {0x04, 0, 0, 0, 0, 0, 0, 0}, kZero));
}

TEST_F(NameBoxTest, ReturnAndLeavingTheBoxChooseNothing)
{
    // Whenever the editing ends on a listed name other than the combo box's
    // current item, QComboBox picks that item and reports it as activated.
    draw(QStringLiteral("A"), 3, {0});
    draw(QStringLiteral("B"), 3, {1});
    typeName(QStringLiteral("A"));
    chooseTool(brushButton());
    pickColour(2);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QSignalSpy chosen(&nameBox(), &SpriteNameBox::nameChosen);
    const auto brush = [this](std::initializer_list<int> cells) {
        for (int cell : cells)
            hover(*editor().cell(cell));
    };

    typeName(QStringLiteral("B"));
    brush({20, 21, 22});
    ASSERT_TRUE(shows({{1, 3}, {20, 2}, {21, 2}, {22, 2}}));
    QTest::keyClick(&nameBox(), Qt::Key_Return);
    EXPECT_TRUE(shows({{1, 3}, {20, 2}, {21, 2}, {22, 2}})) << "Return recalled B";

    typeName(QStringLiteral("A"));
    brush({40, 41});
    ASSERT_EQ(QApplication::focusWidget(), &nameBox());
    QTest::mouseClick(pane().viewport(), Qt::LeftButton);
    ASSERT_EQ(QApplication::focusWidget(), &pane());
    EXPECT_TRUE(shows({{0, 3}, {40, 2}, {41, 2}})) << "leaving the box recalled A";
    EXPECT_EQ(chosen.count(), 0);
    EXPECT_EQ(nameBox().currentText(), QStringLiteral("A"));

    // Up and Down in the box still choose.
    nameBox().setFocus();
    QTest::keyClick(&nameBox(), Qt::Key_Down);
    EXPECT_EQ(chosen.count(), 1);
    EXPECT_EQ(nameBox().currentText(), QStringLiteral("B"));
    // The brushed cells were kept with each sprite.
    EXPECT_TRUE(shows({{1, 3}, {20, 2}, {21, 2}, {22, 2}}));
    QTest::keyClick(&nameBox(), Qt::Key_Up);
    EXPECT_EQ(chosen.count(), 2);
    EXPECT_TRUE(shows({{0, 3}, {40, 2}, {41, 2}}));
}

TEST_F(NameBoxTest, ListOpensOnTheItemOfTheCurrentName)
{
    for (const char* name : {"A", "B", "C"})
        draw(QString::fromLatin1(name), 1, {0});
    QAbstractItemView* view = nameBox().view();
    QSignalSpy chosen(&nameBox(), &SpriteNameBox::nameChosen);
    const auto open = [&] {
        QTest::keyClick(&nameBox(), Qt::Key_Down, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([view] { return view->isVisible(); }));
        QModelIndexList selected = view->selectionModel()->selectedIndexes();
        nameBox().hidePopup();
        return selected.size() == 1 ? selected.front().row() : -selected.size() - 1;
    };

    typeName(QStringLiteral("B"));
    EXPECT_EQ(open(), 1);
    typeName(QStringLiteral("C"));
    EXPECT_EQ(open(), 2);
    typeName(QStringLiteral("Zed"));
    EXPECT_EQ(open(), -1) << "an unlisted name highlights nothing";
    EXPECT_EQ(nameBox().currentText(), QStringLiteral("Zed"));
    EXPECT_EQ(chosen.count(), 0) << "opening the list chooses nothing";

    chooseName(0);
    EXPECT_EQ(nameBox().currentText(), QStringLiteral("A"));
    EXPECT_EQ(chosen.count(), 1);
}

TEST_F(NameBoxTest, TheListChangingLeavesTheTextAndItsSignalsAlone)
{
    const QRect field = nameBox().lineEdit()->geometry();
    draw(QStringLiteral("A"), 3, {0});
    draw(QStringLiteral("B"), 1, {2});
    chooseName(1); // the box's item is B, whose thumbnail a press changes
    QSignalSpy text(&nameBox(), &QComboBox::currentTextChanged);
    QSignalSpy item(&nameBox(), &QComboBox::currentIndexChanged);
    nameBox().lineEdit()->setCursorPosition(0);
    press(5);
    EXPECT_EQ(nameBox().currentText(), QStringLiteral("B"));
    EXPECT_EQ(nameBox().lineEdit()->cursorPosition(), 0);

    // A new name is listed, then taken back: the typed text stays.
    typeName(QStringLiteral("Zed"));
    nameBox().lineEdit()->setCursorPosition(1);
    text.clear();
    press(6);
    EXPECT_EQ(nameBox().count(), 3);
    EXPECT_EQ(nameBox().lineEdit()->cursorPosition(), 1);
    action("undoAction").trigger();
    EXPECT_EQ(nameBox().count(), 2);
    EXPECT_EQ(nameBox().currentText(), QStringLiteral("Zed"));
    EXPECT_EQ(text.count(), 0);
    EXPECT_EQ(item.count(), 0);

    // Names only: no thumbnail beside the text or in the drop-down.
    EXPECT_EQ(nameBox().lineEdit()->geometry(), field);
    EXPECT_TRUE(nameBox().itemIcon(0).isNull());
    QStyleOptionViewItem option;
    option.initFrom(nameBox().view());
    const QSize listed = nameBox().view()->itemDelegate()->sizeHint(option, nameBox().model()->index(0, 0));
    EXPECT_LT(listed.width(), nameBox().fontMetrics().horizontalAdvance(QStringLiteral("A")) + 14);
}

TEST_F(NameBoxTest, NamesThatAreNoIdentifierAreHintedNotRefused)
{
    const QColor plain = nameBox().palette().color(QPalette::Base);
    const struct {
        QString name;
        const char* why; // null: no hint
    } names[] = {
        {QStringLiteral("_ok9"), nullptr},
        {QStringLiteral("9lives"), "begins with a digit"},
        {QStringLiteral("my sprite"), "contains a space"},
        {QStringLiteral("a-b"), "contains \u201c-\u201d"},
        {QStringLiteral("Ünï"), "contains \u201cÜ\u201d"},
        {QStringLiteral("no\u00A0break"), "contains the character U+00A0"},
        {QStringLiteral("int"), "C keyword"},
        {QStringLiteral("_Static_assert"), "C keyword"},
        {QString(), "empty"},
        {QStringLiteral("Sprite"), nullptr},
    };
    std::string expected;
    pickColour(1);
    for (const auto& [name, why] : names) {
        SCOPED_TRACE(name.toStdString());
        typeName(name);
        EXPECT_EQ(nameBox().hintShown(), why != nullptr);
        const QColor base = nameBox().lineEdit()->palette().color(QPalette::Base);
        if (why) {
            EXPECT_NE(base, plain);
            EXPECT_TRUE(nameBox().toolTip().contains(QString::fromUtf8(why)))
                << nameBox().toolTip().toStdString();
            const bool compiles = name.isEmpty() || name.startsWith(u'i') || name.startsWith(u'_');
            EXPECT_EQ(nameBox().toolTip().contains(QStringLiteral("will not compile")), !compiles);
        } else {
            EXPECT_EQ(base, plain);
            EXPECT_TRUE(nameBox().toolTip().isEmpty());
        }
        // Still allowed, written as it is.
        press(0);
        expected += declarations(name.toStdString(), {0x01, 0, 0, 0, 0, 0, 0, 0}, kZero);
    }
    EXPECT_EQ(text(), expected);
    EXPECT_TRUE(window->findChildren<QMessageBox*>().isEmpty());
}

} // namespace
} // namespace bitloom::test
