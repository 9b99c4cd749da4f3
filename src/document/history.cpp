#include "history.h"

#include <algorithm>

namespace bitloom {

namespace {

constexpr std::uint8_t kUnpainted = 4;

template <typename Packed>
Packed packGrid(const Grid& grid)
{
    Packed packed{};
    for (std::size_t k = 0; k < packed.size(); ++k)
        packed[k] = static_cast<std::uint8_t>(shadeOf(kPalette, grid[k]).value_or(kUnpainted));
    return packed;
}

template <typename Packed>
Grid unpackGrid(const Packed& packed)
{
    Grid grid{};
    for (std::size_t k = 0; k < packed.size(); ++k)
        grid[k] = packed[k] == kUnpainted ? kInitialCellColour : kPalette[packed[k]];
    return grid;
}

template <typename Packed>
Packed packShades(const Shades& shades)
{
    Packed packed{};
    std::transform(shades.begin(), shades.end(), packed.begin(),
                   [](Shade shade) { return static_cast<std::uint8_t>(shade); });
    return packed;
}

template <typename Packed>
void unpackShades(const Packed& packed, Shades& shades)
{
    std::transform(packed.begin(), packed.end(), shades.begin(),
                   [](std::uint8_t shade) { return static_cast<Shade>(shade); });
}

} // namespace

Step::Step(StepKind kind, const StepState& before, const TouchedEntries& touched,
           const DocumentStateRef& after, EditRecord edits)
    : mKind(kind),
      mBrushBefore(before.brushPending),
      mBrushAfter(after.brushPending),
      mGridBefore(packGrid<PackedGrid>(before.grid)),
      mGridAfter(packGrid<PackedGrid>(after.grid)),
      mNameBefore(before.name),
      mNameAfter(after.name),
      mEdits(std::move(edits))
{
    mEdits.forward.shrink_to_fit();
    mEdits.backward.shrink_to_fit();
    for (const auto& [index, was] : touched) {
        const SpriteEntry& is = after.table[static_cast<std::size_t>(index)];
        if (was.name != is.name || was.shades != is.shades)
            mEntries.push_back({index, was.name, is.name, packShades<PackedShades>(was.shades),
                                packShades<PackedShades>(is.shades)});
    }
    mEntries.shrink_to_fit();

    if (before.names != after.names)
        mList = std::make_unique<ListChange>(ListChange{before.names, after.names});
}

std::vector<int> Step::entryIndices() const
{
    std::vector<int> indices;
    for (const EntryChange& change : mEntries)
        indices.push_back(change.index);
    return indices;
}

const std::vector<TextEdit>& Step::undo(const DocumentStateRef& state) const
{
    return apply(state, false);
}

const std::vector<TextEdit>& Step::redo(const DocumentStateRef& state) const
{
    return apply(state, true);
}

const std::vector<TextEdit>& Step::apply(const DocumentStateRef& state, bool forward) const
{
    state.grid = unpackGrid(forward ? mGridAfter : mGridBefore);
    state.brushPending = forward ? mBrushAfter : mBrushBefore;
    const std::vector<TextEdit>& edits = forward ? mEdits.forward : mEdits.backward;
    for (const TextEdit& edit : edits)
        applyEdit(state.code, edit);
    for (const EntryChange& change : mEntries) {
        SpriteEntry& entry = state.table[static_cast<std::size_t>(change.index)];
        entry.name = forward ? change.nameAfter : change.nameBefore;
        unpackShades(forward ? change.shadesAfter : change.shadesBefore, entry.shades);
    }
    state.name = forward ? mNameAfter : mNameBefore;
    if (mList)
        state.names = forward ? mList->after : mList->before;
    return edits;
}

void History::push(Step step)
{
    // A new step discards what was undone; a save among it is out of reach.
    if (mSavedAt > static_cast<std::ptrdiff_t>(mPosition))
        mSavedAt = -1;
    mSteps.erase(mSteps.begin() + static_cast<std::ptrdiff_t>(mPosition), mSteps.end());
    mSteps.push_back(std::move(step));
    ++mPosition;
    if (mSteps.size() > kLimit) {
        mSteps.pop_front();
        --mPosition;
        if (mSavedAt >= 0)
            --mSavedAt;
    }
}

void History::clear()
{
    mSteps.clear();
    mPosition = 0;
    mSavedAt = 0;
}

} // namespace bitloom
