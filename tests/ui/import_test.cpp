// Import PNG on the real main window: the names come from the index beside
// a sheet, so an exported sheet comes back onto the sprites it was made
// from, and changing the drawings of existing sprites is asked first.
#include "uitest.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>

#include <deque>
#include <functional>
#include <optional>

namespace bitloom::test {
namespace {

class Import : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        window->session().setFileChooser([this](bool, const QString&, FileSession::FileKind) {
            if (answers.empty())
                return QString();
            const QString answer = answers.front();
            answers.pop_front();
            return answer;
        });
    }

    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    // Runs the menu command `name`, answering the question it asks, if
    // any, with `button`. Returns the question, or nothing when none came.
    std::optional<QString> run(const char* name, QMessageBox::StandardButton button)
    {
        QString asked;
        const auto seen = answering(
            button, [&] { action(name).trigger(); }, &asked);
        if (seen) {
            EXPECT_EQ(asked, QStringLiteral("replacePrompt"));
        }
        return seen;
    }
    void exportSheet(const char* file)
    {
        answers.push_back(path(file));
        action("exportSheetAction").trigger();
        ASSERT_TRUE(QFile::exists(path(file)));
    }
    void importSheet(const char* file, QMessageBox::StandardButton answer,
                     std::optional<QString>* asked = nullptr)
    {
        answers.push_back(path(file));
        const auto question = run("importAction", answer);
        if (asked)
            *asked = question;
    }
    // Paints tile `index` of the sheet `file` all in `rgb`.
    void paintTile(const char* file, int index, QRgb rgb) const
    {
        QImage sheet(path(file));
        ASSERT_FALSE(sheet.isNull());
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                sheet.setPixel((index % 16) * 8 + x, (index / 16) * 8 + y, rgb);
        ASSERT_TRUE(sheet.save(path(file)));
    }
    const Document& document() const { return editor().document(); }

    QTemporaryDir dir;
    std::deque<QString> answers;
};

TEST_F(Import, AnExportedSheetComesBackOntoTheSameSpritesWhenReplacing)
{
    draw(QStringLiteral("coin"), 1, {0});
    draw(QStringLiteral("key"), 2, {1});
    draw(QStringLiteral("ghost"), 3, {2});
    exportSheet("sprites.png");

    // Edited elsewhere: key painted black all over.
    paintTile("sprites.png", 1, qRgb(0, 0, 0));
    const std::string before = text();
    const auto table = tableSnapshot(editor());

    // Cancel changes nothing and leaves no step to undo.
    std::optional<QString> asked;
    importSheet("sprites.png", QMessageBox::Cancel, &asked);
    // Only key's drawing would change.
    EXPECT_EQ(asked, QStringLiteral("Replace 1 existing sprite (key)?"));
    EXPECT_EQ(text(), before);
    EXPECT_EQ(tableSnapshot(editor()), table);
    EXPECT_EQ(document().undoKind(), StepKind::Paint);

    importSheet("sprites.png", QMessageBox::Yes, &asked);
    ASSERT_TRUE(asked);
    // The same sprites, where they stood: only key's bytes changed.
    EXPECT_EQ(document().names(), (std::vector<std::string>{"coin", "key", "ghost"}));
    const Bytes full = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(text(), declarations("coin", {0x01, 0, 0, 0, 0, 0, 0, 0}, kZero)
                          + declarations("key", full, full)
                          + declarations("ghost", {0x04, 0, 0, 0, 0, 0, 0, 0}, {0x04, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(document().undoKind(), StepKind::Import);
    window->document().undo();
    EXPECT_EQ(text(), before);
}

TEST_F(Import, OnlyChangedDrawingsAreAskedAboutAndTheListIsKeptShort)
{
    // Twelve sprites, exported; the index then loses its lines for the
    // first two, which come back under the image's own names.
    for (int i = 0; i < 12; ++i)
        draw(QStringLiteral("s%1").arg(i), 1, {i});
    exportSheet("many.png");
    QFile index(path("many.txt"));
    ASSERT_TRUE(index.open(QIODevice::ReadOnly));
    const QByteArray lines = index.readAll();
    index.close();
    ASSERT_TRUE(index.open(QIODevice::WriteOnly | QIODevice::Truncate));
    index.write(lines.mid(lines.indexOf("2 s2")));
    index.close();

    // s2 to s11 come back as they are: there is nothing to ask.
    std::optional<QString> asked;
    importSheet("many.png", QMessageBox::Cancel, &asked);
    EXPECT_FALSE(asked);
    EXPECT_EQ(document().names().size(), 14u);
    EXPECT_EQ(document().names()[12], "many0");

    // Without the index every tile takes the image's name: many0 and many1
    // get their drawings again, the others are new.
    ASSERT_TRUE(QFile::remove(path("many.txt")));
    importSheet("many.png", QMessageBox::Cancel, &asked);
    EXPECT_FALSE(asked);
    EXPECT_EQ(document().names().size(), 24u);
    // Painted over, all twelve change, and the list is cut.
    for (int i = 0; i < 12; ++i)
        paintTile("many.png", i, qRgb(0, 0, 0));
    importSheet("many.png", QMessageBox::Cancel, &asked);
    EXPECT_EQ(asked,
              QStringLiteral("Replace 12 existing sprites (many0, many1, many2, many3, many4, many5, many6, "
                             "many7, many8, many9, and 2 more)?"));

    // A sheet of new names only is imported without a question.
    window->document().newDocument();
    importSheet("many.png", QMessageBox::Cancel, &asked);
    EXPECT_FALSE(asked);
    EXPECT_EQ(document().names().size(), 12u);

    // One replaced sprite is one.
    window->document().undo();
    draw(QStringLiteral("many3"), 3, {0});
    importSheet("many.png", QMessageBox::Cancel, &asked);
    EXPECT_EQ(asked, QStringLiteral("Replace 1 existing sprite (many3)?"));
}

TEST_F(Import, PixelsThatTookTheNearestGreyAreCounted)
{
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(qRgb(0xFF, 0, 0));
    image.setPixel(0, 0, qRgb(0, 0, 0));
    ASSERT_TRUE(image.save(path("red.png")));
    importSheet("red.png", QMessageBox::Cancel);
    EXPECT_EQ(document().names(), (std::vector<std::string>{"red0"}));
    EXPECT_EQ(window->statusBar()->currentMessage(),
              QStringLiteral("63 pixels were not one of the four greys and took the nearest one."));
}

} // namespace
} // namespace bitloom::test
