#pragma once

#include <QMainWindow>

class QMdiArea;
class QMdiSubWindow;

namespace bitloom {

class CodeWindow;
class Editor;

// The main window "başform": a multiple-document frame with the empty strip
// Picture1 on top, the "File" and "Tile" menus, and two child windows, the
// sprite editor and the code window, opened side by side at start-up.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow();

    Editor* editor() const { return mEditor; }
    CodeWindow* generator() const { return mGenerator; }
    QMdiSubWindow* editorWindow() const { return mEditorWindow; }
    QMdiSubWindow* generatorWindow() const { return mGeneratorWindow; }
    QMdiArea* mdiArea() const { return mMdiArea; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildMenus();
    void MDIForm_Load();
    void mnuclear_Click();
    void mnuQuit_Click();

    QMdiArea* mMdiArea;
    CodeWindow* mGenerator;
    Editor* mEditor;
    QMdiSubWindow* mEditorWindow = nullptr;
    QMdiSubWindow* mGeneratorWindow = nullptr;
    bool mSizedToChildren = false;
};

} // namespace bitloom
