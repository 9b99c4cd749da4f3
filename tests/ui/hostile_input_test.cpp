// Names as people type or paste them: whatever they hold, each is written
// into its declarations unchanged and never disturbs another sprite's lines.
#include "uitest.h"

#include <QClipboard>
#include <QGuiApplication>

namespace bitloom::test {
namespace {

class HostileInput : public WindowTest {
protected:
    // Replaces the name box's text with a paste of `text`.
    void pasteName(const QString& text)
    {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(&nameBox(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(&nameBox(), Qt::Key_V, Qt::ControlModifier);
    }
    std::string copied()
    {
        pane().setFocus();
        QTest::keyClick(&pane(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(&pane(), Qt::Key_C, Qt::ControlModifier);
        return QGuiApplication::clipboard()->text().toStdString();
    }
};

TEST_F(HostileInput, OddNamesAreWrittenUnchangedAndKeptApart)
{
    const QString names[] = {
        QString(10000, u'x'),
        QStringLiteral("Ünïcødé"),
        QStringLiteral("e\u0301\u0327"),            // combining marks
        QStringLiteral("\U0001F431\U0001F3A8"),     // emoji
        QStringLiteral("\u05E9\u05DC\u05D5\u05DD"), // right-to-left
        QStringLiteral("tab\there \"quoted\" {brace} */ end"),
        QStringLiteral("no\u00A0break"),
        QStringLiteral("lightdark"),
        QStringLiteral("Spritelight"),
        QStringLiteral("Sprite"),
        QStringLiteral("sprite"),
        QStringLiteral("Sprite "),
        QStringLiteral("Alight[]={x"),
        QStringLiteral("A"),
    };
    std::string expected;
    int cell = 0;
    pickColour(1);
    for (const QString& name : names) {
        pasteName(name);
        ASSERT_EQ(nameBox().currentText(), name);
        press(cell);
        Bytes light{};
        light[std::size_t(rowOf(cell))] = 1 << (cell % 8);
        expected += declarations(name.toStdString(), light, kZero);
        // Compared whole, but reported briefly: one name is 10,000 characters.
        ASSERT_TRUE(text() == expected) << "after " << name.left(40).toStdString();
        cell = (cell + 9) % 64;
    }
    // The document shows every character (its plain-text view would turn the
    // no-break space into a space; the raw text keeps it).
    QString raw = pane().document()->toRawText();
    raw.replace(QChar::ParagraphSeparator, u'\n');
    EXPECT_TRUE(raw == QString::fromStdString(expected));
    EXPECT_TRUE(copied() == expected) << "the copy holds the exact characters";
}

TEST_F(HostileInput, PastedLineBreaksKeepOnlyTheFirstLine)
{
    const QString breaks[] = {QStringLiteral("\r\n"), QStringLiteral("\r"), QStringLiteral("\u2029"),
                              QStringLiteral("\u2028"), QStringLiteral("\n\n")};
    for (const QString& lineBreak : breaks) {
        // Pasted between "ab" and "c": the first pasted line stays, the rest
        // of the paste goes, and the text after the cursor is kept.
        typeName(QStringLiteral("abc"));
        QTest::keyClick(&nameBox(), Qt::Key_Left);
        QGuiApplication::clipboard()->setText(QStringLiteral("X") + lineBreak + QStringLiteral("Y"));
        QTest::keyClick(&nameBox(), Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(nameBox().currentText(), QStringLiteral("abXc"));
    }
    pickColour(1);
    press(0);
    EXPECT_EQ(text(), declarations("abXc", {0x01, 0, 0, 0, 0, 0, 0, 0}, kZero));
    const std::string code = text();
    EXPECT_EQ(std::count(code.begin(), code.end(), '\n'), 2);
}

} // namespace
} // namespace bitloom::test
