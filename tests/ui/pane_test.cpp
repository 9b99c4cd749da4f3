#include "uitest.h"

#include "codegen/textedit.h"
#include "ui/frame/declarationhighlighter.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

namespace bitloom::test {
namespace {

// What the pane shows for the UTF-8 text `utf8`: its characters, a
// byte-order mark kept, each carriage return as a zero-width space.
QString shownFor(const std::string& utf8)
{
    QString text = QString::fromUtf8(utf8);
    if (utf8.starts_with("\xEF\xBB\xBF") && !text.startsWith(QChar(0xFEFF)))
        text.prepend(QChar(0xFEFF));
    return text.replace(u'\r', QChar(0x200B));
}

class Pane : public WindowTest {
protected:
    // Block numbers of the lines that carry the band.
    std::vector<int> banded() const
    {
        std::vector<int> lines;
        for (const QTextEdit::ExtraSelection& line : pane().extraSelections())
            lines.push_back(line.cursor.blockNumber());
        return lines;
    }
    // Whether the pane shows these lines whole.
    bool inView(int first, int last) const
    {
        const QScrollBar* bar = pane().verticalScrollBar();
        return first >= bar->value() && last < bar->value() + bar->pageStep();
    }
};

TEST_F(Pane, SelectAllAndCopyGiveTheExactCodeText)
{
    draw(QStringLiteral("Ünïcødé"), 3, {0, 63});
    draw(QStringLiteral("cat🐱"), 2, {9});
    ASSERT_EQ(text(), declarations("Ünïcødé", {0x01, 0, 0, 0, 0, 0, 0, 0x80}, {0x01, 0, 0, 0, 0, 0, 0, 0x80})
                          + declarations("cat🐱", kZero, {0, 0x02, 0, 0, 0, 0, 0, 0}));

    QGuiApplication::clipboard()->setText(QStringLiteral("stale"));
    QTest::mouseClick(pane().viewport(), Qt::LeftButton);
    QTest::keyClick(&pane(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&pane(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), text());

    // The keyboard cannot change the code.
    const std::string code = text();
    QTest::keyClicks(&pane(), QStringLiteral("xy"));
    QTest::keyClick(&pane(), Qt::Key_Delete);
    EXPECT_EQ(text(), code);
    EXPECT_EQ(shown().toStdString(), code);
}

TEST_F(Pane, WholeTextWritesShowExactlyTheTextWritten)
{
    // Each write is shown as the smallest edit; old and new texts that share
    // only part of a multi-byte character must still come out exact.
    const std::pair<const char*, const char*> rewrites[] = {
        {"abc", "abXc"},
        {"aaa", "aaaa"},
        {"abab", "ab"},
        {"x\ny", ""},
        {"é", "ê"},
        {"xä", "xƤ"},
        {"a🐱b", "a🐶b"},
        {"a🐱b", "ab"},
        {"🐱\n0x00};", "🐱\n0x1F};"},
        {"\nÜnïcødé={0}", "\nÜnïcode={0}"},
    };
    for (const auto& [before, after] : rewrites) {
        pane().setText("\nhead");
        pane().setText(before);
        pane().setText(after);
        EXPECT_EQ(text(), after);
        EXPECT_EQ(shown(), QString::fromUtf8(after)) << before << " -> " << after;
    }

    // And many writes through the window, with names beyond ASCII.
    pane().setText("");
    const QString names[] = {QStringLiteral("Ünïcødé"), QStringLiteral("🐱"), QStringLiteral("A"),
                             QStringLiteral("ÄÖÜ🐶x")};
    for (int round = 0; round < 12; ++round) {
        draw(names[round % 4], round % 4, {(round * 7) % 64});
        press((round * 11) % 64, Qt::MiddleButton);
        ASSERT_EQ(shown(), QString::fromStdString(text())) << "round " << round;
    }
    EXPECT_EQ(nameBox().count(), 4);

    // What the pane draws after all these edits is what a pane given the
    // whole text in one write draws.
    CodeView fresh;
    fresh.resize(pane().size());
    fresh.setText(text());
    fresh.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&fresh));
    QCoreApplication::sendPostedEvents();
    const auto image = [](QWidget& w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); };
    EXPECT_EQ(image(pane()), image(fresh));
}

TEST_F(Pane, FullTableRefusesTheNextNameWithAMessage)
{
    for (int i = 0; i < kSpriteTableSize; ++i)
        draw(QStringLiteral("s%1").arg(i), i % 4, {i % 64});
    ASSERT_EQ(nameBox().count(), kSpriteTableSize);
    const std::string code = text();
    const auto table = tableSnapshot(editor());
    ASSERT_EQ(table[100].first, "s100");

    draw(QStringLiteral("extra"), 3, {5});
    QPointer<QMessageBox> box = window->findChild<QMessageBox*>(QStringLiteral("refusalMessage"));
    ASSERT_FALSE(box.isNull());
    ASSERT_TRUE(QTest::qWaitFor([&] { return box->isVisible(); }));
    EXPECT_EQ(window->findChildren<QMessageBox*>().size(), 1);
    const QPoint offCentre = box->frameGeometry().center() - window->frameGeometry().center();
    EXPECT_LE(offCentre.manhattanLength(), 2) << "the message opens centred on the main window";
    EXPECT_TRUE(box->text().contains(QStringLiteral("full"))) << box->text().toStdString();
    EXPECT_TRUE(box->text().contains(QStringLiteral("\"extra\"")));
    EXPECT_EQ(text(), code);
    EXPECT_EQ(shown().toStdString(), code);
    EXPECT_EQ(nameBox().count(), kSpriteTableSize);
    EXPECT_EQ(tableSnapshot(editor()), table);

    QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return box.isNull(); }));

    // Known names still draw.
    draw(QStringLiteral("s7"), 3, {7});
    EXPECT_TRUE(window->findChildren<QMessageBox*>().isEmpty());
    EXPECT_NE(text().find("\nstatic unsigned char s7light[]={0x80,"), std::string::npos);
}

TEST_F(Pane, CurrentSpriteIsBandedAndKeptInView)
{
    // The name box tells the pane the current name, as the editor does.
    QObject::connect(&nameBox(), &QComboBox::currentTextChanged, &pane(),
                     [this](const QString& name) { pane().setCurrentName(name.toStdString()); });
    // Line 0 is empty; sprite i owns lines 2i + 1 and 2i + 2.
    const int sprites = 60;
    for (int i = 0; i < sprites; ++i) {
        draw(QStringLiteral("s%1").arg(i), 1 + i % 3, {i % 64});
        ASSERT_EQ(banded(), (std::vector<int>{2 * i + 1, 2 * i + 2})) << "sprite " << i;
        ASSERT_TRUE(inView(2 * i + 1, 2 * i + 2)) << "sprite " << i;
    }
    QScrollBar* bar = pane().verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0) << "the pane must be too short for all lines";
    ASSERT_GT(bar->pageStep(), 4);

    // Typing a name moves the band but not the view; a press scrolls just
    // far enough, here up to the sprite's light line.
    const int bottom = bar->value();
    typeName(QStringLiteral("s3"));
    EXPECT_EQ(banded(), (std::vector<int>{7, 8}));
    EXPECT_EQ(bar->value(), bottom);
    press(30);
    EXPECT_EQ(bar->value(), 7);
    // Lines already in view: no scrolling.
    bar->setValue(2);
    press(31);
    EXPECT_EQ(bar->value(), 2);
    // Below the view: scrolled until the dark line is the last one shown.
    typeName(QStringLiteral("s40"));
    press(32);
    EXPECT_EQ(bar->value(), 82 - bar->pageStep() + 1);
    typeName(QStringLiteral("nothing yet"));
    EXPECT_TRUE(banded().empty());

    // A selection of the whole text does not take in lines appended later.
    pane().setFocus();
    QTest::keyClick(&pane(), Qt::Key_A, Qt::ControlModifier);
    const QString all = pane().textCursor().selectedText();
    press(33);
    EXPECT_EQ(banded(), (std::vector<int>{2 * sprites + 1, 2 * sprites + 2}));
    EXPECT_TRUE(inView(2 * sprites + 1, 2 * sprites + 2));
    EXPECT_EQ(pane().textCursor().selectedText(), all);
}

TEST_F(Pane, EditsShowExactlyTheEditedText)
{
    struct Case {
        const char* before;
        TextEdit edit;
        const char* after;
    };
    // Byte offsets after multi-byte characters and CRLF line ends, edits
    // that cut a character in two but leave whole ones (the pane must still
    // be given whole ones), and a byte-order mark that stays.
    const Case cases[] = {
        {"Ünï\ncat🐱\n", {13, 0, "x"}, "Ünï\ncat🐱x\n"},
        {"Ünï\ncat🐱\n", {6, 1, "C"}, "Ünï\nCat🐱\n"},
        {"a\r\nb\r\nc", {3, 1, "B"}, "a\r\nB\r\nc"},
        {"a\r\nb\r\nc", {1, 2, ""}, "ab\r\nc"},
        {"a\r\nb", {2, 0, "\r\nx"}, "a\r\r\nx\nb"},
        {"xéy", {2, 1, "\xAA"}, "xêy"},
        {"xéy", {1, 2, "🐱"}, "x🐱y"},
        {"x🐱y", {4, 1, "\xB6"}, "x🐶y"},
        {"aé", {2, 1, "\xA9\xC3\xA9"}, "aéé"},
        {"\xEF\xBB\xBF"
         "ab",
         {3, 0, "\r\n"},
         "\xEF\xBB\xBF\r\nab"},
        {"\xEF\xBB\xBF"
         "ab",
         {0, 3, ""},
         "ab"},
        {"ab",
         {0, 0, "\xEF\xBB\xBF"},
         "\xEF\xBB\xBF"
         "ab"},
        {"abc", {3, 0, "\n"}, "abc\n"},
    };
    for (const Case& c : cases) {
        pane().setText(c.before);
        pane().applyEdit(c.edit);
        EXPECT_EQ(text(), c.after) << c.before;
        EXPECT_EQ(shown(), shownFor(c.after)) << c.before;
        // Positions after the edit still meet: the next edit lands right.
        pane().applyEdit({text().size(), 0, "!"});
        EXPECT_EQ(shown(), shownFor(std::string(c.after) + "!")) << c.before;
    }

    // An edit beyond the end is refused and changes nothing.
    pane().setText("abc");
    pane().applyEdit({2, 5, "x"});
    pane().applyEdit({4, 0, "x"});
    EXPECT_EQ(text(), "abc");
    EXPECT_EQ(shown(), QStringLiteral("abc"));

    // Copying after edits gives the exact characters.
    pane().setText("\xEF\xBB\xBFÜ\r\n");
    pane().applyEdit({5, 2, "\r\n🐱 a\r\n"});
    pane().setFocus();
    QTest::keyClick(&pane(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&pane(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toUtf8().toStdString(), "\xEF\xBB\xBFÜ\r\n🐱 a\r\n");
}

TEST_F(Pane, AnEditBandsAndScrollsAsAWriteDoes)
{
    // Line 0 is empty; sprite i owns lines 2i + 1 and 2i + 2.
    std::string code;
    for (int i = 0; i < 80; ++i)
        code += declarations(std::string("s").append(std::to_string(i)), kZero, kZero);
    pane().setText(code);
    pane().setCurrentName("s70");
    EXPECT_EQ(banded(), (std::vector<int>{141, 142}));
    QScrollBar* bar = pane().verticalScrollBar();
    bar->setValue(0);

    // Rewrite the first byte of s70's light initialiser.
    const std::string light = "static unsigned char s70light[]={0x00";
    const std::size_t at = text().find(light) + light.size() - 2;
    pane().applyEdit({at, 2, "7F"});
    EXPECT_NE(text().find("s70light[]={0x7F,"), std::string::npos);
    EXPECT_EQ(banded(), (std::vector<int>{141, 142}));
    EXPECT_TRUE(inView(141, 142));

    // Lines appended stay outside a selection of the whole text.
    pane().setFocus();
    QTest::keyClick(&pane(), Qt::Key_A, Qt::ControlModifier);
    const QString all = pane().textCursor().selectedText();
    pane().applyEdit({text().size(), 0, declarations("s80", kZero, kZero)});
    EXPECT_EQ(pane().textCursor().selectedText(), all);
    EXPECT_EQ(shown(), shownFor(text()));
}

TEST_F(Pane, DeclarationsAreColouredWhereTheirCharactersStand)
{
    DeclarationHighlighter& highlighter = *pane().findChild<DeclarationHighlighter*>();
    const auto ranges = [&](const QString& line) {
        std::vector<std::pair<int, int>> found;
        for (const QTextLayout::FormatRange& range : highlighter.formats(line))
            found.emplace_back(range.start, range.length);
        return found;
    };
    // "static unsigned char " is 21 characters; the name "Ünï🐱" takes five
    // UTF-16 units (the cat is a surrogate pair), "light" five more. The type
    // words are one range, and so are "[]={" and "};"; each number is one,
    // and the commas between them stay plain.
    EXPECT_EQ(ranges(QStringLiteral("static unsigned char Ünï🐱light[]={0x01,0xfF,0,0,0,0,0,0};")),
              (std::vector<std::pair<int, int>>{{0, 20},
                                                {31, 4},
                                                {35, 4},
                                                {40, 4},
                                                {45, 1},
                                                {47, 1},
                                                {49, 1},
                                                {51, 1},
                                                {53, 1},
                                                {55, 1},
                                                {56, 2}}));
    // Every byte array is coloured, sprite plane or not; other lines are not.
    EXPECT_FALSE(ranges(QStringLiteral("static unsigned char x[]={0x01};")).empty());
    EXPECT_TRUE(ranges(QStringLiteral("static unsigned char x[4];")).empty());
    EXPECT_FALSE(ranges(QStringLiteral("  static unsigned char xlight[]={1,2,3,4,5,6,7,8};")).empty())
        << "an indented declaration is one too";
    EXPECT_TRUE(ranges(QStringLiteral("ab")).empty());
}

TEST_F(Pane, LinesOfALargeTextAreColouredWhenShown)
{
    // Far more lines than are coloured at once, with a declaration at the
    // end: it is coloured once it is scrolled into view, and a line that
    // stops being a declaration loses its colours.
    std::string code(DeclarationHighlighter::kEagerLines * 4, '\n');
    code += "static unsigned char zlight[]={0x01};";
    pane().setText(code);
    const QTextBlock last = pane().document()->lastBlock();
    EXPECT_TRUE(last.layout()->formats().isEmpty()) << "coloured before it was shown";

    pane().verticalScrollBar()->setValue(pane().verticalScrollBar()->maximum());
    pane().viewport()->repaint();
    EXPECT_FALSE(last.layout()->formats().isEmpty());

    const std::size_t at = code.size() - std::string("static unsigned char zlight[]={0x01};").size();
    pane().applyEdit({at, 1, "S"});
    pane().viewport()->repaint();
    EXPECT_TRUE(pane().document()->lastBlock().layout()->formats().isEmpty());
    pane().applyEdit({at, 1, "s"});
    EXPECT_FALSE(pane().document()->lastBlock().layout()->formats().isEmpty());
}

TEST_F(Pane, ALongTextArrivesAPartAtATimeAndEndsUpExact)
{
    // Where line `n` of `text` begins.
    const auto lineStart = [](const std::string& text, int n) {
        std::size_t at = 0;
        for (int i = 0; i < n; ++i)
            at = text.find('\n', at) + 1;
        return at;
    };
    // Lines with multi-byte characters and CRLF ends, then one sprite.
    std::string code;
    for (int i = 0; i < 3 * CodeView::kLinesAtOnce + 10; ++i)
        code += i % 2 ? "é\r\n" : "🐱\n";
    code += declarations("last", kZero, kZero);
    pane().setCurrentName("last");
    pane().setText(code);
    ASSERT_FALSE(pane().showsWholeText());
    EXPECT_EQ(shown(), shownFor(code.substr(0, lineStart(code, CodeView::kLinesAtOnce))));

    // Copying all while lines are still arriving copies the whole text.
    pane().setFocus();
    QTest::keyClick(&pane(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&pane(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toUtf8().toStdString(), code);

    // Edits in the shown part, in the part to come, and across the end of
    // the shown part.
    pane().applyEdit({0, 4, "x"});
    pane().applyEdit({text().find("lastlight[]={0x00") + 15, 2, "7F"});
    const std::size_t from = lineStart(text(), CodeView::kLinesAtOnce - 2);
    pane().applyEdit({from, lineStart(text(), CodeView::kLinesAtOnce + 3) - from, "ü\r\n"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return pane().showsWholeText(); }, 20000));
    EXPECT_EQ(shown(), shownFor(text()));
    EXPECT_EQ(text().substr(0, 2), "x\n");
    EXPECT_NE(text().find("lastlight[]={0x7F,"), std::string::npos);

    // The sprite's lines are banded and scrolled into view once shown.
    const int light = pane().document()->blockCount() - 2;
    EXPECT_EQ(banded(), (std::vector<int>{light, light + 1}));
    EXPECT_TRUE(inView(light, light + 1));

    // A short text written while a long one arrives replaces it whole.
    pane().setText(code);
    pane().setText("short\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return pane().showsWholeText(); }, 20000));
    EXPECT_EQ(shown(), shownFor("short\r\n"));
    EXPECT_TRUE(banded().empty());
    EXPECT_EQ(pane().verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
}

// Declarations in other shapes are banded on every line they span and
// coloured on each of those lines; foreign lines stay plain.
TEST(PaneDeclarations, BodiesOverSeveralLinesAreBandedAndColoured)
{
    CodeView view;
    view.setText("\xEF\xBB\xBF#pragma once\r\n"                                   // 0
                 "const uint8_t heart_light[] PROGMEM = {\r\n"                    // 1
                 "    0x66, 0xff, /* row 2 */ 0xff, 0xff,\r\n"                    // 2
                 "    0x7e, 0x3c, 0x18, 0x00 // last rows\r\n"                    // 3
                 "};\r\n"                                                         // 4
                 "int x = {0x12}; // not a sprite\r\n"                            // 5
                 "static uint8_t heart_dark[8] = {0, 64, 64, 0, 0, 0, 0, 0};\r\n" // 6
                 "static unsigned char gem_light[8]={0x01,\r\n"                   // 7: unreadable
                 "0x2g};\r\n");                                                   // 8
    view.setCurrentName("heart_");
    std::vector<int> banded;
    for (const QTextEdit::ExtraSelection& line : view.extraSelections())
        banded.push_back(line.cursor.blockNumber());
    EXPECT_EQ(banded, (std::vector<int>{1, 2, 3, 4, 6}));
    view.setCurrentName("gem_");
    ASSERT_EQ(view.extraSelections().size(), 1);
    EXPECT_EQ(view.extraSelections().front().cursor.blockNumber(), 7);

    QCoreApplication::processEvents(); // the first highlighting is queued
    // The colour of the character at `column` of line `line`, or none.
    const auto colourAt = [&](int line, int column) -> QColor {
        const QTextBlock block = view.document()->findBlockByNumber(line);
        for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
            if (column >= range.start && column < range.start + range.length)
                return range.format.foreground().color();
        }
        return {};
    };
    const QColor number = colourAt(6, 32); // the "0" of heart_dark
    ASSERT_TRUE(number.isValid());
    EXPECT_EQ(colourAt(2, 4), number);
    EXPECT_EQ(colourAt(3, 22), number);
    EXPECT_TRUE(colourAt(2, 16).isValid()) << "the comment in the body";
    EXPECT_NE(colourAt(2, 16), number);
    EXPECT_TRUE(colourAt(4, 0).isValid()) << "the closing brace";
    EXPECT_TRUE(colourAt(1, 0).isValid()) << "const";
    EXPECT_TRUE(view.document()->findBlockByNumber(5).layout()->formats().isEmpty());
    EXPECT_TRUE(view.document()->findBlockByNumber(0).layout()->formats().isEmpty());
    // An unreadable declaration: its head only.
    EXPECT_TRUE(colourAt(7, 0).isValid());
    EXPECT_FALSE(colourAt(7, 35).isValid()); // its first number
    EXPECT_TRUE(view.document()->findBlockByNumber(8).layout()->formats().isEmpty());

    // A body line that changes is coloured as it now reads.
    std::string edited = view.text();
    edited.replace(edited.find("0x18"), 4, "  0x99");
    view.setText(edited);
    EXPECT_FALSE(colourAt(3, 16).isValid());
    EXPECT_EQ(colourAt(3, 18), number);
    edited.replace(edited.find("0x66"), 4, "0x066");
    view.setText(edited);
    EXPECT_EQ(colourAt(2, 8), number);
    EXPECT_EQ(colourAt(3, 18), number);
    // A body that no longer reads leaves its lines plain.
    edited.replace(edited.find("0x7e"), 4, "0x7g");
    view.setText(edited);
    QCoreApplication::processEvents(); // the lines above are highlighted after the pass
    EXPECT_FALSE(colourAt(2, 4).isValid());
    EXPECT_FALSE(colourAt(3, 18).isValid());
    EXPECT_TRUE(colourAt(1, 0).isValid()) << "the head stays coloured";

    // A declaration on the first line, after a byte-order mark.
    view.setText("\xEF\xBB\xBFstatic unsigned char Alight[]={1,2,3,4,5,6,7,8};");
    QCoreApplication::processEvents();
    EXPECT_TRUE(colourAt(0, 1).isValid()) << "static";
    EXPECT_EQ(colourAt(0, 32), number) << "the first number";
}

} // namespace
} // namespace bitloom::test
