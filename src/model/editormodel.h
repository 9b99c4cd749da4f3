#pragma once

#include "colour.h"
#include "grid.h"
#include "module1.h"
#include "namebox.h"

#include <functional>

namespace bitloom {

enum class MouseButton : Code { Left = 1, Right = 2, Middle = 4 };

// Border of a tool image: none, or the single-line highlight.
enum class Border : Code { None = 0, Single = 1 };

// The editor's state and its responses to the user: the grid, the palette,
// the selected colour and tool, the tool pop-up, the tool highlights and the
// colour marker. The window mirrors this state and forwards its events here.
// Positions are twips in the editor's client area.
class EditorModel {
public:
    EditorModel();

    // Runs the code regeneration (set by the owner, who knows the code pane).
    void setGenerate(std::function<void()> generate) { mGenerate = std::move(generate); }
    // Called after every change of state that the window shows.
    void setChanged(std::function<void()> changed) { mChanged = std::move(changed); }

    // Editing interactions.
    void resetTools();
    void selectColour(int index);
    void choosePen();
    void chooseBrush();
    void hoverPen();
    void hoverBrush();
    void press(int index, MouseButton button, float x, float y);
    void moveOver(int index);

    // Whitens all 64 cells, then regenerates. Does not look at the pop-up.
    void clearTile();

    // The two recalls of the name box.
    void recallTyped(const NameBox& names);
    void recallChosen(const NameBox& names);

    const Grid& grid() const { return mGrid; }
    // For the document, which puts whole drawings back (undo, open, import).
    Grid& mutableGrid() { return mGrid; }
    const Palette& palette() const { return mPalette; }
    Module1& module() { return mModule; }
    const Module1& module() const { return mModule; }

    bool toolPopupVisible() const { return mToolPopupVisible; }
    float toolPopupLeft() const { return mToolPopupLeft; }
    float toolPopupTop() const { return mToolPopupTop; }
    Border penBorder() const { return mPenBorder; }
    Border brushBorder() const { return mBrushBorder; }
    Code markerTop() const { return mMarkerTop; }

private:
    void paint(int index);
    void changed();

    Grid mGrid = initialGrid();
    Palette mPalette = kPalette;
    Module1 mModule;
    bool mToolPopupVisible = false;
    float mToolPopupLeft;
    float mToolPopupTop;
    Border mPenBorder = Border::None;
    Border mBrushBorder = Border::None;
    Code mMarkerTop;
    std::function<void()> mGenerate;
    std::function<void()> mChanged;
};

} // namespace bitloom
