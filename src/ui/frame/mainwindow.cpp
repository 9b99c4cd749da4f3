#include "mainwindow.h"

#include "codegen/updater.h"
#include "codewindow.h"
#include "filesession.h"
#include "helpwindows.h"
#include "io/recoverykeeper.h"
#include "recentfiles.h"
#include "screenfit.h"
#include "statusbar.h"
#include "ui/editor/cellwidget.h"
#include "ui/editor/editor.h"
#include "ui/editor/spritenamebox.h"
#include "ui/pictures.h"
#include "ui/sheet/sheetwindow.h"
#include "ui/sheet/spritelistmodel.h"
#include "ui/twips.h"
#include "windowmenu.h"

#include <QCloseEvent>
#include <QFrame>
#include <QInputDialog>
#include <QLayout>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QVBoxLayout>

namespace bitloom {

namespace {

// The platform's keys for a standard command, followed by those of `also`
// it lacks: the chords Bitloom has always had keep working everywhere.
QList<QKeySequence> standardKeys(QKeySequence::StandardKey command, const QList<QKeySequence>& also)
{
    QList<QKeySequence> keys = QKeySequence::keyBindings(command);
    for (const QKeySequence& key : also) {
        if (!keys.contains(key))
            keys << key;
    }
    return keys;
}

} // namespace

MainWindow::MainWindow(Document& document)
    : mDocument(document),
      mMdiArea(new QMdiArea),
      mCodeWindow(new CodeWindow(mDocument)),
      mEditor(new Editor(mDocument)),
      mSheet(new SheetWindow(mDocument)),
      mSession(new FileSession(mDocument, *this))
{
    mAskName = [this](const QString& current) -> std::optional<QString> {
        bool ok = false;
        const QString name = QInputDialog::getText(this, tr("Rename Sprite"), tr("New name:"),
                                                   QLineEdit::Normal, current, &ok);
        return ok ? std::optional(name) : std::nullopt;
    };
    mAskWidth = [this](const QString& array, int current) {
        bool ok = false;
        const int width = QInputDialog::getInt(
            this, tr("Image Width"), tr("Width of %1 in pixels:").arg(array), current, 1, 4096, 1, &ok);
        return ok ? width : 0;
    };
    setObjectName(QStringLiteral("mainWindow"));
    setWindowIcon(picture("bitloom"));
    // The status bar reads the editor: made before the windows, it is
    // also deleted before them.
    buildStatusBar();
    // The name box lists the sprites the Sprites window shows: one list.
    mEditor->nameBox()->setModel(mSheet->sprites());

    auto* topStrip = new QFrame;
    topStrip->setObjectName(
        QString::fromUtf8(layout::kTopStrip.name.data(), qsizetype(layout::kTopStrip.name.size())));
    topStrip->setFrameStyle(QFrame::Box | QFrame::Plain);
    topStrip->setAutoFillBackground(true);
    topStrip->setBackgroundRole(QPalette::Button);
    topStrip->setFixedHeight(twips::toPixels(layout::kTopStrip.rect.height));

    auto* central = new QWidget;
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(topStrip);
    column->addWidget(mMdiArea, 1);
    setCentralWidget(central);
    resize(twips::toPixels(layout::kMainClient).size());

    buildMenus();
    createWindows();
    buildWindowMenu();
    buildHelpMenu();

    connect(mSession, &FileSession::statusMessage, statusBar(),
            [this](const QString& text) { statusBar()->showMessage(text); });
    connect(&mSession->recoveryKeeper(), &RecoveryKeeper::problemChanged, mStatusBar,
            &StatusBar::showRecoveryProblem);
    connect(mSession, &FileSession::fileUsed, mRecent, &RecentFiles::add);
    connect(mSession, &FileSession::recentFileMissing, mRecent, &RecentFiles::remove);
    connect(mRecent, &RecentFiles::chosen, mSession, &FileSession::openRecent);
    // The window alone reads tiles with the user's layout choices.
    rereadTiles();
    mShowing = mDocument.subscribe([this](const DocumentChange& change) { showDocument(change.changes); });
    showDocument(~0u & ~Refused);
}

MainWindow::~MainWindow() = default;

void MainWindow::buildMenus()
{
    const auto addMenu = [this](const char* name, const QString& caption) {
        QMenu* menu = menuBar()->addMenu(caption);
        menu->setObjectName(QString::fromLatin1(name));
        return menu;
    };
    const auto addItem = [this](QMenu* menu, const char* name, const QString& caption, auto slot,
                                QList<QKeySequence> keys = {}) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcuts(keys);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };

    QMenu* file = addMenu("fileMenu", tr("&File"));
    addItem(file, "newAction", tr("&New"), [this] { mSession->newSheet(); }, {QKeySequence::New});
    addItem(file, "openAction", tr("&Open"), [this] { mSession->open(); }, {QKeySequence::Open});
    QMenu* recent = file->addMenu(tr("Open &Recent"));
    recent->setObjectName(QStringLiteral("openRecentMenu"));
    recent->menuAction()->setObjectName(QStringLiteral("openRecentMenu"));
    mRecent = new RecentFiles(*recent, this);
    addItem(file, "saveAction", tr("&Save"), [this] { mSession->save(); }, {QKeySequence::Save});
    addItem(
        file, "saveAsAction", tr("Save &As"), [this] { mSession->saveAs(); },
        standardKeys(QKeySequence::SaveAs, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)}));
    file->addSeparator();
    QMenu* exports = file->addMenu(tr("&Export"));
    exports->setObjectName(QStringLiteral("exportMenu"));
    exports->menuAction()->setObjectName(QStringLiteral("exportMenu"));
    addItem(exports, "exportSpriteAction", tr("Export S&prite as PNG…"),
            [this] { mSession->exportSprite(); });
    addItem(exports, "exportSheetAction", tr("Export S&heet as PNG…"), [this] { mSession->exportSheet(); });
    addItem(exports, "exportCArrayAction", tr("&C Array…"), [this] { mSession->exportCArray(); });
    addItem(file, "importAction", tr("&Import PNG…"), [this] { mSession->importPng(); });
    file->addSeparator();
    addItem(file, "quitAction", tr("&Quit"), &MainWindow::close,
            standardKeys(QKeySequence::Quit, {QKeySequence(Qt::CTRL | Qt::Key_Q)}));

    QMenu* edit = addMenu("editMenu", tr("&Edit"));
    mUndo = addItem(
        edit, "undoAction", tr("&Undo"), [this] { mDocument.undo(); },
        standardKeys(QKeySequence::Undo, {QKeySequence(Qt::CTRL | Qt::Key_Z)}));
    mRedo = addItem(
        edit, "redoAction", tr("&Redo"), [this] { mDocument.redo(); },
        standardKeys(QKeySequence::Redo,
                     {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)}));

    // The commands on the current sprite, enabled while its name is a
    // sprite of the text. The drawing commands also have single keys on
    // the grid, which do what their items do.
    const auto addSpriteItem = [&](QMenu* menu, const char* name, const QString& caption, auto slot,
                                   QList<QKeySequence> keys = {}, QKeyCombination gridKey = {}) {
        QAction* action = addItem(menu, name, caption, slot, std::move(keys));
        mSpriteActions.push_back(action);
        if (gridKey != QKeyCombination())
            mEditor->bindGridKey(gridKey, action);
        return action;
    };
    QMenu* tile = addMenu("tileMenu", tr("&Tile"));
    addItem(tile, "clearTileAction", tr("&Clear Tile"), [this] { mDocument.clearTile(); });
    mRemoveAction =
        addSpriteItem(tile, "removeTileAction", tr("&Remove Tile"), [this] { mDocument.removeTile(); });

    tile->addSeparator();
    mRenameAction = addSpriteItem(tile, "renameSpriteAction", tr("Re&name Sprite…"),
                                  &MainWindow::renameSprite, {QKeySequence(Qt::Key_F2)});
    addSpriteItem(tile, "duplicateSpriteAction", tr("&Duplicate Sprite"),
                  [this] { mDocument.duplicateSprite(); }, {QKeySequence(Qt::CTRL | Qt::Key_D)});
    tile->addSeparator();
    addSpriteItem(
        tile, "flipHorizontallyAction", tr("Flip &Horizontally"), [this] { mDocument.flipHorizontally(); },
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_H)}, Qt::Key_H);
    addSpriteItem(
        tile, "flipVerticallyAction", tr("Flip &Vertically"), [this] { mDocument.flipVertically(); },
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V)}, Qt::Key_V);
    addSpriteItem(
        tile, "rotateClockwiseAction", tr("Rotate C&lockwise"), [this] { mDocument.rotateClockwise(); },
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R)}, Qt::Key_R);
    addSpriteItem(
        tile, "rotateAnticlockwiseAction", tr("Rotate &Anticlockwise"),
        [this] { mDocument.rotateAnticlockwise(); }, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L)},
        Qt::SHIFT | Qt::Key_R);
    QMenu* shift = tile->addMenu(tr("&Shift"));
    shift->setObjectName(QStringLiteral("shiftMenu"));
    shift->menuAction()->setObjectName(QStringLiteral("shiftMenu"));
    addSpriteItem(
        shift, "shiftUpAction", tr("&Up"), [this] { mDocument.shiftDrawing(-1, 0); }, {},
        Qt::SHIFT | Qt::Key_Up);
    addSpriteItem(
        shift, "shiftDownAction", tr("&Down"), [this] { mDocument.shiftDrawing(1, 0); }, {},
        Qt::SHIFT | Qt::Key_Down);
    addSpriteItem(
        shift, "shiftLeftAction", tr("&Left"), [this] { mDocument.shiftDrawing(0, -1); }, {},
        Qt::SHIFT | Qt::Key_Left);
    addSpriteItem(
        shift, "shiftRightAction", tr("&Right"), [this] { mDocument.shiftDrawing(0, 1); }, {},
        Qt::SHIFT | Qt::Key_Right);
    addSpriteItem(
        tile, "invertShadesAction", tr("&Invert Shades"), [this] { mDocument.invertShades(); },
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I)}, Qt::Key_I);
    // Last in the Tile menu: L is taken by Rotate Clockwise.
    buildLayoutMenu(*tile);

    // Copy and Paste act on sprites only while the grid or the Sprites
    // window has the focus: the actions belong to those windows as well as
    // to the menu, and in the name box and the code window the keys stay
    // with the text. Paste stays enabled: it says so when the clipboard
    // holds no sprite.
    edit->addSeparator();
    QAction* copy = addItem(edit, "copySpriteAction", tr("&Copy Sprite"), &MainWindow::copySprite,
                            standardKeys(QKeySequence::Copy, {QKeySequence(Qt::CTRL | Qt::Key_C)}));
    QAction* paste = addItem(edit, "pasteSpriteAction", tr("&Paste Sprite"), &MainWindow::pasteSprite,
                             standardKeys(QKeySequence::Paste, {QKeySequence(Qt::CTRL | Qt::Key_V)}));
    for (QAction* action : {copy, paste}) {
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        mEditor->addAction(action);
        mSheet->addAction(action);
    }
}

void MainWindow::buildWindowMenu()
{
    // Added after the menus above, so it follows the Tile menu.
    QMenu* menu = menuBar()->addMenu(tr("&Window"));
    menu->setObjectName(QStringLiteral("windowMenu"));
    mWindowMenu = new WindowMenu(*menu, *mMdiArea);
    mWindowMenu->addWindow(mEditorWindow, "editorWindowAction");
    mWindowMenu->addWindow(mCodeSubWindow, "codeWindowAction");
    mWindowMenu->addWindow(mSheetWindow, "sheetWindowAction");
    // Tab leads on from the code window to the editor: to its name box, the
    // first stop, or with Shift+Tab back to its grid, the last.
    connect(mCodeWindow, &CodeWindow::focusLeaving, this, [this](bool next) {
        mMdiArea->setActiveSubWindow(mEditorWindow);
        QWidget* stop =
            next ? static_cast<QWidget*>(mEditor->nameBox()) : mEditor->cell(mEditor->focusCell());
        stop->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    });
}

void MainWindow::buildHelpMenu()
{
    // Added after the Window menu, so it comes last.
    QMenu* menu = menuBar()->addMenu(tr("&Help"));
    menu->setObjectName(QStringLiteral("helpMenu"));
    QAction* shortcuts = menu->addAction(tr("&Keyboard Shortcuts"));
    shortcuts->setObjectName(QStringLiteral("keyboardShortcutsAction"));
    connect(shortcuts, &QAction::triggered, this, &MainWindow::showShortcuts);
    QAction* about = menu->addAction(tr("&About Bitloom"));
    about->setObjectName(QStringLiteral("aboutAction"));
    about->setMenuRole(QAction::AboutRole);
    connect(about, &QAction::triggered, this, [this] {
        QMessageBox box(QMessageBox::NoIcon, tr("About Bitloom"), aboutText(), QMessageBox::Close, this);
        box.setObjectName(QStringLiteral("aboutMessage"));
        box.setIconPixmap(windowIcon().pixmap(64));
        box.exec();
    });
}

void MainWindow::showShortcuts()
{
    // One window, made when first asked for: the menus are complete by then.
    if (!mShortcuts)
        mShortcuts = new ShortcutsWindow(*menuBar(), this);
    mShortcuts->show();
    mShortcuts->raise();
    mShortcuts->activateWindow();
}

void MainWindow::buildStatusBar()
{
    mStatusBar = new StatusBar(mDocument, *mEditor);
    setStatusBar(mStatusBar);
}

void MainWindow::createWindows()
{
    const QIcon icon = windowIcon();

    // The editor: fixed size, no minimise or maximise button, at the top-left.
    mEditorWindow =
        mMdiArea->addSubWindow(mEditor, Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                                            | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    mEditorWindow->layout()->setSizeConstraint(QLayout::SetFixedSize);
    mEditorWindow->setWindowIcon(icon);
    mEditorWindow->move(0, 0);
    mEditorWindow->show();
    mEditorWindow->layout()->activate(); // its outer size is read below

    // The code window: 6000 x 7100 twips outside, directly right of the
    // editor's outer width, at the top.
    mCodeSubWindow = mMdiArea->addSubWindow(mCodeWindow);
    mCodeSubWindow->setWindowIcon(icon);
    mCodeSubWindow->setGeometry(mEditorWindow->width(), 0, twips::toPixels(layout::kCodeWindowStartWidth),
                                twips::toPixels(layout::kCodeWindowStartHeight));
    mCodeSubWindow->show();

    // The Sprites window: below the editor, as wide as it.
    mSheetWindow = mMdiArea->addSubWindow(mSheet);
    mSheetWindow->setWindowIcon(icon);
    mSheetWindow->setGeometry(0, mEditorWindow->height(), mEditorWindow->width(),
                              twips::toPixels(layout::kSheetStartHeight));
    mSheetWindow->show();

    // Leave the keyboard with the name box.
    mMdiArea->setActiveSubWindow(mEditorWindow);
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (mSizedToChildren)
        return;
    mSizedToChildren = true;
    // Before the window first appears its layout is settled: grow it so that
    // both child windows are wholly visible, as far as the screen allows.
    fitToScreen(*this, *mMdiArea);
    // Where the screen is too small for them side by side, the child windows
    // overlap and shorten so that none starts cut off.
    mWindowMenu->fitWindows();
}

void MainWindow::showDocument(Changes changes)
{
    if (changes & (FileChanged | ModifiedChanged))
        showTitle();
    if (changes & (HistoryChanged | NameChanged | CodeChanged | ListChanged))
        updateActions();
    if (changes & (NameChanged | ListChanged | TableChanged | FileChanged))
        showLayoutMenu();
}

void MainWindow::showTitle()
{
    const QString caption = tr("BITLOOM by VELDRA SOFTWARE");
    // A fresh, untouched sheet keeps the plain caption.
    const bool plain = mDocument.filePath().empty() && !mDocument.modified();
    //: The window title: the file's name, the mark of unsaved changes, the caption.
    setWindowTitle(plain ? caption : tr("%1[*] - %2").arg(mSession->documentName(), caption));
    setWindowModified(mDocument.modified());
}

QString MainWindow::stepCaption(StepKind kind)
{
    switch (kind) {
    case StepKind::Paint: return tr("Paint");
    case StepKind::UpdateCode: return tr("Code Update");
    case StepKind::Brush: return tr("Brush");
    case StepKind::ClearTile: return tr("Clear Tile");
    case StepKind::RemoveTile: return tr("Remove Tile");
    case StepKind::Import: return tr("Import PNG");
    case StepKind::Rename: return tr("Rename Sprite");
    case StepKind::Duplicate: return tr("Duplicate Sprite");
    case StepKind::FlipHorizontally: return tr("Flip Horizontally");
    case StepKind::FlipVertically: return tr("Flip Vertically");
    case StepKind::RotateClockwise: return tr("Rotate Clockwise");
    case StepKind::RotateAnticlockwise: return tr("Rotate Anticlockwise");
    case StepKind::ShiftUp: return tr("Shift Up");
    case StepKind::ShiftDown: return tr("Shift Down");
    case StepKind::ShiftLeft: return tr("Shift Left");
    case StepKind::ShiftRight: return tr("Shift Right");
    case StepKind::InvertShades: return tr("Invert Shades");
    case StepKind::Paste: return tr("Paste Sprite");
    }
    return {};
}

void MainWindow::updateActions()
{
    const auto undo = mDocument.undoKind();
    const auto redo = mDocument.redoKind();
    mUndo->setEnabled(undo.has_value());
    mUndo->setText(undo ? tr("&Undo %1").arg(stepCaption(*undo)) : tr("&Undo"));
    mRedo->setEnabled(redo.has_value());
    mRedo->setText(redo ? tr("&Redo %1").arg(stepCaption(*redo)) : tr("&Redo"));
    // The drawing commands act on a pair sprite or a tile of an array; a
    // tile keeps its name and its place in its array.
    const bool sprite = declaresSprite(mDocument.code(), mDocument.name());
    const bool tile = mDocument.currentTile().has_value();
    for (QAction* action : mSpriteActions)
        action->setEnabled(sprite || (tile && action != mRenameAction && action != mRemoveAction));
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (mSession->mayEnd())
        event->accept();
    else
        event->ignore();
}

} // namespace bitloom
