#pragma once

#include "ui/editor/cellwidget.h"
#include "ui/editor/editor.h"
#include "ui/editor/spritenamebox.h"
#include "ui/editor/toolimage.h"
#include "ui/frame/codeview.h"
#include "ui/frame/codewindow.h"
#include "ui/frame/filesession.h"
#include "ui/frame/mainwindow.h"

#include "declarations.h"
#include "printcell.h"

#include <QAction>
#include <QFrame>
#include <QMessageBox>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

// Readable failure messages for the Qt values the tests compare.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QRect& r, std::ostream* os)
{
    *os << '(' << r.x() << ',' << r.y() << ' ' << r.width() << 'x' << r.height() << ')';
}

namespace bitloom::test {

// Names and codes of every table entry, for before/after comparisons.
std::vector<std::pair<std::string, Shades>> tableSnapshot(const Editor& editor);

// Takes the non-blocking message box named `name` that `window` shows, if
// any: its text, and the box closed.
std::optional<QString> takeMessage(const QWidget& window, const char* name);

// Runs `command`, answering the message box it opens as a modal dialog
// with `button`. Returns the box's text (and in `name` its object name), or
// nothing when none opened.
std::optional<QString> answering(QMessageBox::StandardButton button, const std::function<void()>& command,
                                 QString* name = nullptr);

// Answers the next message box that opens as a modal dialog by clicking
// `button`, as the user would.
void answerMessage(QMessageBox::StandardButton button);

// The document a test window shows, made before the window and gone after
// it, as main() keeps them.
struct HeldDocument {
    Document heldDocument;
};

// The real main window with a document of its own.
class TestWindow : private HeldDocument, public MainWindow {
public:
    TestWindow() : MainWindow(heldDocument) {}
};

// The real main window, shown, driven the way a user drives it.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    Editor& editor() const { return *window->editor(); }
    CodeView& pane() const { return *window->codeWindow()->codeView(); }
    SpriteNameBox& nameBox() const { return *editor().nameBox(); }
    QFrame& toolPopup() const { return find<QFrame>(editor(), "toolPopup"); }
    ToolImage& penButton() const { return find<ToolImage>(editor(), "penButton"); }
    ToolImage& brushButton() const { return find<ToolImage>(editor(), "brushButton"); }
    ToolImage& colourMarker() const { return find<ToolImage>(editor(), "colourMarker"); }
    QAction& action(const char* name) const { return find<QAction>(*window, name); }

    Cell colour(int cell) const { return editor().cell(cell)->colour(); }
    std::string text() const { return pane().text(); }
    QString shown() const { return pane().document()->toPlainText(); }
    Tool tool() const { return editor().document().tool(); }

    // Press and release on a cell; `at` in pixels within it (null: centre).
    void press(int cell, Qt::MouseButton button = Qt::LeftButton, QPoint at = {})
    {
        QTest::mouseClick(editor().cell(cell), button, {}, at);
    }
    void pickColour(int index) { QTest::mouseClick(editor().paletteCell(index), Qt::LeftButton); }
    // Opens the pop-up with a right press on cell 0, then clicks `image`.
    void chooseTool(ToolImage& image);
    // Moves the pointer onto `widget` with no button held: the platform
    // reports the move to whatever lies under it, as for a real pointer.
    void hover(QWidget& widget, QPoint at = {}) { QTest::mouseMove(&widget, at); }
    // Selects the name box's text and types `name` over it, key by key.
    void typeName(const QString& name);
    // Opens the name list and clicks its item `row`.
    void chooseName(int row);
    // Types the name, picks the colour and presses each cell.
    void draw(const QString& name, int colourIndex, std::initializer_list<int> cells);

    std::unique_ptr<TestWindow> window;

private:
    // The child of that type and name. A missing one is thrown as an
    // exception, which fails the test that needs it instead of crashing the run.
    template <typename T>
    static T& find(const QObject& parent, const char* name)
    {
        auto* found = parent.findChild<T*>(QString::fromLatin1(name));
        if (!found)
            throw std::runtime_error(std::string("no child named ") + name);
        return *found;
    }
};

} // namespace bitloom::test
