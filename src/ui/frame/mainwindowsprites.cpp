// The main window's commands on sprites: Rename, Copy and Paste.
#include "mainwindow.h"

#include "filesession.h"
#include "io/pngfile.h"
#include "io/spriteclipboard.h"
#include "model/transform.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>

namespace bitloom {

void MainWindow::renameSprite()
{
    // Opening the dialog is an action: brushed cells reach the code first.
    mDocument.leaveGrid();
    const QString current = QString::fromStdString(mDocument.name());
    // The keyboard goes back where it was once the dialog is closed, so that
    // the next shortcut (Ctrl+D, a grid key) works without a click.
    const QPointer<QWidget> focused = QApplication::focusWidget();
    const std::optional<QString> typed = mAskName(current);
    if (focused && focused->window() == this) {
        activateWindow();
        focused->setFocus(Qt::OtherFocusReason);
    }
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
    showMessage(*this, QStringLiteral("renameRefusedMessage"),
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
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    std::optional<PastedDrawing> drawing = clipboardDrawing(data);
    // A line of bytes, as Copy gives for a tile of an array (or as copied
    // from such an array in an editor), goes onto a tile in its layout.
    if (const auto tile = mDocument.currentTile(); !drawing && tile && data && data->hasText()) {
        if (auto shades = tileFromBytesText(data->text().toStdString(), tile->array->image.layout))
            drawing = PastedDrawing{*shades, 0};
    }
    if (!drawing) {
        mDocument.leaveGrid();
        showMessage(*this, QStringLiteral("pasteRefusedMessage"), tr("The clipboard holds no sprite."),
                    false);
        return;
    }
    mDocument.pasteDrawing(drawing->shades);
    if (drawing->notGrey > 0)
        statusBar()->showMessage(notGreyText(drawing->notGrey));
}

} // namespace bitloom
