#include "filesession.h"

#include "layoutchoices.h"

#include "codegen/arraywriter.h"
#include "document/unsavedtext.h"
#include "io/codefile.h"
#include "io/filelock.h"
#include "io/filewatch.h"
#include "io/pngfile.h"
#include "io/recovery.h"
#include "io/recoverykeeper.h"
#include "model/transform.h"
#include "ui/sheet/carraydialog.h"
#include "ui/sheet/exportscaledialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

namespace bitloom {

namespace {

QString askForFile(QWidget* parent, bool forSaving, const QString& suggested, FileSession::FileKind kind)
{
    const QString filter = kind != FileSession::FileKind::Code
                               ? pngFileFilter()
                               : FileSession::tr("C headers (*.h);;C sources (*.c);;All files (*)");
    if (forSaving) {
        const QString title = kind == FileSession::FileKind::Sheet ? FileSession::tr("Export Sheet")
                                                                   : FileSession::tr("Save As");
        return QFileDialog::getSaveFileName(parent, title, suggested, filter);
    }
    return QFileDialog::getOpenFileName(parent, FileSession::tr("Open"), suggested, filter);
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
            lines << FileSession::tr("and %1 more").arg(report.unreadableLines.size() - kShown);
        parts << FileSession::tr("The declarations on these lines could not be read and count for nothing "
                                 "(their lines stay in the code): %1.")
                     .arg(lines.join(QStringLiteral(", ")));
    }
    if (!report.notRegistered.empty()) {
        QStringList names;
        for (std::size_t i = 0; i < std::min(kShown, report.notRegistered.size()); ++i)
            names << QStringLiteral("\"%1\"").arg(QString::fromStdString(report.notRegistered[i]));
        if (report.notRegistered.size() > kShown)
            names << FileSession::tr("and %1 more").arg(report.notRegistered.size() - kShown);
        parts << FileSession::tr("The sprite table holds %1 sprites, so these names were not added "
                                 "(their lines stay in the code): %2.")
                     .arg(kSpriteTableSize)
                     .arg(names.join(QStringLiteral(", ")));
    }
    return parts.join(QStringLiteral("\n\n"));
}

} // namespace

FileSession::FileSession(Document& document, QWidget& window)
    : QObject(&window),
      mDocument(document),
      mWindow(window),
      mChooseFile([this](bool forSaving, const QString& suggested, FileKind kind) {
          return askForFile(&mWindow, forSaving, suggested, kind);
      }),
      mWatch(new FileWatch(this)),
      mFileLock(std::make_unique<FileLock>()),
      mRecovery(std::make_unique<Recovery>()),
      // The work is taken here when a write is due, the cells of an open
      // brush run included without ending the run, and written on a thread
      // of the keeper's own.
      mKeeper(new RecoveryKeeper(
          *mRecovery,
          [this]() -> std::optional<UnsavedWork> {
              if (!mDocument.modified())
                  return std::nullopt;
              return UnsavedWork{QString::fromStdString(mDocument.filePath()), mDocument.name(),
                                 codeWithBrushedCells(mDocument)};
          },
          this))
{
    connect(mWatch, &FileWatch::fileChanged, this, &FileSession::fileChangedOnDisk);
    connect(mWatch, &FileWatch::fileRemoved, this, &FileSession::fileRemovedFromDisk);
    // The window hears when the last dialog that blocked it closes.
    mWindow.installEventFilter(this);
    mWatching = mDocument.subscribe([this](const DocumentChange& change) { workChanged(change.changes); });
}

FileSession::~FileSession() = default;

void showMessage(QWidget& parent, const QString& objectName, const QString& text, bool warning)
{
    auto* box = new QMessageBox(warning ? QMessageBox::Warning : QMessageBox::Information,
                                FileSession::tr("Bitloom"), text, QMessageBox::Ok, &parent);
    box->setObjectName(objectName);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void FileSession::showMessage(const QString& objectName, const QString& text, bool warning)
{
    bitloom::showMessage(mWindow, objectName, text, warning);
}

QString FileSession::documentName() const
{
    return mDocument.filePath().empty() ? tr("Untitled")
                                        : QFileInfo(QString::fromStdString(mDocument.filePath())).fileName();
}

bool FileSession::maybeSave()
{
    if (!mDocument.modified())
        return true;
    QString question = tr("Save changes to %1?").arg(documentName());
    // Work that could not be kept for recovery is lost unless saved now.
    if (const QString problem = mKeeper->problem(); !problem.isEmpty())
        question += tr("\n\nUnsaved work is not kept for recovery: %1").arg(problem);
    QMessageBox box(QMessageBox::Question, tr("Bitloom"), question,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, &mWindow);
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

bool FileSession::mayEnd()
{
    if (!maybeSave())
        return false;
    forgetWork();
    return true;
}

bool FileSession::saveTo(const QString& path)
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
    emit fileUsed(path);
    return true;
}

void FileSession::newSheet()
{
    if (maybeSave()) {
        mDocument.newDocument();
        belongTo({}, nullptr);
    }
}

void FileSession::open()
{
    if (!maybeSave())
        return;
    const QString path = mChooseFile(false, {}, FileKind::Code);
    if (!path.isEmpty())
        openFile(path);
}

void FileSession::openRecent(const QString& path)
{
    if (!QFileInfo::exists(path)) {
        emit recentFileMissing(path);
        showMessage(QStringLiteral("recentFileMissingMessage"),
                    tr("\"%1\" no longer exists. It was removed from Open Recent.")
                        .arg(QDir::toNativeSeparators(path)));
        return;
    }
    if (maybeSave())
        openFile(path);
}

bool FileSession::openFile(const QString& path)
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
    emit fileUsed(path);
    if (!report.empty())
        showMessage(QStringLiteral("openReport"), describe(report), false);
    return true;
}

void FileSession::startWith(const QString& path)
{
    const QFileInfo info(path);
    if (info.suffix().compare(QLatin1String("png"), Qt::CaseInsensitive) == 0)
        startFromImage(path);
    else if (!info.exists() && !info.isSymLink())
        startNewFile(path);
    else
        openFile(path);
}

void FileSession::startNewFile(const QString& path)
{
    mDocument.newDocument();
    // Nothing is written yet: the sheet only belongs to the file.
    mDocument.markSaved(path.toStdString());
    belongTo(path, nullptr);
}

void FileSession::startFromImage(const QString& path)
{
    mDocument.newDocument();
    belongTo({}, nullptr);
    importImage(path);
}

bool FileSession::save()
{
    if (mDocument.filePath().empty())
        return saveAs();
    return saveTo(QString::fromStdString(mDocument.filePath()));
}

bool FileSession::saveAs()
{
    const QString suggested = mDocument.filePath().empty() ? QStringLiteral("sprites.h")
                                                           : QString::fromStdString(mDocument.filePath());
    const QString path = mChooseFile(true, suggested, FileKind::Code);
    return !path.isEmpty() && saveTo(path);
}

void FileSession::exportSprite()
{
    const auto scale = askExportScale(&mWindow);
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

void FileSession::exportSheet()
{
    const std::vector<std::string>& names = mDocument.names();
    if (names.empty()) {
        showMessage(QStringLiteral("exportFailedMessage"), tr("There are no named sprites to export yet."),
                    false);
        return;
    }
    const QString path = mChooseFile(true, QStringLiteral("sprites.png"), FileKind::Sheet);
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

void FileSession::exportCArray()
{
    // Pair sprites, then the tiles of arrays, as the Sprites window lists them.
    const std::vector<std::string> names = mDocument.listedNames();
    if (names.empty()) {
        showMessage(QStringLiteral("exportFailedMessage"), tr("There are no named sprites to export yet."),
                    false);
        return;
    }
    const int current = mDocument.listedIndex();
    const auto choice = askCArray(&mWindow, QStringLiteral("sprites"), current >= 0);
    if (!choice)
        return;
    const QString path = mChooseFile(true, choice->name + QStringLiteral(".h"), FileKind::Code);
    if (path.isEmpty())
        return;
    // As the Sprites window shows them: the current sprite as it is on the grid.
    std::vector<SourceDrawing> drawings;
    if (choice->allSprites) {
        const std::vector<Shades> stored = mDocument.listedDrawings();
        for (std::size_t i = 0; i < names.size(); ++i)
            drawings.push_back({names[i], int(i) == current ? painted(mDocument.grid()) : stored[i], {}});
    } else {
        drawings.push_back({mDocument.name(), painted(mDocument.grid()), {}});
    }
    const WrittenHeader header =
        writeHeader(drawings, {choice->layout, choice->name.toStdString(), choice->style,
                               QFileInfo(path).fileName().toStdString()});
    if (const QString error = writeCodeFile(path, header.text); !error.isEmpty()) {
        showMessage(QStringLiteral("exportFailedMessage"), error);
        return;
    }
    if (!header.mappedSprites.empty()) {
        QStringList mapped;
        for (const std::string& name : header.mappedSprites)
            mapped << QString::fromStdString(name);
        showMessage(
            QStringLiteral("twoShadesMessage"),
            tr("%1 holds white and black only: grey became white and dark grey black in these "
               "sprites:\n%2")
                .arg(QString::fromUtf8(layoutMenuText(choice->layout)), mapped.join(QLatin1Char('\n'))),
            false);
    }
}

void FileSession::importPng()
{
    const QString path = mChooseFile(false, {}, FileKind::Png);
    if (!path.isEmpty())
        importImage(path);
}

void FileSession::importImage(const QString& path)
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
            emit statusMessage(notGreyText(import.notGrey));
    }
    if (!refusal.isEmpty())
        showMessage(QStringLiteral("importFailedMessage"), refusal);
}

bool FileSession::confirmReplacing(const std::vector<std::string>& names)
{
    if (names.empty())
        return true;
    constexpr std::size_t kShown = 10;
    QStringList shown;
    for (std::size_t i = 0; i < std::min(kShown, names.size()); ++i)
        shown << QString::fromStdString(names[i]);
    if (names.size() > kShown)
        shown << tr("and %1 more").arg(names.size() - kShown);
    const QString question = tr("Replace %n existing sprite(s) (%1)?", nullptr, int(names.size()))
                                 .arg(shown.join(QStringLiteral(", ")));
    QMessageBox box(QMessageBox::Question, tr("Bitloom"), question, QMessageBox::Yes | QMessageBox::Cancel,
                    &mWindow);
    box.setObjectName(QStringLiteral("replacePrompt"));
    box.button(QMessageBox::Yes)->setText(tr("&Replace"));
    box.button(QMessageBox::Cancel)->setText(tr("Cancel"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Yes;
}

} // namespace bitloom
