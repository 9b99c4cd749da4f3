#include "mainwindow.h"

#include "codeview.h"
#include "codewindow.h"
#include "io/codefile.h"
#include "io/filelock.h"
#include "io/pngfile.h"
#include "io/recovery.h"
#include "screenfit.h"
#include "statusbar.h"
#include "ui/editor/cellwidget.h"
#include "ui/editor/editor.h"
#include "ui/editor/spritenamebox.h"
#include "ui/pictures.h"
#include "ui/sheet/sheetwindow.h"
#include "ui/twips.h"
#include "windowmenu.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QInputDialog>
#include <QLayout>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include <unordered_map>

namespace bitloom {

namespace {

QString askForFile(QWidget* parent, bool forSaving, const QString& suggested, MainWindow::FileKind kind)
{
    const QString filter = kind == MainWindow::FileKind::Png
                               ? pngFileFilter()
                               : MainWindow::tr("C headers (*.h);;C sources (*.c);;All files (*)");
    if (forSaving)
        return QFileDialog::getSaveFileName(parent, MainWindow::tr("Save As"), suggested, filter);
    return QFileDialog::getOpenFileName(parent, MainWindow::tr("Open"), suggested, filter);
}

// Lists what opening a file could not take in; long lists are cut short.
QString describe(const OpenReport& report)
{
    constexpr std::size_t kShown = 20;
    QStringList parts;
    if (!report.unreadableLines.empty()) {
        QStringList lines;
        for (std::size_t i = 0; i < std::min(kShown, report.unreadableLines.size()); ++i)
            lines << QString::number(report.unreadableLines[i]);
        if (report.unreadableLines.size() > kShown)
            lines << MainWindow::tr("and %1 more").arg(report.unreadableLines.size() - kShown);
        parts << MainWindow::tr("The declarations on these lines could not be read and count for nothing "
                                "(their lines stay in the code): %1.")
                     .arg(lines.join(QStringLiteral(", ")));
    }
    if (!report.notRegistered.empty()) {
        QStringList names;
        for (std::size_t i = 0; i < std::min(kShown, report.notRegistered.size()); ++i)
            names << QStringLiteral("\"%1\"").arg(QString::fromStdString(report.notRegistered[i]));
        if (report.notRegistered.size() > kShown)
            names << MainWindow::tr("and %1 more").arg(report.notRegistered.size() - kShown);
        parts << MainWindow::tr("The sprite table holds %1 sprites, so these names were not added "
                                "(their lines stay in the code): %2.")
                     .arg(kSpriteTableSize)
                     .arg(names.join(QStringLiteral(", ")));
    }
    return parts.join(QStringLiteral("\n\n"));
}

} // namespace

MainWindow::MainWindow()
    : mChooseFile([this](bool forSaving, const QString& suggested, FileKind kind) {
          return askForFile(this, forSaving, suggested, kind);
      }),
      mMdiArea(new QMdiArea),
      mCodeWindow(new CodeWindow(mDocument)),
      mEditor(new Editor(mDocument)),
      mSheet(new SheetWindow(mDocument))
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
    buildStatusBar();

    // The window alone reads tiles with the user's layout choices.
    rereadTiles();
    mShowing = mDocument.subscribe([this](const DocumentChange& change) { showDocument(change.changes); });
    showDocument(~0u & ~Refused);
    setUpDiskWatch();
}

MainWindow::~MainWindow()
{
    // The windows go before the document they mirror, and the status bar,
    // which reads the editor, before them.
    delete mStatusBar;
    delete takeCentralWidget();
}

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
    addItem(file, "newAction", tr("&New"), &MainWindow::newSheet, {QKeySequence::New});
    addItem(file, "openAction", tr("&Open"), &MainWindow::open, {QKeySequence::Open});
    addItem(file, "saveAction", tr("&Save"), &MainWindow::save, {QKeySequence::Save});
    addItem(file, "saveAsAction", tr("Save &As"), &MainWindow::saveAs,
            {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)});
    file->addSeparator();
    QMenu* exports = file->addMenu(tr("&Export"));
    exports->setObjectName(QStringLiteral("exportMenu"));
    exports->menuAction()->setObjectName(QStringLiteral("exportMenu"));
    addItem(exports, "exportSpriteAction", tr("Export S&prite as PNG…"), &MainWindow::exportSprite);
    addItem(exports, "exportSheetAction", tr("Export S&heet as PNG…"), &MainWindow::exportSheet);
    addItem(file, "importAction", tr("&Import PNG…"), &MainWindow::importPng);
    file->addSeparator();
    addItem(file, "quitAction", tr("&Quit"), &MainWindow::quit, {QKeySequence(Qt::CTRL | Qt::Key_Q)});

    QMenu* edit = addMenu("editMenu", tr("&Edit"));
    mUndo = addItem(edit, "undoAction", tr("&Undo"), [this] { mDocument.undo(); },
                    {QKeySequence(Qt::CTRL | Qt::Key_Z)});
    mRedo = addItem(edit, "redoAction", tr("&Redo"), [this] { mDocument.redo(); },
                    {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});

    QMenu* tile = addMenu("tileMenu", tr("&Tile"));
    addItem(tile, "clearTileAction", tr("&Clear Tile"), &MainWindow::clearTile);
    mRemoveAction = addItem(tile, "removeTileAction", tr("&Remove Tile"), [this] { mDocument.removeTile(); });

    tile->addSeparator();
    mRenameAction = addItem(tile, "renameSpriteAction", tr("Re&name Sprite…"), &MainWindow::renameSprite,
                            {QKeySequence(Qt::Key_F2)});
    addItem(tile, "duplicateSpriteAction", tr("&Duplicate Sprite"), [this] { mDocument.duplicateSprite(); },
            {QKeySequence(Qt::CTRL | Qt::Key_D)});
    tile->addSeparator();
    addItem(tile, "flipHorizontallyAction", tr("Flip &Horizontally"),
            [this] { mDocument.flipHorizontally(); });
    addItem(tile, "flipVerticallyAction", tr("Flip &Vertically"), [this] { mDocument.flipVertically(); });
    addItem(tile, "rotateClockwiseAction", tr("Rotate C&lockwise"), [this] { mDocument.rotateClockwise(); });
    addItem(tile, "rotateAnticlockwiseAction", tr("Rotate &Anticlockwise"),
            [this] { mDocument.rotateAnticlockwise(); });
    QMenu* shift = tile->addMenu(tr("&Shift"));
    shift->setObjectName(QStringLiteral("shiftMenu"));
    shift->menuAction()->setObjectName(QStringLiteral("shiftMenu"));
    addItem(shift, "shiftUpAction", tr("&Up"), [this] { mDocument.shiftDrawing(-1, 0); });
    addItem(shift, "shiftDownAction", tr("&Down"), [this] { mDocument.shiftDrawing(1, 0); });
    addItem(shift, "shiftLeftAction", tr("&Left"), [this] { mDocument.shiftDrawing(0, -1); });
    addItem(shift, "shiftRightAction", tr("&Right"), [this] { mDocument.shiftDrawing(0, 1); });
    addItem(tile, "invertShadesAction", tr("&Invert Shades"), [this] { mDocument.invertShades(); });
    // Last in the Tile menu: L is taken by Rotate Clockwise.
    buildLayoutMenu(*tile);

    // Copy and Paste act on sprites only while the grid or the Sprites
    // window has the focus: the actions belong to those windows as well as
    // to the menu, and in the name box and the code window the keys stay
    // with the text.
    edit->addSeparator();
    QAction* copy = addItem(edit, "copySpriteAction", tr("&Copy Sprite"), &MainWindow::copySprite,
                            {QKeySequence(Qt::CTRL | Qt::Key_C)});
    QAction* paste = addItem(edit, "pasteSpriteAction", tr("&Paste Sprite"), &MainWindow::pasteSprite,
                             {QKeySequence(Qt::CTRL | Qt::Key_V)});
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
}

void MainWindow::showDocument(Changes changes)
{
    if (changes & (FileChanged | ModifiedChanged))
        showTitle();
    if (changes & HistoryChanged)
        showHistory();
    if (changes & (NameChanged | ListChanged | TableChanged | FileChanged))
        showLayoutMenu();
}

QString MainWindow::documentName() const
{
    return mDocument.filePath().empty() ? tr("Untitled")
                                        : QFileInfo(QString::fromStdString(mDocument.filePath())).fileName();
}

void MainWindow::showTitle()
{
    const QString caption = QStringLiteral("BITLOOM by VELDRA SOFTWARE");
    // A fresh, untouched sheet keeps the plain caption.
    const bool plain = mDocument.filePath().empty() && !mDocument.modified();
    setWindowTitle(plain ? caption : documentName() + QStringLiteral("[*] - ") + caption);
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

void MainWindow::showHistory()
{
    const auto undo = mDocument.undoKind();
    const auto redo = mDocument.redoKind();
    mUndo->setEnabled(undo.has_value());
    mUndo->setText(undo ? tr("&Undo %1").arg(stepCaption(*undo)) : tr("&Undo"));
    mRedo->setEnabled(redo.has_value());
    mRedo->setText(redo ? tr("&Redo %1").arg(stepCaption(*redo)) : tr("&Redo"));
}

void MainWindow::showMessage(const QString& objectName, const QString& text, bool warning)
{
    auto* box = new QMessageBox(warning ? QMessageBox::Warning : QMessageBox::Information, tr("Bitloom"),
                                text, QMessageBox::Ok, this);
    box->setObjectName(objectName);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

bool MainWindow::maybeSave()
{
    if (!mDocument.modified())
        return true;
    QMessageBox box(QMessageBox::Question, tr("Bitloom"), tr("Save changes to %1?").arg(documentName()),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.setObjectName(QStringLiteral("savePrompt"));
    box.button(QMessageBox::Save)->setText(tr("&Save"));
    box.button(QMessageBox::Discard)->setText(tr("&Discard"));
    box.button(QMessageBox::Cancel)->setText(tr("Cancel"));
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Save: return save();
    case QMessageBox::Discard: return true;
    default: return false;
    }
}

bool MainWindow::saveTo(const QString& path)
{
    const std::string& text = mDocument.textToSave();
    if (!maySaveTo(path, text))
        return false;
    const QString error = writeCodeFile(path, text);
    if (!error.isEmpty()) {
        showMessage(QStringLiteral("saveFailedMessage"),
                    tr("\"%1\" could not be saved: %2\nThe file on disk was left as it was.")
                        .arg(QDir::toNativeSeparators(path), error));
        return false;
    }
    carryLayoutChoices(QString::fromStdString(mDocument.filePath()), path);
    mDocument.markSaved(path.toStdString());
    belongTo(path, &text);
    return true;
}

void MainWindow::newSheet()
{
    if (maybeSave()) {
        mDocument.newDocument();
        belongTo({}, nullptr);
    }
}

void MainWindow::open()
{
    if (!maybeSave())
        return;
    const QString path = mChooseFile(false, {}, FileKind::Code);
    if (!path.isEmpty())
        openFile(path);
}

bool MainWindow::openFile(const QString& path)
{
    const CodeFileRead read = readCodeFile(path);
    QString refusal = read.error;
    OpenReport report;
    if (refusal.isEmpty()) {
        if (const auto reason = mDocument.open(read.bytes, path.toStdString(), &report))
            refusal = codeTextRefusalText(*reason);
    }
    if (!refusal.isEmpty()) {
        showMessage(QStringLiteral("openFailedMessage"),
                    tr("\"%1\" could not be opened: %2\nNothing was changed.")
                        .arg(QDir::toNativeSeparators(path), refusal));
        return false;
    }
    belongTo(path, &read.bytes);
    if (!report.empty())
        showMessage(QStringLiteral("openReport"), describe(report), false);
    return true;
}

void MainWindow::startWith(const QString& path)
{
    const QFileInfo info(path);
    if (info.suffix().compare(QLatin1String("png"), Qt::CaseInsensitive) == 0)
        startFromImage(path);
    else if (!info.exists() && !info.isSymLink())
        startNewFile(path);
    else
        openFile(path);
}

void MainWindow::startNewFile(const QString& path)
{
    mDocument.newDocument();
    // Nothing is written yet: the sheet only belongs to the file.
    mDocument.markSaved(path.toStdString());
    belongTo(path, nullptr);
}

void MainWindow::startFromImage(const QString& path)
{
    mDocument.newDocument();
    belongTo({}, nullptr);
    importImage(path);
}

bool MainWindow::save()
{
    if (mDocument.filePath().empty())
        return saveAs();
    return saveTo(QString::fromStdString(mDocument.filePath()));
}

bool MainWindow::saveAs()
{
    const QString suggested = mDocument.filePath().empty() ? QStringLiteral("sprites.h")
                                                           : QString::fromStdString(mDocument.filePath());
    const QString path = mChooseFile(true, suggested, FileKind::Code);
    return !path.isEmpty() && saveTo(path);
}

void MainWindow::clearTile()
{
    mDocument.clearTile();
}

void MainWindow::quit()
{
    close();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (maybeSave()) {
        forgetWork();
        event->accept();
    } else
        event->ignore();
}

} // namespace bitloom
