// The main window's commands on sprites as pictures and on the clipboard:
// PNG export and import, Rename, Copy and Paste.
#include "mainwindow.h"

#include "io/pngfile.h"
#include "io/spriteclipboard.h"
#include "model/transform.h"
#include "ui/editor/spritenamebox.h"
#include "ui/sheet/exportscaledialog.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>

namespace bitloom {

void MainWindow::exportSprite()
{
    const auto scale = askExportScale(this);
    if (!scale)
        return;
    const QString suggested = QString::fromStdString(mDocument.name()) + QStringLiteral(".png");
    const QString path = mChooseFile(true, suggested, FileKind::Png);
    if (path.isEmpty())
        return;
    const QString error = saveSpritePng(painted(mDocument.grid()), *scale, path);
    if (!error.isEmpty())
        showMessage(QStringLiteral("exportFailedMessage"), error);
}

void MainWindow::exportSheet()
{
    const std::vector<std::string>& names = mDocument.names();
    if (names.empty()) {
        showMessage(QStringLiteral("exportFailedMessage"), tr("There are no named sprites to export yet."),
                    false);
        return;
    }
    const QString path = mChooseFile(true, QStringLiteral("sprites.png"), FileKind::Png);
    if (path.isEmpty())
        return;
    // The sheet shows what the Sprites window shows: the stored drawings,
    // and the current sprite as it is on the grid.
    std::vector<Shades> drawings = mDocument.storedDrawings();
    if (const int current = mDocument.currentIndex(); current >= 0)
        drawings[std::size_t(current)] = painted(mDocument.grid());
    const QString error = saveSheetPng(names, drawings, path);
    if (!error.isEmpty())
        showMessage(QStringLiteral("exportFailedMessage"), error);
}

void MainWindow::importPng()
{
    const QString path = mChooseFile(false, {}, FileKind::Png);
    if (!path.isEmpty())
        importImage(path);
}

void MainWindow::importImage(const QString& path)
{
    const TileImport import = importTiles(path);
    QString refusal = import.refusal;
    if (refusal.isEmpty()) {
        // A refused import changes nothing, so there is nothing to ask.
        if (auto noRoom = mDocument.importRefusal(import.tiles))
            refusal = importRefusalText(*noRoom, path);
        else if (!confirmReplacing(mDocument.importReplacedNames(import.tiles)))
            return;
        else if ((noRoom = mDocument.importDrawings(import.tiles)))
            refusal = importRefusalText(*noRoom, path);
        else if (import.notGrey > 0)
            statusBar()->showMessage(notGreyText(import.notGrey));
    }
    if (!refusal.isEmpty())
        showMessage(QStringLiteral("importFailedMessage"), refusal);
}

bool MainWindow::confirmReplacing(const std::vector<std::string>& names)
{
    if (names.empty())
        return true;
    constexpr std::size_t kShown = 10;
    QStringList shown;
    for (std::size_t i = 0; i < std::min(kShown, names.size()); ++i)
        shown << QString::fromStdString(names[i]);
    if (names.size() > kShown)
        shown << tr("and %1 more").arg(names.size() - kShown);
    const QString list = shown.join(QStringLiteral(", "));
    const QString question = names.size() == 1
                                 ? tr("Replace 1 existing sprite (%1)?").arg(list)
                                 : tr("Replace %1 existing sprites (%2)?").arg(names.size()).arg(list);
    QMessageBox box(QMessageBox::Question, tr("Bitloom"), question, QMessageBox::Yes | QMessageBox::Cancel,
                    this);
    box.setObjectName(QStringLiteral("replacePrompt"));
    box.button(QMessageBox::Yes)->setText(tr("&Replace"));
    box.button(QMessageBox::Cancel)->setText(tr("Cancel"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Yes;
}

void MainWindow::renameSprite()
{
    // Opening the dialog is an action: brushed cells reach the code first.
    mDocument.leaveGrid();
    const QString current = QString::fromStdString(mDocument.name());
    const std::optional<QString> typed = mAskName(current);
    if (!typed)
        return;
    const auto refusal = mDocument.renameSprite(typed->toStdString());
    if (!refusal)
        return;
    QString why;
    switch (*refusal) {
    case Document::RenameRefusal::EmptyName: why = tr("A sprite needs a name."); break;
    case Document::RenameRefusal::NameTaken:
        why = tr("\"%1\" is already the name of a sprite.").arg(*typed);
        break;
    case Document::RenameRefusal::LineBreak: why = tr("A sprite name cannot hold a line break."); break;
    case Document::RenameRefusal::NoSprite:
        why = tr("\"%1\" is not a sprite yet: draw it first.").arg(current);
        break;
    case Document::RenameRefusal::Unreadable:
        why = tr("\"%1\" could not be read back as the name of a declaration.").arg(*typed);
        break;
    }
    showMessage(QStringLiteral("renameRefusedMessage"),
                tr("The sprite cannot be renamed: %1 Nothing was changed.").arg(why));
}

void MainWindow::copySprite()
{
    // The text first: copying ends a brush run, which may change the grid's
    // code but never the grid.
    const std::string text = mDocument.spriteText();
    QGuiApplication::clipboard()->setMimeData(spriteMimeData(painted(mDocument.grid()), text));
}

void MainWindow::pasteSprite()
{
    const std::optional<PastedDrawing> drawing = clipboardDrawing(QGuiApplication::clipboard()->mimeData());
    if (!drawing) {
        mDocument.leaveGrid();
        showMessage(QStringLiteral("pasteRefusedMessage"), tr("The clipboard holds no sprite."), false);
        return;
    }
    mDocument.pasteDrawing(drawing->shades);
    if (drawing->notGrey > 0)
        statusBar()->showMessage(notGreyText(drawing->notGrey));
}

} // namespace bitloom
