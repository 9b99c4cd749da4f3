// The main window and the file on disk: other programs' changes to it,
// other Bitlooms that have it open, and unsaved work kept for a restart.
#include "mainwindow.h"

#include "io/codefile.h"
#include "io/filelock.h"
#include "io/filewatch.h"
#include "io/recovery.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>

namespace bitloom {

namespace {

// Unsaved work is written this long after the last change.
constexpr int kRecoveryDelayMs = 5000;

bool samePath(const QString& a, const QString& b)
{
    return !a.isEmpty() && !b.isEmpty() && QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

} // namespace

void MainWindow::setUpDiskWatch()
{
    mWatch = new FileWatch(this);
    mFileLock = std::make_unique<FileLock>();
    mRecovery = std::make_unique<Recovery>();
    mRecoveryTimer = new QTimer(this);
    mRecoveryTimer->setSingleShot(true);
    mRecoveryTimer->setInterval(kRecoveryDelayMs);
    connect(mRecoveryTimer, &QTimer::timeout, this, &MainWindow::writeRecovery);
    connect(mWatch, &FileWatch::fileChanged, this, &MainWindow::fileChangedOnDisk);
    connect(mWatch, &FileWatch::fileRemoved, this, &MainWindow::fileRemovedFromDisk);
    mWatching = mDocument.subscribe([this](const DocumentChange& change) { workChanged(change.changes); });
}

void MainWindow::setRecoveryDelay(int milliseconds)
{
    mRecoveryTimer->setInterval(milliseconds);
}

void MainWindow::belongTo(const QString& path, const std::string* bytes)
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

bool MainWindow::maySaveTo(const QString& path, const std::string& text)
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
                    QMessageBox::Yes | QMessageBox::Cancel, this);
    box.setObjectName(QStringLiteral("overwritePrompt"));
    box.button(QMessageBox::Yes)->setText(tr("&Overwrite"));
    box.button(QMessageBox::Cancel)->setText(tr("Cancel"));
    box.setDefaultButton(QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    mAskingAboutDisk = true;
    const bool overwrite = box.exec() == QMessageBox::Yes;
    mAskingAboutDisk = false;
    // Declined with nothing unsaved: show the newer file instead.
    if (!overwrite && !mDocument.modified())
        reloadFromDisk();
    return overwrite;
}

void MainWindow::fileChangedOnDisk()
{
    if (mAskingAboutDisk)
        return; // the answer being asked for reads the newest file anyway
    if (!mDocument.modified()) {
        reloadFromDisk();
        return;
    }
    QMessageBox box(QMessageBox::Question, tr("Bitloom"),
                    tr("%1 changed on disk. Reload it and lose your changes?").arg(documentName()),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setObjectName(QStringLiteral("reloadPrompt"));
    box.button(QMessageBox::Yes)->setText(tr("&Reload"));
    box.button(QMessageBox::No)->setText(tr("&Keep Mine"));
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    mAskingAboutDisk = true;
    const bool reload = box.exec() == QMessageBox::Yes;
    mAskingAboutDisk = false;
    if (reload)
        reloadFromDisk();
    else
        statusBar()->showMessage(
            tr("Kept your changes. Saving asks before it overwrites %1.").arg(documentName()));
}

void MainWindow::fileRemovedFromDisk()
{
    const QString path = mWatch->path();
    mDocument.markUnsaved();
    statusBar()->showMessage(tr("%1 was deleted from disk. Your sprites are still here, unsaved.")
                                 .arg(QFileInfo(path).fileName()));
    showMessage(
        QStringLiteral("fileDeletedMessage"),
        tr("\"%1\" was deleted by another program.\nYour sprites are still here, unsaved: Save writes "
           "the file again.")
            .arg(QDir::toNativeSeparators(path)));
}

void MainWindow::reloadFromDisk()
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
        statusBar()->showMessage(
            tr("%1 changed on disk and could not be reloaded: %2").arg(QFileInfo(path).fileName(), refusal));
        return;
    }
    mWatch->watch(path, read.bytes);
    const std::vector<std::string>& names = mDocument.names();
    if (const auto found = std::find(names.rbegin(), names.rend(), current); found != names.rend())
        mDocument.chooseName(int(names.rend() - found) - 1);
    statusBar()->showMessage(tr("%1 changed on disk and was reloaded.").arg(QFileInfo(path).fileName()));
}

void MainWindow::workChanged(Changes changes)
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

void MainWindow::writeRecovery()
{
    mRecoveryTimer->stop();
    if (!mDocument.modified())
        return;
    const QString error =
        mRecovery->write(QString::fromStdString(mDocument.filePath()), mDocument.name(), mDocument.code());
    if (!error.isEmpty())
        statusBar()->showMessage(tr("Unsaved work could not be kept for recovery: %1").arg(error));
}

void MainWindow::forgetWork()
{
    mRecoveryTimer->stop();
    mRecovery->discard();
}

void MainWindow::keepWork()
{
    // Cells brushed since the last regeneration go into the text first, as
    // for a save: the program is about to end, so closing the brush run
    // costs nothing. (The timed writes leave a run alone and keep the text
    // as it stands.)
    if (mDocument.modified())
        mDocument.textToSave();
    writeRecovery();
}

bool MainWindow::offerRecovery()
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
            QMessageBox::Yes | QMessageBox::Discard, this);
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
        statusBar()->showMessage(
            tr("Recovered the sprites from %1 (%2). They are not saved yet.").arg(when, file));
        return true;
    }
    return false;
}

} // namespace bitloom
