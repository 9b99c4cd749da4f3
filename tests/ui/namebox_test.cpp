#include "uitest.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTest>

namespace bitloom::test {
namespace {

class NameBoxTest : public WindowTest {
protected:
    // Whether the grid shows exactly these cells in these colours, the rest white.
    bool shows(std::initializer_list<std::pair<int, int>> painted) const
    {
        Grid expected;
        expected.fill(kPalette[0]);
        for (const auto& [cell, code] : painted)
            expected[std::size_t(cell)] = kPalette[std::size_t(code)];
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

} // namespace
} // namespace bitloom::test
