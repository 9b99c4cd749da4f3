// The file session and the file on disk: other programs' changes to it,
// other Bitlooms that have it open, and unsaved work kept for a restart.
#include "filesession.h"

#include "io/codefile.h"
#include "io/filelock.h"
#include "io/filewatch.h"
#include "io/recovery.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

namespace bitloom {

namespace {

bool samePath(const QString& a, const QString& b)
{
    return !a.isEmpty() && !b.isEmpty() && QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

} // namespace

void FileSession::setRecoveryDelay(int milliseconds)
{
    mRecoveryTimer->setInterval(milliseconds);
}

void FileSession::belongTo(const QString& path, const std::string* bytes)
{
    if (path.isEmpty()) {
        mWatch->stop();
        mFileLock->release();
        return;
    }
    const bool alreadyOurs = samePath(path, mWatch->path());
    if (bytes)
        mWatch->watch(path, *bytes);
    else
        mWatch->watchMissing(path);
    if (!mFileLock->lock(path) && !alreadyOurs)
        showMessage(QStringLiteral("openElsewhereMessage"),
                    tr("\"%1\" is open in another Bitloom. Should both save it, the second one is asked "
                       "before it overwrites the first one's work.")
                        .arg(QDir::toNativeSeparators(path)));
}

bool FileSession::maySaveTo(const QString& path, const std::string& text)
{
    // Never write what Open would refuse to read back.
    if (const auto refusal = refusalForCodeText(text)) {
        const QString reason =
            *refusal == CodeTextRefusal::TooLarge
                ? tr("The code would be larger than 4 MiB, and Bitloom could not open it again.")
                : codeTextRefusalText(*refusal);
        showMessage(QStringLiteral("saveFailedMessage"),
                    tr("\"%1\" could not be saved: %2\nThe file on disk was left as it was.")
                        .arg(QDir::toNativeSeparators(path), reason));
        return false;
    }
    // Only a file holds work to lose; what else stands there the write
    // itself refuses or writes to as it is.
    if (!samePath(path, mWatch->path()) || !QFileInfo(path).isFile() || !mWatch->changedOnDisk())
        return true;
    QMessageBox box(QMessageBox::Warning, tr("Bitloom"),
                    tr("%1 changed on disk since Bitloom last opened or saved it. Overwrite it?")
                        .arg(QFileInfo(path).fileName()),
                    QMessageBox::Yes | QMessageBox::Cancel, &mWindow);
    box.setObjectName(QStringLiteral("overwritePrompt"));
    box.button(QMessageBox::Yes)->setText(tr("&Overwrite"));
    box.button(QMessageBox::Cancel)->setText(tr("Cancel"));
    box.setDefaultButton(QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    const bool overwrite = box.exec() == QMessageBox::Yes;
    // Declined with nothing unsaved: show the newer file instead.
    if (!overwrite && !mDocument.modified())
        reloadFromDisk();
    return overwrite;
}

void FileSession::fileChangedOnDisk()
{
    mDiskChangeWaiting = true;
    takeUpDiskChange();
}

bool FileSession::eventFilter(QObject* watched, QEvent* event)
{
    // A dialog that blocked the window closed. Taken up once it has finished
    // closing: its own caller may still act on its answer.
    if (watched == &mWindow && event->type() == QEvent::WindowUnblocked && mDiskChangeWaiting)
        QTimer::singleShot(0, this, &FileSession::takeUpDiskChange);
    return QObject::eventFilter(watched, event);
}

void FileSession::takeUpDiskChange()
{
    if (!mDiskChangeWaiting || QApplication::activeModalWidget())
        return;
    mDiskChangeWaiting = false;
    // What the dialog led to may have settled it: a save over the file, a
    // reload, another file opened.
    if (mWatch->path().isEmpty() || !mWatch->changedOnDisk() || !QFileInfo::exists(mWatch->path()))
        return;
    if (!mDocument.modified()) {
        reloadFromDisk();
        return;
    }
    QMessageBox box(QMessageBox::Question, tr("Bitloom"),
                    tr("%1 changed on disk. Reload it and lose your changes?").arg(documentName()),
                    QMessageBox::Yes | QMessageBox::No, &mWindow);
    box.setObjectName(QStringLiteral("reloadPrompt"));
    box.button(QMessageBox::Yes)->setText(tr("&Reload"));
    box.button(QMessageBox::No)->setText(tr("&Keep Mine"));
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    if (box.exec() == QMessageBox::Yes)
        reloadFromDisk();
    else
        emit statusMessage(tr("Kept your changes. Saving asks before it overwrites %1.").arg(documentName()));
}

void FileSession::fileRemovedFromDisk()
{
    const QString path = mWatch->path();
    mDocument.markUnsaved();
    emit statusMessage(tr("%1 was deleted from disk. Your sprites are still here, unsaved.")
                           .arg(QFileInfo(path).fileName()));
    showMessage(
        QStringLiteral("fileDeletedMessage"),
        tr("\"%1\" was deleted by another program.\nYour sprites are still here, unsaved: Save writes "
           "the file again.")
            .arg(QDir::toNativeSeparators(path)));
}

void FileSession::reloadFromDisk()
{
    const QString path = mWatch->path();
    const std::string current = mDocument.name();
    const CodeFileRead read = readCodeFile(path);
    QString refusal = read.error;
    if (refusal.isEmpty()) {
        if (const auto reason = mDocument.open(read.bytes, path.toStdString()))
            refusal = codeTextRefusalText(*reason);
    }
    if (!refusal.isEmpty()) {
        // What is on screen is all that is left of the work: keep it unsaved.
        mDocument.markUnsaved();
        emit statusMessage(
            tr("%1 changed on disk and could not be reloaded: %2").arg(QFileInfo(path).fileName(), refusal));
        return;
    }
    mWatch->watch(path, read.bytes);
    const std::vector<std::string>& names = mDocument.names();
    if (const auto found = std::find(names.rbegin(), names.rend(), current); found != names.rend())
        mDocument.chooseName(int(names.rend() - found) - 1);
    emit statusMessage(tr("%1 changed on disk and was reloaded.").arg(QFileInfo(path).fileName()));
}

void FileSession::workChanged(Changes changes)
{
    constexpr Changes kWork =
        CellsChanged | NameChanged | ListChanged | CodeChanged | TableChanged | ModifiedChanged | FileChanged;
    if (!(changes & kWork))
        return;
    if (mDocument.modified())
        mRecoveryTimer->start(); // restarted by each change
    else
        forgetWork();
}

void FileSession::writeRecovery()
{
    mRecoveryTimer->stop();
    if (!mDocument.modified())
        return;
    const QString error =
        mRecovery->write(QString::fromStdString(mDocument.filePath()), mDocument.name(), mDocument.code());
    if (!error.isEmpty())
        emit statusMessage(tr("Unsaved work could not be kept for recovery: %1").arg(error));
}

void FileSession::forgetWork()
{
    mRecoveryTimer->stop();
    mRecovery->discard();
}

void FileSession::keepWork()
{
    // Cells brushed since the last regeneration go into the text first, as
    // for a save: the program is about to end, so closing the brush run
    // costs nothing. (The timed writes leave a run alone and keep the text
    // as it stands.)
    if (mDocument.modified())
        mDocument.textToSave();
    writeRecovery();
}

bool FileSession::offerRecovery()
{
    std::vector<LeftWork> left = mRecovery->claimLeftWork();
    for (LeftWork& work : left) {
        const QString file =
            work.originalPath.isEmpty() ? tr("Untitled") : QFileInfo(work.originalPath).fileName();
        const QDateTime local = work.writtenAt.toLocalTime();
        const QString when = local.date() == QDate::currentDate()
                                 ? local.toString(QStringLiteral("HH:mm"))
                                 : local.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
        QMessageBox box(
            QMessageBox::Question, tr("Bitloom"),
            tr("Bitloom closed without saving. Recover the sprites from %1 (%2)?").arg(when, file),
            QMessageBox::Yes | QMessageBox::Discard, &mWindow);
        box.setObjectName(QStringLiteral("recoveryPrompt"));
        box.button(QMessageBox::Yes)->setText(tr("&Recover"));
        box.button(QMessageBox::Discard)->setText(tr("&Discard"));
        box.setDefaultButton(QMessageBox::Yes);
        const int answer = box.exec();
        if (answer == QMessageBox::Discard) {
            Recovery::remove(work);
            continue;
        }
        if (answer != QMessageBox::Yes)
            return false; // closed unanswered: it is offered again next time
        if (mDocument.open(work.text, work.originalPath.toStdString())) {
            showMessage(QStringLiteral("recoveryFailedMessage"),
                        tr("The sprites from %1 (%2) could not be recovered: the kept file is damaged.")
                            .arg(when, file));
            continue;
        }
        const std::vector<std::string>& names = mDocument.names();
        if (const auto found = std::find(names.rbegin(), names.rend(), work.currentName);
            found != names.rend())
            mDocument.chooseName(int(names.rend() - found) - 1);
        mDocument.markUnsaved();
        // The work is this instance's now: kept under its own name before
        // the old file goes, so that a crash in between loses nothing.
        writeRecovery();
        Recovery::remove(work);
        // The file is compared as it is now: a save over it later asks
        // only if it changes from here on. (What is on disk now may well
        // be older than the work, which is why the work stays unsaved.)
        if (!work.originalPath.isEmpty()) {
            const CodeFileRead onDisk = readCodeFile(work.originalPath);
            belongTo(work.originalPath, onDisk.error.isEmpty() ? &onDisk.bytes : nullptr);
        }
        emit statusMessage(tr("Recovered the sprites from %1 (%2). They are not saved yet.").arg(when, file));
        return true;
    }
    return false;
}

} // namespace bitloom
