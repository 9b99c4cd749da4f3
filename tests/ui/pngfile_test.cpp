// Sprites to and from PNG files: the pixels written, the round trip of a
// full sheet, and the refusals of an import, each of which imports nothing.
#include "io/exportscales.h"
#include "io/pngfile.h"
#include "ui/sheet/exportscaledialog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QInputDialog>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <random>

namespace bitloom {
namespace {

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

class PngFiles : public ::testing::Test {
protected:
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    QString saved(const QImage& image, const char* name) const
    {
        const QString file = path(name);
        EXPECT_TRUE(image.save(file, "PNG"));
        return file;
    }
    static QByteArray contents(const QString& file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }

    QTemporaryDir dir;
};

Shades randomCodes(std::mt19937& random)
{
    Shades codes;
    for (Cell& code : codes)
        code = shadeOfCode(int(random() % 4));
    return codes;
}

TEST_F(PngFiles, SpriteImageIsInTheFourGreysWithCellsScaledWhole)
{
    Shades codes{};
    codes[7] = Cell::Black;     // top-left
    codes[0] = Cell::Grey;      // top-right
    codes[56] = Cell::DarkGrey; // bottom-right
    const QImage image = spriteImage(codes, 4);
    ASSERT_EQ(image.size(), QSize(32, 32));
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(3, 3), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(4, 0), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(28, 3), qRgb(128, 128, 128));
    EXPECT_EQ(image.pixel(31, 31), qRgb(64, 64, 64));
    EXPECT_EQ(image.pixel(27, 31), qRgb(255, 255, 255));

    for (const int scale : kExportScales) {
        ASSERT_TRUE(saveSpritePng(codes, scale, path("one.png")).isEmpty());
        const QImage back(path("one.png"));
        EXPECT_EQ(back.size(), QSize(8 * scale, 8 * scale));
        EXPECT_EQ(back.pixel(0, 0), qRgb(0, 0, 0));
        EXPECT_EQ(back.pixel(8 * scale - 1, 0), qRgb(128, 128, 128));
    }
}

TEST_F(PngFiles, ExportThenImportOf101SpritesGivesTheSameDrawingsAndNames)
{
    std::mt19937 random(9);
    std::vector<std::string> names;
    std::vector<Shades> codes;
    for (int i = 0; i < 101; ++i) {
        names.push_back("sheet" + std::to_string(i));
        codes.push_back(randomCodes(random));
    }
    ASSERT_TRUE(saveSheetPng(names, codes, path("sheet.png")).isEmpty());

    EXPECT_EQ(QImage(path("sheet.png")).size(), QSize(128, 56));
    const QByteArray index = contents(path("sheet.txt"));
    EXPECT_TRUE(index.startsWith("0 sheet0\n1 sheet1\n"));
    EXPECT_TRUE(index.endsWith("\n100 sheet100\n"));
    EXPECT_EQ(index.count('\n'), 101);

    // The padding after tile 100 brings no sprites: all 101 fit the table.
    const TileImport imported = importTiles(path("sheet.png"));
    EXPECT_TRUE(imported.refusal.isEmpty()) << imported.refusal.toStdString();
    ASSERT_EQ(imported.tiles.size(), 101u);
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(imported.tiles[i].name, names[i]);
        EXPECT_EQ(imported.tiles[i].shades, codes[i]) << "sprite " << i;
    }
}

TEST_F(PngFiles, ImportQuantisesShadesAndAlphaAndNamesTilesAfterTheFile)
{
    // One tile: a grey gradient along the top row, alpha along the second.
    QImage image(8, 8, QImage::Format_ARGB32);
    image.fill(qRgba(255, 255, 255, 255));
    const int levels[] = {0, 31, 32, 95, 96, 191, 192, 255};
    for (int x = 0; x < 8; ++x)
        image.setPixel(x, 0, qRgb(levels[x], levels[x], levels[x]));
    image.setPixel(0, 1, qRgba(0, 0, 0, 127));
    image.setPixel(1, 1, qRgba(0, 0, 0, 128));
    image.setPixel(2, 1, qRgba(64, 64, 64, 200)); // straight colour, not premultiplied
    const QString file = saved(image, "my hero-1.png");

    const TileImport imported = importTiles(file);
    ASSERT_EQ(imported.tiles.size(), 1u);
    EXPECT_EQ(imported.tiles[0].name, "my_hero_10");
    const Shades& codes = imported.tiles[0].shades;
    const Cell topRow[] = {Cell::Black, Cell::Black, Cell::DarkGrey, Cell::DarkGrey,
                           Cell::Grey,  Cell::Grey,  Cell::White,    Cell::White};
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(codes[std::size_t(7 - x)], topRow[x]) << "level " << levels[x];
    EXPECT_EQ(codes[15], Cell::White);
    EXPECT_EQ(codes[14], Cell::Black);
    EXPECT_EQ(codes[13], Cell::DarkGrey);
}

TEST_F(PngFiles, RefusalsSayWhyAndImportNothing)
{
    const auto refusal = [](const TileImport& result) {
        EXPECT_TRUE(result.tiles.empty());
        return result.refusal;
    };

    QImage odd(12, 8, QImage::Format_RGB32);
    odd.fill(Qt::black);
    EXPECT_EQ(refusal(importTiles(saved(odd, "odd.png"))),
              QStringLiteral("\"odd.png\" is 12 x 8 pixels; its width and height must be "
                             "multiples of 8. Nothing was imported."));

    QImage huge(1032, 8, QImage::Format_RGB32);
    huge.fill(Qt::black);
    EXPECT_EQ(refusal(importTiles(saved(huge, "huge.png"))),
              QStringLiteral("\"huge.png\" is 1032 x 8 pixels; images larger than 1024 x 1024 "
                             "pixels are not imported. Nothing was imported."));

    QFile junk(path("junk.png"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("this is not an image");
    junk.close();
    EXPECT_TRUE(
        refusal(importTiles(path("junk.png"))).startsWith(QStringLiteral("\"junk.png\" cannot be read: ")));
    const QString missing = refusal(importTiles(path("missing.png")));
    EXPECT_TRUE(missing.startsWith(QStringLiteral("\"missing.png\" cannot be read: ")));
    EXPECT_GT(missing.size(), QStringLiteral("\"missing.png\" cannot be read: ").size());

    QImage three(24, 8, QImage::Format_RGB32);
    three.fill(Qt::white);
    const QString file = saved(three, "three.png");
    const std::vector<Tile> tiles = importTiles(file).tiles;
    ASSERT_EQ(tiles.size(), 3u);
    EXPECT_EQ(importRefusalText(*roomRefusal(tiles, {}, 2), file),
              QStringLiteral("\"three.png\" holds 3 tiles, but only 2 sprite entries are free. "
                             "Nothing was imported."));
    EXPECT_EQ(importRefusalText(*roomRefusal(tiles, {"three1"}, 1), file),
              QStringLiteral("\"three.png\" holds 3 tiles, 2 of them under new names, but only 1 "
                             "sprite entries are free. Nothing was imported."));
    EXPECT_FALSE(roomRefusal(tiles, {"three0", "three1", "three2"}, 0));
}

TEST_F(PngFiles, FailedWritesSayWhyAndLeaveExistingFilesAlone)
{
    const Shades codes{};
    const QString error = saveSpritePng(codes, 1, path("no/such/folder/a.png"));
    EXPECT_TRUE(error.startsWith(QStringLiteral("\"a.png\" cannot be written: "))) << error.toStdString();

    // The index cannot be written (a folder has its name): the sheet that
    // was there before stays as it was, and no index appears.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("old.txt")));
    QImage before(8, 8, QImage::Format_RGB32);
    before.fill(Qt::red);
    saved(before, "old.png");
    const QByteArray old = contents(path("old.png"));
    EXPECT_FALSE(saveSheetPng({"a"}, {codes}, path("old.png")).isEmpty());
    EXPECT_EQ(contents(path("old.png")), old);

    EXPECT_FALSE(saveSheetPng({}, {}, path("empty.png")).isEmpty());
    EXPECT_FALSE(QFile::exists(path("empty.png")));
}

TEST(ExportScale, TheDialogOffersWholeFactorsAndCancelChoosesNone)
{
    const auto answer = [](int row, bool accept) {
        QTimer::singleShot(0, [=] {
            auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->comboBoxItems().size(), 4);
            dialog->setTextValue(dialog->comboBoxItems().value(row));
            accept ? dialog->accept() : dialog->reject();
        });
        return askExportScale(nullptr);
    };
    EXPECT_EQ(answer(0, true), 1);
    EXPECT_EQ(answer(2, true), 4);
    EXPECT_EQ(answer(3, true), 8);
    EXPECT_EQ(answer(3, false), std::nullopt);
    EXPECT_EQ(pngFileFilter(), QStringLiteral("PNG images (*.png)"));
}

TEST(SheetIndexPath, BesideTheSheetWithTheSameBaseName)
{
    EXPECT_EQ(sheetIndexPath(QStringLiteral("/tmp/x/hero.png")), QStringLiteral("/tmp/x/hero.txt"));
    EXPECT_EQ(sheetIndexPath(QStringLiteral("/tmp/x/hero.v2.png")), QStringLiteral("/tmp/x/hero.v2.txt"));
    EXPECT_EQ(sheetIndexPath(QStringLiteral("/tmp/x/hero")), QStringLiteral("/tmp/x/hero.txt"));
    // A sheet named like its index would be overwritten by it.
    EXPECT_EQ(sheetIndexPath(QStringLiteral("/tmp/x/hero.txt")), QStringLiteral("/tmp/x/hero.txt.txt"));
}

} // namespace
} // namespace bitloom
