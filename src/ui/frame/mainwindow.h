#pragma once

#include "document/document.h"

#include <QMainWindow>

#include <functional>

class QAction;
class QMdiArea;
class QMdiSubWindow;

namespace bitloom {

class CodeWindow;
class Editor;
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
    void buildWindowMenu();
    void buildStatusBar();
    // Whether the user lets an import change these existing sprites.
    bool confirmReplacing(const std::vector<std::string>& names);

    // With unsaved changes, asks whether to save them first. False when the
    // user cancels or the save fails: the caller must not go on.
    bool maybeSave();
    bool saveTo(const QString& path);
    QString documentName() const;
    void showMessage(const QString& objectName, const QString& text, bool warning = true);

    Document mDocument;
    FileChooser mChooseFile;
    QMdiArea* mMdiArea;
    CodeWindow* mCodeWindow;
    Editor* mEditor;
    SheetWindow* mSheet;
    QMdiSubWindow* mEditorWindow = nullptr;
    QMdiSubWindow* mCodeSubWindow = nullptr;
    QMdiSubWindow* mSheetWindow = nullptr;
    QAction* mUndo = nullptr;
    QAction* mRedo = nullptr;
    bool mSizedToChildren = false;
    WindowMenu* mWindowMenu = nullptr;
    StatusBar* mStatusBar = nullptr;
};

} // namespace bitloom
