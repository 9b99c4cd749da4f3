#pragma once

#include "document/document.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <optional>
#include <string>

class QAction;
class QMenu;
class QTimer;
class QMdiArea;
class QMdiSubWindow;

namespace bitloom {

class CodeWindow;
class Editor;
class FileLock;
class FileWatch;
class Recovery;
class SheetWindow;
class StatusBar;
class WindowMenu;

// The main window: a multiple-document frame with an empty strip on top, the
// File, Edit, Tile and Window menus, a status bar, and three child windows:
// the sprite editor and the code window side by side, the Sprites window
// below the editor. It owns the document and runs the file commands.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow();
    ~MainWindow() override;

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

    // Asks for a file name: to open (`forSaving` false) or to save as, of a
    // code text or a PNG image. The default shows the file dialog; tests
    // answer in its place.
    enum class FileKind { Code, Png };
    using FileChooser = std::function<QString(bool forSaving, const QString& suggested, FileKind kind)>;
    void setFileChooser(FileChooser chooser) { mChooseFile = std::move(chooser); }

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
    // Asks for a sprite's new name, starting from `current`; none when the
    // user cancels. The default shows a dialog; tests answer in its place.
    using NameAsker = std::function<std::optional<QString>(const QString& current)>;
    void setNameAsker(NameAsker asker) { mAskName = std::move(asker); }
    // Asks for the width in pixels of an array's image; 0 when cancelled.
    using WidthAsker = std::function<int(const QString& array, int current)>;
    void setWidthAsker(WidthAsker asker) { mAskWidth = std::move(asker); }

    Document& document() { return mDocument; }
    Editor* editor() const { return mEditor; }
    CodeWindow* codeWindow() const { return mCodeWindow; }
    QMdiSubWindow* editorWindow() const { return mEditorWindow; }
    QMdiSubWindow* codeSubWindow() const { return mCodeSubWindow; }
    SheetWindow* sheet() const { return mSheet; }
    QMdiSubWindow* sheetWindow() const { return mSheetWindow; }
    QMdiArea* mdiArea() const { return mMdiArea; }
    WindowMenu* windowMenu() const { return mWindowMenu; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void createWindows();
    void showDocument(Changes changes);
    void showTitle();
    void showHistory();
    static QString stepCaption(StepKind kind);

    void newSheet();
    void open();
    bool save();
    bool saveAs();
    void exportSprite();
    void exportSheet();
    void importPng();
    void importImage(const QString& path);
    void clearTile();
    void quit();
    void renameSprite();
    void copySprite();
    void pasteSprite();
    void buildWindowMenu();
    // Tile > Layout (mainwindowlayouts.cpp).
    void buildLayoutMenu(QMenu& tile);
    void showLayoutMenu();
    void chooseImageWidth();
    static LayoutChoice layoutChoice(const QString& path, std::string_view array);
    void storeLayoutChoice(std::string_view array, const LayoutChoice& choice);
    // The document reads its tiles again with the choices remembered now.
    void rereadTiles();
    // Save As: the choices for `from` hold for `to` as well.
    static void carryLayoutChoices(const QString& from, const QString& to);
    void buildStatusBar();
    // Whether the user lets an import change these existing sprites.
    bool confirmReplacing(const std::vector<std::string>& names);

    // With unsaved changes, asks whether to save them first. False when the
    // user cancels or the save fails: the caller must not go on.
    bool maybeSave();
    bool saveTo(const QString& path);

    // The file on disk (mainwindowdisk.cpp): watched for other programs'
    // changes, locked against other Bitlooms, and the unsaved work kept in
    // a recovery file.
    void setUpDiskWatch();
    // The document now belongs to `path` (empty: to no file), whose bytes
    // are `bytes` (null: it does not exist yet).
    void belongTo(const QString& path, const std::string* bytes);
    // Whether the text may be written to `path`: Open would read it back, and
    // the user agrees to overwrite a file that changed on disk.
    bool maySaveTo(const QString& path, const std::string& text);
    void fileChangedOnDisk();
    void fileRemovedFromDisk();
    void reloadFromDisk();
    void workChanged(Changes changes);
    void writeRecovery();
    // The work was saved or discarded: the recovery file goes.
    void forgetWork();
    QString documentName() const;
    void showMessage(const QString& objectName, const QString& text, bool warning = true);

    Document mDocument;
    FileChooser mChooseFile;
    NameAsker mAskName;
    QMdiArea* mMdiArea;
    CodeWindow* mCodeWindow;
    Editor* mEditor;
    SheetWindow* mSheet;
    QMdiSubWindow* mEditorWindow = nullptr;
    QMdiSubWindow* mCodeSubWindow = nullptr;
    QMdiSubWindow* mSheetWindow = nullptr;
    QAction* mUndo = nullptr;
    QAction* mRedo = nullptr;
    QAction* mRenameAction = nullptr;
    QAction* mRemoveAction = nullptr;
    QAction* mImageWidthAction = nullptr;
    QAction* mResetLayoutsAction = nullptr;
    std::vector<std::pair<QAction*, LayoutChoice>> mLayoutActions;
    WidthAsker mAskWidth;
    bool mSizedToChildren = false;
    FileWatch* mWatch = nullptr;
    std::unique_ptr<FileLock> mFileLock;
    std::unique_ptr<Recovery> mRecovery;
    QTimer* mRecoveryTimer = nullptr;
    bool mAskingAboutDisk = false;
    WindowMenu* mWindowMenu = nullptr;
    StatusBar* mStatusBar = nullptr;
    Subscription mShowing;  // the menus and the title mirror the document
    Subscription mWatching; // unsaved work is kept for recovery
};

} // namespace bitloom
