#pragma once

#include "document/document.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QTimer;
class QWidget;

namespace bitloom {

class FileLock;
class FileWatch;
class Recovery;

// The document's life on disk: New, Open, Save and Save As, PNG export and
// import, the watch on the file for other programs' changes, the lock
// against other Bitlooms, and the recovery file that keeps unsaved work.
// Its questions and messages belong to `window`; the document and the
// window both outlive it.
class FileSession : public QObject {
    Q_OBJECT
public:
    FileSession(Document& document, QWidget& window);
    ~FileSession() override;

    // Asks for a file name: to open (`forSaving` false) or to save as, of a
    // code text or a PNG image. The default shows the file dialog; tests
    // answer in its place.
    enum class FileKind { Code, Png };
    using FileChooser = std::function<QString(bool forSaving, const QString& suggested, FileKind kind)>;
    void setFileChooser(FileChooser chooser) { mChooseFile = std::move(chooser); }

    // The file commands.
    void newSheet();
    void open();
    bool save();
    bool saveAs();
    void exportSprite();
    void exportSheet();
    // The sprites as one C array in a layout the user picks, as convert writes it.
    void exportCArray();
    void importPng();

    // Opens `path` as the document; a refusal is shown and the document
    // stays as it was. Returns whether it opened.
    bool openFile(const QString& path);
    // Starts with the file named on the command line: a .png image starts a
    // new sheet with it imported, a file that does not exist an empty sheet
    // that belongs to it, any other file is opened.
    void startWith(const QString& path);
    // An empty sheet that Save writes to `path`.
    void startNewFile(const QString& path);
    // A new sheet with the image at `path` imported; a refusal is shown.
    void startFromImage(const QString& path);

    // With unsaved changes, asks whether to save them first. False when the
    // user cancels or the save fails: the program must not end then.
    // Otherwise the kept work is dropped, saved or discarded.
    bool mayEnd();

    // Offers the work that a Bitloom which is no longer running left
    // unsaved. Returns whether the user recovered some: the document then
    // holds it, unsaved, and belongs to its original file.
    bool offerRecovery();
    // Writes the unsaved work to this instance's recovery file now and keeps
    // it there when the program ends (SIGTERM, the session ending).
    void keepWork();
    // How long after the last change the unsaved work is written.
    void setRecoveryDelay(int milliseconds);
    Recovery& recovery() const { return *mRecovery; }
    FileWatch& fileWatch() const { return *mWatch; }

    // The file's name for titles and questions, or "Untitled".
    QString documentName() const;

signals:
    // A passing note for the status bar.
    void statusMessage(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool maybeSave();
    bool saveTo(const QString& path);
    void importImage(const QString& path);
    // Whether the user lets an import change these existing sprites.
    bool confirmReplacing(const std::vector<std::string>& names);

    // The document now belongs to `path` (empty: to no file), whose bytes
    // are `bytes` (null: it does not exist yet).
    void belongTo(const QString& path, const std::string* bytes);
    // Whether the text may be written to `path`: Open would read it back, and
    // the user agrees to overwrite a file that changed on disk.
    bool maySaveTo(const QString& path, const std::string& text);
    // A change on disk is taken up once no dialog is open: a question asked
    // from inside another dialog would stack on it, and that dialog's
    // answer may settle the change anyway (a save over the file, a reload).
    void fileChangedOnDisk();
    void takeUpDiskChange();
    void fileRemovedFromDisk();
    void reloadFromDisk();
    void workChanged(Changes changes);
    void writeRecovery();
    // The work was saved or discarded: the recovery file goes.
    void forgetWork();
    void showMessage(const QString& objectName, const QString& text, bool warning = true);

    Document& mDocument;
    QWidget& mWindow;
    FileChooser mChooseFile;
    FileWatch* mWatch;
    std::unique_ptr<FileLock> mFileLock;
    std::unique_ptr<Recovery> mRecovery;
    QTimer* mRecoveryTimer;
    bool mDiskChangeWaiting = false;
    Subscription mWatching; // unsaved work is kept for recovery
};

// Shows a message that does not block: a warning, or a note.
void showMessage(QWidget& parent, const QString& objectName, const QString& text, bool warning = true);

} // namespace bitloom
