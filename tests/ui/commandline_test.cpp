// Starting the window with a file named on the command line: a name that
// does not exist yet becomes the file Save writes, a PNG image starts a new
// sheet with its tiles, an existing code file is opened.
#include "uitest.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QWindow>

namespace bitloom::test {
namespace {

class CommandLineStart : public WindowTest {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    QString title() const { return window->windowHandle()->title(); }
    static QByteArray contents(const QString& file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
    }
    std::optional<QString> message(const char* name) const { return takeMessage(*window, name); }

    QTemporaryDir dir;
};

TEST_F(CommandLineStart, MissingFileStartsAnEmptySheetThatSaveWrites)
{
    const QString file = path(QStringLiteral("new.h"));
    window->session().startWith(file);

    EXPECT_FALSE(QFile::exists(file)) << "nothing is written before Save";
    EXPECT_TRUE(text().empty());
    EXPECT_TRUE(window->document().names().empty());
    EXPECT_TRUE(title().startsWith(QStringLiteral("new.h"))) << title().toStdString();
    EXPECT_FALSE(window->document().modified());

    draw(QStringLiteral("Hero"), 3, {0});
    action("saveAction").trigger();
    EXPECT_EQ(contents(file).toStdString(), text());
    EXPECT_NE(text().find("Herolight"), std::string::npos);
    EXPECT_FALSE(message("saveFailedMessage"));
}

TEST_F(CommandLineStart, PngStartsANewSheetWithTheImageImported)
{
    // Two tiles: the left one black, the right one white.
    QImage image(16, 8, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            image.setPixel(x, y, qRgb(0, 0, 0));
    const QString png = path(QStringLiteral("hero.png"));
    ASSERT_TRUE(image.save(png));
    const QByteArray before = contents(png);

    window->session().startWith(png);

    EXPECT_EQ(window->document().names(), (std::vector<std::string>{"hero0", "hero1"}));
    EXPECT_EQ(text().find("static unsigned char hero0light[]={0xFF,0xFF,0xFF,0xFF,0xFF,0xFF,0xFF,0xFF};"),
              std::size_t(1));
    EXPECT_TRUE(window->document().filePath().empty()) << "the image is not the document's file";
    EXPECT_TRUE(window->document().modified());
    EXPECT_EQ(contents(png), before);
}

TEST_F(CommandLineStart, UnreadablePngIsReportedAndTheSheetStaysEmpty)
{
    const QString png = path(QStringLiteral("broken.png"));
    QFile file(png);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not an image");
    file.close();

    window->session().startWith(png);

    EXPECT_TRUE(message("importFailedMessage"));
    EXPECT_TRUE(window->document().names().empty());
    EXPECT_EQ(contents(png), QByteArray("not an image"));
}

TEST_F(CommandLineStart, ExistingFileIsOpened)
{
    const QString file = path(QStringLiteral("sprites.h"));
    const std::string code = declarations("Ship", {1, 0, 0, 0, 0, 0, 0, 0}, kZero);
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(code.data(), qint64(code.size()));
    out.close();

    window->session().startWith(file);

    EXPECT_EQ(text(), code);
    EXPECT_EQ(window->document().names(), std::vector<std::string>{"Ship"});
    EXPECT_EQ(window->document().filePath(), file.toStdString());
}

} // namespace
} // namespace bitloom::test
