#pragma once

#include "document/document.h"

#include <QMainWindow>

#include <functional>
#include <optional>
#include <vector>

class QAction;
class QMenu;
class QMdiArea;
class QMdiSubWindow;

namespace bitloom {

class CodeWindow;
class Editor;
class FileSession;
class RecentFiles;
class ShortcutsWindow;
class SheetWindow;
class StatusBar;
class WindowMenu;

// The main window: a multiple-document frame with an empty strip on top, the
// File, Edit, Tile, Window and Help menus, a status bar, and three child windows:
// the sprite editor and the code window side by side, the Sprites window
// below the editor. It shows `document`, which outlives it; its file session
// runs the file commands.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(Document& document);
    ~MainWindow() override;

    // Asks for a sprite's new name, starting from `current`; none when the
    // user cancels. The default shows a dialog; tests answer in its place.
    using NameAsker = std::function<std::optional<QString>(const QString& current)>;
    void setNameAsker(NameAsker asker) { mAskName = std::move(asker); }
    // Asks for the width in pixels of an array's image; 0 when cancelled.
    using WidthAsker = std::function<int(const QString& array, int current)>;
    void setWidthAsker(WidthAsker asker) { mAskWidth = std::move(asker); }

    Document& document() { return mDocument; }
    FileSession& session() const { return *mSession; }
    RecentFiles& recentFiles() const { return *mRecent; }
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
    // Enables each action that can act on the document as it is, and
    // names the steps Undo and Redo would take.
    void updateActions();
    static QString stepCaption(StepKind kind);

    void renameSprite();
    void copySprite();
    void pasteSprite();
    void buildWindowMenu();
    void buildHelpMenu();
    void showShortcuts();
    // Tile > Layout (mainwindowlayouts.cpp).
    void buildLayoutMenu(QMenu& tile);
    void showLayoutMenu();
    void chooseImageWidth();
    static LayoutChoice layoutChoice(const QString& path, std::string_view array);
    void storeLayoutChoice(std::string_view array, const LayoutChoice& choice);
    // The document reads its tiles again with the choices remembered now.
    void rereadTiles();
    void buildStatusBar();

    Document& mDocument;
    NameAsker mAskName;
    QMdiArea* mMdiArea;
    CodeWindow* mCodeWindow;
    Editor* mEditor;
    SheetWindow* mSheet;
    FileSession* mSession;
    QMdiSubWindow* mEditorWindow = nullptr;
    QMdiSubWindow* mCodeSubWindow = nullptr;
    QMdiSubWindow* mSheetWindow = nullptr;
    QAction* mUndo = nullptr;
    QAction* mRedo = nullptr;
    std::vector<QAction*> mSpriteActions; // enabled while the current name is a sprite
    QAction* mRenameAction = nullptr;
    QAction* mRemoveAction = nullptr;
    QAction* mImageWidthAction = nullptr;
    QAction* mResetLayoutsAction = nullptr;
    std::vector<std::pair<QAction*, LayoutChoice>> mLayoutActions;
    WidthAsker mAskWidth;
    bool mSizedToChildren = false;
    WindowMenu* mWindowMenu = nullptr;
    StatusBar* mStatusBar = nullptr;
    Subscription mShowing; // the menus and the title mirror the document
    RecentFiles* mRecent = nullptr;
    ShortcutsWindow* mShortcuts = nullptr;
};

} // namespace bitloom
