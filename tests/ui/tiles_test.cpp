// Tiles of arrays in the window: listed in the name box and the Sprites
// window after the pair sprites, the Layout menu's choice remembered per
// file and array without changing a byte, and Rename and Remove Tile
// disabled for them.
#include "ui/editor/spritenamebox.h"
#include "uitest.h"

#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTemporaryDir>

using namespace bitloom;
using namespace bitloom::test;

namespace {

class Tiles : public WindowTest {
protected:
    QString status(const char* field) const
    {
        auto* label = window->statusBar()->findChild<QLabel*>(QString::fromLatin1(field));
        return label ? label->text() : QString();
    }
    QString write(const QString& name, const std::string& text)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(text.data(), qint64(text.size()));
        return path;
    }
    QTemporaryDir dir;
};

const std::string kFont = "const char font[2][8] = {\n"
                          "    { 0x18, 0x24, 0x42, 0x7e, 0x42, 0x42, 0x42, 0x00 },\n"
                          "    { 0x7c, 0x42, 0x42, 0x7c, 0x42, 0x42, 0x7c, 0x00 },\n"
                          "};\n";

} // namespace

TEST_F(Tiles, TheLayoutMenuReadsTheArrayAgainAndChangesNoByte)
{
    const QString path = write(QStringLiteral("font.h"), kFont);
    ASSERT_TRUE(window->session().openFile(path));
    EXPECT_EQ(nameBox().count(), 2);
    EXPECT_EQ(nameBox().itemText(1), QStringLiteral("font[1]"));
    EXPECT_EQ(status("spriteCountStatus"), QStringLiteral("0 of 101 sprites, 2 tiles in 1 array"));
    EXPECT_EQ(status("layoutStatus"), QStringLiteral("1 bit, rows, left bit high · guessed from its size"));
    EXPECT_FALSE(action("renameSpriteAction").isEnabled());
    EXPECT_FALSE(action("removeTileAction").isEnabled());

    // The menu: last in Tile, its items in order, the current one checked.
    QMenu& tile = *window->findChild<QMenu*>(QStringLiteral("tileMenu"));
    ASSERT_EQ(tile.actions().last()->objectName(), QStringLiteral("layoutMenu"));
    QMenu& layouts = *window->findChild<QMenu*>(QStringLiteral("layoutMenu"));
    QStringList items;
    for (const QAction* item : layouts.actions())
        items << (item->isSeparator() ? QStringLiteral("-") : item->text());
    EXPECT_EQ(
        items,
        (QStringList{
            QStringLiteral("&Game Boy (2 bits, interleaved)"), QStringLiteral("&NES (2 bits, planar)"),
            QStringLiteral("1 bit, &rows, left bit high"), QStringLiteral("1 bit, rows, left bit lo&w (XBM)"),
            QStringLiteral("1 bit, &columns (OLED pages)"), QStringLiteral("Not &Tiles"), QStringLiteral("-"),
            QStringLiteral("Image W&idth…"), QStringLiteral("R&eset Layouts for This File")}));
    EXPECT_TRUE(action("layout_rows").isChecked());

    action("layout_gb").trigger();
    EXPECT_EQ(text(), kFont);
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_FALSE(action("undoAction").isEnabled());
    EXPECT_EQ(nameBox().count(), 1);
    EXPECT_TRUE(action("layout_gb").isChecked());
    EXPECT_EQ(status("layoutStatus"), QStringLiteral("Game Boy (2 bits, interleaved) · your choice"));

    // Remembered for the file: opened again, the choice holds; Save As
    // carries it to the new path.
    ASSERT_TRUE(window->session().openFile(path));
    EXPECT_EQ(nameBox().count(), 1);
    const QString copy = dir.filePath(QStringLiteral("copy.h"));
    window->session().setFileChooser([&](bool, const QString&, FileSession::FileKind) { return copy; });
    action("saveAsAction").trigger();
    ASSERT_TRUE(window->session().openFile(copy));
    EXPECT_EQ(status("layoutStatus"), QStringLiteral("Game Boy (2 bits, interleaved) · your choice"));

    // Not Tiles leaves no tile; Reset brings the guess back.
    action("layout_not_tiles").trigger();
    EXPECT_EQ(nameBox().count(), 0);
    EXPECT_EQ(status("spriteCountStatus"), QStringLiteral("0 of 101 sprites"));
    action("resetLayoutsAction").trigger();
    EXPECT_EQ(nameBox().count(), 2);
    EXPECT_EQ(text(), kFont);
}

TEST_F(Tiles, PaintingAOneBitTileWithGreyIsSaidInTheStatusBar)
{
    ASSERT_TRUE(window->session().openFile(write(QStringLiteral("font.h"), kFont)));
    pickColour(1);
    press(0);
    EXPECT_EQ(text(), kFont);
    EXPECT_EQ(window->statusBar()->currentMessage(),
              QStringLiteral("font[0] has two shades: white and black"));
    pickColour(3);
    press(0);
    EXPECT_NE(text().find("{ 0x19, 0x24"), std::string::npos);
    // The band is the line holding the tile's numbers.
    ASSERT_EQ(pane().extraSelections().size(), 1);
    EXPECT_EQ(pane().extraSelections().front().cursor.blockNumber(), 1);
    chooseName(1);
    ASSERT_EQ(pane().extraSelections().size(), 1);
    EXPECT_EQ(pane().extraSelections().front().cursor.blockNumber(), 2);
    typeName(QStringLiteral("font[7]"));
    EXPECT_EQ(window->statusBar()->currentMessage(), QStringLiteral("font[7] is not a tile of font"));
}
