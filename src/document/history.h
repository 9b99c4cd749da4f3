#pragma once

#include "codegen/textedit.h"
#include "model/grid.h"
#include "model/spritetable.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace bitloom {

// What a step puts back besides the sprite table and the code text: an
// action names the few entries it may change (see TouchedEntries) and the
// text edits it made, so that no step copies or compares the whole table or
// the whole text.
struct StepState {
    Grid grid;
    std::string name;
    std::vector<std::string> names;
    bool brushPending; // cells painted by the brush since the last regeneration
};

// Entries an action may change, each with its value before the action.
using TouchedEntries = std::vector<std::pair<int, SpriteEntry>>;

// The whole state a step changes, by reference into the document.
struct DocumentStateRef {
    Grid& grid;
    std::string& name;
    std::vector<std::string>& names;
    SpriteTable& table;
    std::string& code;
    bool& brushPending;

    StepState copy() const { return {grid, name, names, brushPending}; }
};

// What a step was; the window names it in the Undo and Redo captions.
enum class StepKind : std::uint8_t {
    Paint,
    UpdateCode,
    Brush,
    ClearTile,
    RemoveTile,
    Import,
    Rename,
    Duplicate,
    FlipHorizontally,
    FlipVertically,
    RotateClockwise,
    RotateAnticlockwise,
    ShiftUp,
    ShiftDown,
    ShiftLeft,
    ShiftRight,
    InvertShades,
    Paste,
};

// The text edits of an action, both ways: `forward` as they were made, in
// order, and `backward` the edits that take them back, in order.
struct EditRecord {
    std::vector<TextEdit> forward;
    std::vector<TextEdit> backward;
};

// One undoable step: only what it changed, both ways. A press on a sheet of
// 101 sprites keeps a few hundred bytes: two packed grids, one table entry
// and the few characters of code that changed.
class Step {
public:
    Step(StepKind kind, const StepState& before, const TouchedEntries& touched, const DocumentStateRef& after,
         EditRecord edits);

    StepKind kind() const { return mKind; }
    // The table entries the step changes.
    std::vector<int> entryIndices() const;
    // Each returns the text edits it applied, in order.
    const std::vector<TextEdit>& undo(const DocumentStateRef& state) const;
    const std::vector<TextEdit>& redo(const DocumentStateRef& state) const;

private:
    struct EntryChange {
        int index;
        std::string nameBefore, nameAfter;
        Shades shadesBefore, shadesAfter;
    };
    // Changes of the list: rare, so kept out of line.
    struct ListChange {
        std::vector<std::string> before, after;
    };

    const std::vector<TextEdit>& apply(const DocumentStateRef& state, bool forward) const;

    StepKind mKind;
    bool mBrushBefore, mBrushAfter;
    Grid mGridBefore, mGridAfter;
    // The name is always put back: it may have been typed since.
    std::string mNameBefore, mNameAfter;
    EditRecord mEdits;
    std::vector<EntryChange> mEntries;
    std::unique_ptr<ListChange> mList;
};

// The steps done and undone, with the position the file was saved at.
class History {
public:
    // Oldest steps are dropped beyond this many.
    static constexpr std::size_t kLimit = 10000;

    void push(Step step);
    // Puts `step` in place of the last step done, which it must extend.
    void replaceLast(Step step) { mSteps[mPosition - 1] = std::move(step); }
    void clear();
    bool canUndo() const { return mPosition > 0; }
    bool canRedo() const { return mPosition < mSteps.size(); }
    const Step& nextUndo() const { return mSteps[mPosition - 1]; }
    const Step& nextRedo() const { return mSteps[mPosition]; }
    void stepBack() { --mPosition; }
    void stepForward() { ++mPosition; }

    // The document matches its file only at the position it was saved at.
    void markSaved() { mSavedAt = static_cast<std::ptrdiff_t>(mPosition); }
    bool modified() const { return mSavedAt != static_cast<std::ptrdiff_t>(mPosition); }
    std::size_t size() const { return mSteps.size(); }
    std::size_t position() const { return mPosition; }

private:
    std::deque<Step> mSteps;
    std::size_t mPosition = 0;   // steps done; those after it are undone
    std::ptrdiff_t mSavedAt = 0; // -1: the saved state can no longer be reached
};

} // namespace bitloom
