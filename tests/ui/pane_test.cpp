#include "uitest.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace bitloom::test {
namespace {

using Pane = WindowTest;

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
        {"abc", "abXc"},  {"aaa", "aaaa"},       {"abab", "ab"},  {"x\ny", ""},
        {"é", "ê"},       {"xä", "xƤ"},          {"a🐱b", "a🐶b"}, {"a🐱b", "ab"},
        {"🐱\n0x00};", "🐱\n0x1F};"}, {"\nÜnïcødé={0}", "\nÜnïcode={0}"},
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

} // namespace
} // namespace bitloom::test
