// The Sprites window and the PNG commands as wired into the real main window.
#include "uitest.h"

#include "io/pngfile.h"
#include "ui/sheet/sheetwindow.h"
#include "ui/sheet/spritelistmodel.h"
#include "ui/sheet/spritepreview.h"
#include "ui/sheet/thumbnailview.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

namespace bitloom::test {
namespace {

class SheetWiring : public WindowTest {
protected:
    SpriteListModel& sprites() const { return *window->sheet()->sprites(); }
    ThumbnailView& thumbnails() const { return *window->sheet()->thumbnails(); }
    QImage thumbnail(int row) const { return sprites().index(row).data(Qt::DecorationRole).value<QImage>(); }
    // The row the Sprites window highlights, or -1.
    int highlighted() const
    {
        const QModelIndexList rows = thumbnails().selectionModel()->selectedIndexes();
        return rows.size() == 1 ? rows.front().row() : -int(rows.size()) - 1;
    }
    // What a thumbnail or the preview shows, as an 8 x 8 image.
    static QImage eight(const QImage& image)
    {
        return image.scaled(8, 8).convertToFormat(QImage::Format_RGB32);
    }
    QImage gridImage() const { return drawingImage(document().grid()).convertToFormat(QImage::Format_RGB32); }
    Document& document() const { return window->document(); }

    struct State {
        Grid grid;
        std::string name, code;
        std::vector<std::string> names;
        bool operator==(const State&) const = default;
    };
    State state() const
    {
        return {document().grid(), document().name(), document().code(), document().names()};
    }
};

TEST_F(SheetWiring, ThumbnailsFollowPressesBrushRecallsAndClearTile)
{
    draw(QStringLiteral("A"), 3, {0, 9});
    draw(QStringLiteral("B"), 1, {63});
    ASSERT_EQ(sprites().rowCount(), 2);
    EXPECT_EQ(highlighted(), 1);
    const auto current = [&] { return eight(thumbnail(highlighted())); };
    EXPECT_EQ(current(), gridImage());

    chooseTool(brushButton());
    hover(*editor().cell(20));
    EXPECT_EQ(colour(20), Cell::Grey);
    EXPECT_EQ(current(), gridImage()) << "a brush stroke shows before any regeneration";
    EXPECT_EQ(eight(window->sheet()->preview()->image()), gridImage());

    typeName(QStringLiteral("A"));
    EXPECT_EQ(highlighted(), 0);
    EXPECT_EQ(current(), gridImage());
    action("clearTileAction").trigger();
    EXPECT_EQ(current(), gridImage());
    EXPECT_EQ(eight(thumbnail(1)).pixel(0, 7), qRgb(0x80, 0x80, 0x80)) << "B keeps its stored drawing";
}

TEST_F(SheetWiring, AClickOnAThumbnailIsChoosingFromTheList)
{
    draw(QStringLiteral("A"), 3, {0, 9});
    draw(QStringLiteral("B"), 2, {5});
    draw(QStringLiteral("C"), 1, {44});
    chooseName(1);
    const State chosen = state();
    typeName(QStringLiteral("C"));
    ASSERT_NE(state(), chosen);
    QTest::mouseClick(thumbnails().viewport(), Qt::LeftButton, {},
                      thumbnails().visualRect(sprites().index(1)).center());
    EXPECT_EQ(state(), chosen);
    EXPECT_EQ(nameBox().currentText(), QStringLiteral("B"));
    EXPECT_EQ(highlighted(), 1);
}

TEST_F(SheetWiring, ExportedSheetImportsAsOneUndoableStep)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString sheet = dir.filePath(QStringLiteral("tiles.png"));
    draw(QStringLiteral("A"), 3, {0, 9, 63});
    draw(QStringLiteral("B"), 2, {5, 6});
    window->session().setFileChooser([&](bool, const QString&, FileSession::FileKind) { return sheet; });
    action("exportSheetAction").trigger();
    ASSERT_TRUE(QFileInfo::exists(sheet));

    // Without the index beside it the tiles come in under the file's name,
    // as new sprites.
    ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("tiles.txt"))));
    const std::string before = text();
    action("importAction").trigger();
    EXPECT_EQ(document().names(), (std::vector<std::string>{"A", "B", "tiles0", "tiles1"}));
    const auto codesOf = [&](const std::string& name) {
        return document().table()[std::size_t(*findEntry(document().table(), name))].shades;
    };
    EXPECT_EQ(codesOf("tiles0"), codesOf("A"));
    EXPECT_EQ(codesOf("tiles1"), codesOf("B"));
    EXPECT_EQ(action("undoAction").text(), QStringLiteral("&Undo Import PNG"));

    action("undoAction").trigger();
    EXPECT_EQ(text(), before);
    EXPECT_EQ(document().names(), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(sprites().rowCount(), 2);
    EXPECT_EQ(nameBox().count(), 2);
}

TEST_F(SheetWiring, ARefusedImportChangesNothing)
{
    QTemporaryDir dir;
    const QString odd = dir.filePath(QStringLiteral("odd.png"));
    QImage image(12, 8, QImage::Format_RGB32);
    image.fill(Qt::black);
    ASSERT_TRUE(image.save(odd));
    draw(QStringLiteral("A"), 3, {0});
    const std::string before = text();
    window->session().setFileChooser([&](bool, const QString&, FileSession::FileKind) { return odd; });
    action("importAction").trigger();
    auto* message = window->findChild<QMessageBox*>(QStringLiteral("importFailedMessage"));
    ASSERT_NE(message, nullptr);
    EXPECT_TRUE(message->text().contains(QStringLiteral("8"))) << message->text().toStdString();
    EXPECT_EQ(text(), before);
    EXPECT_EQ(document().names().size(), 1u);
}

// Fills in File > Export > C Array once it is shown: layout `layout` (menu
// order), style `style` (Own, const, PROGMEM), all sprites or the current one.
void answerCArray(int layout, const QString& name, int style, bool all)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [=] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible() || dialog->objectName() != QStringLiteral("cArrayDialog"))
            return;
        poll->deleteLater();
        poll->stop();
        dialog->findChild<QComboBox*>(QStringLiteral("cArrayLayout"))->setCurrentIndex(layout);
        dialog->findChild<QLineEdit*>(QStringLiteral("cArrayName"))->setText(name);
        dialog->findChild<QComboBox*>(QStringLiteral("cArrayStyle"))->setCurrentIndex(style);
        dialog->findChild<QRadioButton*>(all ? QStringLiteral("cArrayAll") : QStringLiteral("cArrayCurrent"))
            ->setChecked(true);
        dialog->accept();
    });
    poll->start(5);
}

TEST_F(SheetWiring, ExportCArrayWritesWhatConvertWrites)
{
    QTemporaryDir dir;
    const QString header = dir.filePath(QStringLiteral("tiles.h"));
    draw(QStringLiteral("A"), 3, {0, 9});
    draw(QStringLiteral("B"), 1, {63});
    QString suggested;
    window->session().setFileChooser([&](bool, const QString& name, FileSession::FileKind) {
        suggested = name;
        return header;
    });
    const auto read = [&] {
        QFile file(header);
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
    };

    answerCArray(0, QStringLiteral("tiles"), 1, true);
    action("exportCArrayAction").trigger();
    EXPECT_EQ(suggested, QStringLiteral("tiles.h"));
    EXPECT_EQ(read(),
              "#ifndef TILES_H\n#define TILES_H\n\n#include <stdint.h>\n\n// layout: gb, 2 tiles\n"
              "#define tiles_TILE_COUNT 2\n\nconst uint8_t tiles[32] = {\n"
              "    0x01,0x01,0x02,0x02,0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00, // A\n"
              "    0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x80,0x00, // B\n"
              "};\n\n#endif\n");

    // One bit: B's grey became white, and a message says so.
    answerCArray(2, QStringLiteral("icon"), 2, false);
    action("exportCArrayAction").trigger();
    EXPECT_EQ(read(),
              "#ifndef TILES_H\n#define TILES_H\n\n#include <stdint.h>\n#include <avr/pgmspace.h>\n\n"
              "// layout: rows, 1 tile\n#define icon_TILE_COUNT 1\n\nconst uint8_t icon[8] PROGMEM = {\n"
              "    0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00, // B\n};\n\n#endif\n");
    auto* message = window->findChild<QMessageBox*>(QStringLiteral("twoShadesMessage"));
    ASSERT_NE(message, nullptr);
    EXPECT_TRUE(message->text().endsWith(QStringLiteral("\nB"))) << message->text().toStdString();
}

} // namespace
} // namespace bitloom::test
