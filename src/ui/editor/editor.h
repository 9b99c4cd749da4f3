#pragma once

#include "codegen/codepane.h"
#include "codegen/generate.h"
#include "model/editormodel.h"

#include <QWidget>

#include <array>

class QFrame;
class QLabel;

namespace bitloom {

class CellWidget;
class SpriteNameBox;
class ToolImage;

// The sprite editor window "Graph Editor": the grid, the palette with its
// marker, the name box and the tool pop-up. It builds its controls from the
// twip layout, shows the state of its EditorModel and forwards every user
// event to it.
class Editor : public QWidget {
    Q_OBJECT
public:
    Editor(CodePane& pane, QWidget* parent = nullptr);

    // Rewrites the current sprite's code and stores the grid; a refusal
    // (full table, broken declaration) is shown to the user.
    GenerateResult generate();
    // "Clear Tile": whiten the grid, then regenerate.
    void clearTile();

    EditorModel& model() { return mModel; }
    const EditorModel& model() const { return mModel; }
    SpriteNameBox* nameBox() const { return mSprName; }
    CellWidget* pixel(int index) const { return mPixels[std::size_t(index)]; }
    CellWidget* renk(int index) const { return mRenk[std::size_t(index)]; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void connectControls();
    void showModel();
    void pointerMovedOverGrid(QPoint editorPos);
    void showRefusal(GenerateResult result);

    CodePane& mPane;
    EditorModel mModel;
    std::array<CellWidget*, 64> mPixels{};
    std::array<CellWidget*, 4> mRenk{};
    ToolImage* mOk = nullptr;
    QLabel* mLabel1 = nullptr;
    SpriteNameBox* mSprName = nullptr;
    QFrame* mTools = nullptr;
    ToolImage* mKalem = nullptr;
    ToolImage* mBoya = nullptr;
};

} // namespace bitloom
