#pragma once

#include "colour.h"
#include "grid.h"
#include "spritetable.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace bitloom {

// What an undoable step can change, as the document holds it, but for the
// sprite table: an action names the few entries it may change instead (see
// TouchedEntries), so that no step copies or compares the whole table.
struct DocumentState {
    Grid grid;
    std::string name;
    std::vector<std::string> names;
    std::string code;
    bool brushPending; // cells painted by the brush since the last regeneration
};

// Entries an action may change, each with its value before the action.
using TouchedEntries = std::vector<std::pair<int, SpriteEntry>>;

// The whole state, by reference into the document.
struct DocumentStateRef {
    Grid& grid;
    std::string& name;
    std::vector<std::string>& names;
    SpriteTable& table;
    std::string& code;
    bool& brushPending;

    DocumentState copy() const { return {grid, name, names, code, brushPending}; }
};

// What a step was, for the Undo and Redo captions.
enum class StepKind : std::uint8_t { Paint, UpdateCode, Brush, ClearTile, RemoveTile, Import };

// "Paint", "Brush", "Clear Tile", ...
std::string_view stepName(StepKind kind);

// One undoable step: only what it changed, both ways. A press on a sheet of
// 101 sprites keeps about half a kilobyte: two packed grids, one table
// entry and the few characters of code that changed.
class Step {
public:
    Step(StepKind kind, const DocumentState& before, const TouchedEntries& touched, const DocumentStateRef& after);

    StepKind kind() const { return mKind; }
    bool changesTable() const { return !mEntries.empty(); }
    void undo(const DocumentStateRef& state) const;
    void redo(const DocumentStateRef& state) const;

private:
    // One byte a cell: the palette code, or kUnpainted.
    using PackedGrid = std::array<std::uint8_t, kCellCount>;
    using PackedCodes = std::array<std::uint8_t, kCellCount>;
    struct EntryChange {
        int index;
        std::string nameBefore, nameAfter;
        PackedCodes codesBefore, codesAfter;
    };
    // The text between a common prefix and a common suffix, before and after.
    struct TextChange {
        std::size_t at = 0;
        std::string before, after;
    };
    // Changes of the list: rare, so kept out of line.
    struct ListChange {
        std::vector<std::string> before, after;
    };

    void apply(const DocumentStateRef& state, bool forward) const;

    StepKind mKind;
    bool mBrushBefore, mBrushAfter;
    PackedGrid mGridBefore, mGridAfter;
    // The name is always put back: it may have been typed since.
    std::string mNameBefore, mNameAfter;
    TextChange mCode;
    std::vector<EntryChange> mEntries;
    std::unique_ptr<ListChange> mList;
};

// The steps done and undone, with the position the file was saved at.
class History {
public:
    // Oldest steps are dropped beyond this many.
    static constexpr std::size_t kLimit = 10000;

    void push(Step step);
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

private:
    std::deque<Step> mSteps;
    std::size_t mPosition = 0;   // steps done; those after it are undone
    std::ptrdiff_t mSavedAt = 0; // -1: the saved state can no longer be reached
};

} // namespace bitloom
